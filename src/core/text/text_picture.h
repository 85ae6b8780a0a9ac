#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace pictor::text {

/// How the lines of a text sit against each other.
enum class TextAlign { Left, Center, Right };

/// Smallest and largest text size, in pixels.
inline constexpr int kMinTextSize = 1;
inline constexpr int kMaxTextSize = 1024;

/// A picture made from text: what the renderer needs, all of it stored in the
/// project. A value type.
struct TextPicture {
    std::string text;            // UTF-8; "\n" separates lines
    std::filesystem::path font;  // a TrueType or OpenType font file
    int size = 16;               // pixel height of a line, from the font's ascent to its descent
    std::uint32_t color = 0x000000;           // 0xRRGGBB
    std::optional<std::uint32_t> background;  // 0xRRGGBB; nothing: transparent
    TextAlign align = TextAlign::Left;
    bool antialias = true;  // off: every pixel fully foreground or background

    friend bool operator==(const TextPicture&, const TextPicture&) = default;
};

}  // namespace pictor::text
