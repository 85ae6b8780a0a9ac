#pragma once

#include <cstdint>
#include <span>

namespace pictor::text {

/// What keeps a font file from being drawn.
enum class FontFault {
    None,
    NotAFont,             // no TrueType or OpenType header
    UnsupportedOutlines,  // CFF (PostScript) outlines: only TrueType outlines are drawn
    NoCharacterMap,       // no Unicode character map this program reads
    Damaged,              // a table the renderer reads is cut short or inconsistent
};

/// The outcome of CheckFont.
struct FontCheck {
    FontFault fault = FontFault::Damaged;
    std::uint32_t fontStart = 0;  // offset of the font in the file (a collection's first font)
    bool kernUsable = false;      // the 'kern' table is present and whole
    int glyphCount = 0;
};

/// Largest number of outline points one glyph may have, its components included.
inline constexpr int kMaxGlyphPoints = 16384;

/// Checks a font file's bytes before the TrueType reader sees them, since that
/// reader trusts every offset and count it reads. Accepts a TrueType font (or the
/// first font of a collection) with TrueType outlines and checks everything the
/// renderer reads: the table directory; 'head', 'hhea' (with an ascent above and a
/// descent below the baseline), 'maxp', 'hmtx', 'loca' and
/// every glyph in 'glyf' (each one's points, flags and coordinates, with contours
/// in increasing order and none of a single off-curve point; composite
/// glyphs' components, which must point at existing glyphs without cycles, no
/// deeper than 8 levels and at most kMaxGlyphPoints points in all, with
/// coordinates that stay within 16 bits once transformed); the Unicode
/// character map the reader would pick (formats 0, 4, 6, 12 and 13, including
/// where a format-4 binary search and its glyph index array can reach); and the
/// 'kern' table, which is only used when whole. Never reads outside `font`.
/// Thread-safe.
FontCheck CheckFont(std::span<const std::uint8_t> font);

}  // namespace pictor::text
