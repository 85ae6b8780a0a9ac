#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pictor {

/// Decodes UTF-8; nothing for invalid input (overlong forms, surrogates, values
/// past U+10FFFF, cut sequences).
std::optional<std::u32string> DecodeUtf8(std::string_view text);

/// Appends one code point (up to U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t character);

}  // namespace pictor
