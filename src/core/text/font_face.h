#pragma once

// The TrueType reader's view of a checked font; only the text renderer's own
// files include this.

#include <stb_truetype.h>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pictor::text {

struct FontFace {
    std::vector<std::uint8_t> bytes;  // the whole file; `info` points into it
    std::filesystem::path path;
    stbtt_fontinfo info{};
    int glyphCount = 0;
    int ascent = 0;   // font units above the baseline
    int descent = 0;  // font units below it (negative)
    int lineGap = 0;

    /// The glyph of a code point; 0 (the missing-glyph box) when the font has none.
    [[nodiscard]] int GlyphOf(char32_t character) const;
};

}  // namespace pictor::text
