#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/text/text_picture.h"

namespace pictor::text {

/// One picture of a glyph set: a text of one character and its name.
struct GlyphPicture {
    std::string name;
    TextPicture text;
};

/// A glyph set: one text per distinct character of `characters` (UTF-8, in order;
/// line breaks are skipped), each drawn in `style` and named `<prefix>_<code
/// point>` with the code point in lower-case hexadecimal, at least two digits
/// ("digit_30" for "0"). Drawn one character per line of the same font and size,
/// they share their height and baseline. Empty when `characters` is not UTF-8.
std::vector<GlyphPicture> MakeGlyphSet(const TextPicture& style, std::string_view characters,
                                       const std::string& prefix);

}  // namespace pictor::text
