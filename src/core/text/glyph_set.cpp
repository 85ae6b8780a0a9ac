#include "core/text/glyph_set.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "core/common/utf8.h"

namespace pictor::text {

std::vector<GlyphPicture> MakeGlyphSet(const TextPicture& style, std::string_view characters,
                                       const std::string& prefix) {
    std::vector<GlyphPicture> set;
    const std::optional<std::u32string> decoded = DecodeUtf8(characters);
    if (!decoded) {
        return set;
    }
    std::u32string seen;
    for (const char32_t character : *decoded) {
        if (character == U'\n' || character == U'\r' ||
            seen.find(character) != std::u32string::npos) {
            continue;
        }
        seen.push_back(character);
        char code[16];
        std::snprintf(code, sizeof code, "%02x", static_cast<unsigned>(character));
        GlyphPicture glyph{prefix + "_" + code, style};
        glyph.text.text.clear();
        AppendUtf8(glyph.text.text, character);
        set.push_back(std::move(glyph));
    }
    return set;
}

}  // namespace pictor::text
