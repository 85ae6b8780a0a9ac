#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/text_picture.h"

namespace pictor::text {

// The text forms of a text item's values, as the project file writes them.
// Parsers take the value without surrounding blanks.

/// "#RRGGBB" (hexadecimal digits in either case) to 0xRRGGBB.
std::optional<std::uint32_t> ParseColor(std::string_view text);
/// 0xRRGGBB as "#RRGGBB" (upper-case digits).
std::string ColorText(std::uint32_t color);

/// "left", "center" (or "centre") or "right".
std::optional<TextAlign> ParseAlign(std::string_view text);
std::string AlignText(TextAlign align);

/// A whole number of pixels from kMinTextSize to kMaxTextSize.
std::optional<int> ParseTextSize(std::string_view text);

}  // namespace pictor::text
