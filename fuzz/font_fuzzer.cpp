// A font file as a text item loads it: the checks before the TrueType reader, then
// drawing texts with the font. The first two bytes choose the size (1..64 pixels)
// and the options (anti-aliasing, alignment, background); the rest is the font
// file. Asserts that a font the checks refuse is never drawn, that checking is
// repeatable, and that every text drawn with an accepted font is a picture within
// the size limits with one pixel per place, `size` pixels per line, and only the
// two colours without anti-aliasing. A read outside the file, a hang or a crash in
// the reader shows as a sanitizer report or a time-out.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "core/text/font_check.h"
#include "core/text/text_renderer.h"
#include "core/workspace/picture_loader.h"
#include "fuzz_support.h"

namespace {

using pictor::fuzz::Require;
using namespace pictor::text;

constexpr std::uint32_t kColour = 0x204060;
constexpr std::uint32_t kBackground = 0xF0E0D0;

void DrawAll(const Font& font, std::uint8_t sizeByte, std::uint8_t options) {
    // Letters with descenders and accents (composite glyphs), digits, a character
    // most small fonts lack, a second line and a kerning pair.
    static const char* const kTexts[] = {"Hg@W 0123456789", "\xC3\x80\xC3\xA9\xC3\xB1 AV To",
                                         "\xE4\xB8\xAD", "ab\ncd e", "~"};
    TextPicture text;
    text.font = font.Path();
    text.size = 1 + sizeByte % 64;
    text.color = kColour;
    text.antialias = (options & 1) != 0;
    text.align = static_cast<TextAlign>((options >> 1) % 3);
    if ((options & 8) == 0) {
        text.background = kBackground;
    }
    for (const char* content : kTexts) {
        text.text = content;
        const RenderedText rendered = RenderText(text, font);
        if (!rendered.ok) {
            // Only a glyph or text too large for a picture, or glyphs without ink or
            // advance, stop a text the checks let through.
            const std::string& why = rendered.error.pattern;
            if (why.find("too large") == std::string::npos &&
                why.find("would be") == std::string::npos &&
                why.find("draws nothing") == std::string::npos) {
                std::fprintf(stderr, "refused: %s\n", rendered.error.text.c_str());
                Require(false, "an accepted font draws every text");
            }
            continue;
        }
        const pictor::workspace::PixelImage& image = rendered.image;
        Require(image.width >= 1 && image.width <= pictor::workspace::kMaxPictureSide &&
                    image.height >= text.size && image.height <= pictor::workspace::kMaxPictureSide,
                "the picture is within the size limits");
        Require(image.pixels.size() ==
                    static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height),
                "one pixel per place");
        const auto lines =
            static_cast<int>(std::count(text.text.begin(), text.text.end(), '\n')) + 1;
        Require(lines > 1 || image.height == text.size, "a line is `size` pixels high");
        Require(rendered.baseline >= 0 && rendered.baseline <= text.size,
                "the baseline is in the line");
        if (!text.antialias && text.background) {
            for (const std::uint32_t pixel : image.pixels) {
                Require(pixel == (0xFF000000u | kColour) || pixel == (0xFF000000u | kBackground),
                        "only the two colours without anti-aliasing");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::span<const std::uint8_t> bytes(data + 2, size - 2);
    const FontCheck check = CheckFont(bytes);
    Require(CheckFont(bytes).fault == check.fault, "checking is repeatable");
    FontFault fault = FontFault::None;
    const std::optional<Font> font =
        Font::FromBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), "fuzz.ttf", &fault);
    Require(font.has_value() == (fault == FontFault::None), "a font loads exactly when it passes");
    Require(!font || check.fault == FontFault::None, "a refused font is never drawn");
    if (font) {
        DrawAll(*font, data[0], data[1]);
    }
    return 0;
}
