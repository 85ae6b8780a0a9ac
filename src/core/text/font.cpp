// Loading fonts: the file is read whole, checked by CheckFont, and only then
// handed to the TrueType reader (stb_truetype, compiled here once).

#define STB_TRUETYPE_IMPLEMENTATION
#include <utility>

#include "core/common/regular_file.h"
#include "core/common/translatable.h"
#include "core/text/font_face.h"
#include "core/text/text_renderer.h"

namespace pictor::text {

namespace {

Message FontMessage(const char* pattern, const std::filesystem::path& path) {
    return PatternMessage(pattern, {Utf8FromPath(path)}, "", MessageIcon::Exclamation);
}

const char* FaultPattern(FontFault fault) {
    switch (fault) {
        case FontFault::NotAFont:
            return PICTOR_TRANSLATE_NOOP("Core", "%1: not a TrueType or OpenType font");
        case FontFault::UnsupportedOutlines:
            return PICTOR_TRANSLATE_NOOP(
                "Core", "%1: the font has PostScript (CFF) outlines; choose a TrueType font");
        case FontFault::NoCharacterMap:
            return PICTOR_TRANSLATE_NOOP("Core", "%1: the font has no Unicode character map");
        case FontFault::None:
        case FontFault::Damaged:
            break;
    }
    return PICTOR_TRANSLATE_NOOP("Core", "%1: the font file is damaged");
}

}  // namespace

int FontFace::GlyphOf(char32_t character) const {
    if (character > 0x10FFFF) {
        return 0;
    }
    const int glyph = stbtt_FindGlyphIndex(&info, static_cast<int>(character));
    // A character map may name glyphs the font does not have.
    return glyph > 0 && glyph < glyphCount ? glyph : 0;
}

std::optional<Font> Font::Load(const std::filesystem::path& path, Message* why) {
    Message ignored;
    Message& message = why != nullptr ? *why : ignored;
    OpenFailure failure = OpenFailure::None;
    const std::optional<RegularFile> file = RegularFile::Open(path, FileAccess::Read, &failure);
    if (!file) {
        message =
            FontMessage(failure == OpenFailure::NotFound
                            ? PICTOR_TRANSLATE_NOOP("Core", "%1: no such font file")
                            : PICTOR_TRANSLATE_NOOP("Core", "%1: the font file cannot be read"),
                        path);
        return std::nullopt;
    }
    if (file->Size() > kMaxFontFileBytes) {
        message = FontMessage(
            PICTOR_TRANSLATE_NOOP("Core", "%1: too large for a font file (over 64 MiB)"), path);
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> bytes = file->ReadAll(kMaxFontFileBytes);
    if (!bytes) {
        message =
            FontMessage(PICTOR_TRANSLATE_NOOP("Core", "%1: the font file cannot be read"), path);
        return std::nullopt;
    }
    FontFault fault = FontFault::None;
    return FromBytes(std::move(*bytes), path, &fault, why);
}

std::optional<Font> Font::FromBytes(std::vector<std::uint8_t> bytes,
                                    const std::filesystem::path& path, FontFault* fault,
                                    Message* why) {
    const FontCheck check = CheckFont(bytes);
    FontFault found = check.fault;
    auto face = std::make_shared<FontFace>();
    face->bytes = std::move(bytes);
    face->path = path;
    if (found == FontFault::None &&
        stbtt_InitFont(&face->info, face->bytes.data(), static_cast<int>(check.fontStart)) == 0) {
        found = FontFault::Damaged;
    }
    if (fault != nullptr) {
        *fault = found;
    }
    if (found != FontFault::None) {
        if (why != nullptr) {
            *why = FontMessage(FaultPattern(found), path);
        }
        return std::nullopt;
    }
    // Positioning from 'GPOS' is not read (its tables are not checked); a whole
    // 'kern' table gives the kerning.
    face->info.gpos = 0;
    if (!check.kernUsable) {
        face->info.kern = 0;
    }
    face->glyphCount = check.glyphCount;
    stbtt_GetFontVMetrics(&face->info, &face->ascent, &face->descent, &face->lineGap);
    return Font(std::move(face));
}

const std::filesystem::path& Font::Path() const {
    return face_->path;
}

bool Font::HasGlyph(char32_t character) const {
    return face_->GlyphOf(character) != 0;
}

}  // namespace pictor::text
