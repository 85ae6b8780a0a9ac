#include "core/text/text_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "core/common/regular_file.h"
#include "core/text/glyph_set.h"

namespace pictor::text {
namespace {

const std::filesystem::path kFont = PICTOR_EXAMPLES_DIR "/fonts/DejaVuSans-subset.ttf";

TextPicture Text(std::string text, int size) {
    TextPicture picture;
    picture.text = std::move(text);
    picture.font = kFont;
    picture.size = size;
    picture.color = 0xFFFFFF;
    picture.background = 0x000000;
    return picture;
}

// FNV-1a over the pixels: a fingerprint of a whole picture.
std::uint64_t Fingerprint(const workspace::PixelImage& image) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const std::uint32_t pixel : image.pixels) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ ((pixel >> shift) & 0xFFu)) * 1099511628211ULL;
        }
    }
    return hash;
}

// The first and last row holding any pixel other than the background (black).
std::pair<int, int> InkRows(const workspace::PixelImage& image) {
    int first = image.height;
    int last = -1;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if ((image.At(x, y) & 0xFFFFFFu) != 0) {
                first = std::min(first, y);
                last = y;
            }
        }
    }
    return {first, last};
}

TEST(TextRenderer, TheShippedFontGivesTheSamePixelsAtTwoSizes) {
    // A line is `size` pixels high: the font's ascent (1901 units) plus descent
    // (483) scaled to it, the baseline at 1901 / 2384 of it, rounded: 9.6 -> 10 at
    // 12 pixels, 25.5 -> 26 at 32. The width is the advances, 12381 units
    // (P 1235, i 569, c 1126, t 803, o 1253, r 842, space 651, : 690, four digits
    // of 1303) less 45 for the kerning pair P i, scaled and rounded: 62.1 -> 62
    // and 165.6 -> 166.
    struct Case {
        int size;
        int width;
        std::uint64_t fingerprint;  // recorded; any change in the drawn pixels shows here
    };
    for (const Case& c :
         {Case{12, 62, 11125349971728947760ULL}, Case{32, 166, 2888935746762429835ULL}}) {
        const RenderedText first = RenderText(Text("Pictor 12:34", c.size));
        ASSERT_TRUE(first.ok);
        EXPECT_EQ(first.image.height, c.size);
        EXPECT_EQ(first.baseline, c.size == 12 ? 10 : 26);
        EXPECT_FALSE(first.image.hasAlpha);
        EXPECT_TRUE(first.missing.empty());
        const RenderedText second = RenderText(Text("Pictor 12:34", c.size));
        EXPECT_EQ(second.image.pixels, first.image.pixels);
        EXPECT_EQ(first.image.width, c.width) << c.size;
        EXPECT_EQ(Fingerprint(first.image), c.fingerprint) << c.size;
    }
}

TEST(TextRenderer, PairsAreKernedByTheFontsKerningTable) {
    // P 1235 - 45 + i 569 = 1759 units at 512 / 2384 pixels a unit: 377.8; without
    // the pair 1804 units, 387.4.
    const RenderedText kerned = RenderText(Text("Pi", 512));
    ASSERT_TRUE(kerned.ok);
    EXPECT_EQ(kerned.image.width, 378);
}

TEST(TextRenderer, LinesStackAndAlign) {
    TextPicture text = Text("i\niiii", 20);
    const RenderedText left = RenderText(text);
    ASSERT_TRUE(left.ok);
    EXPECT_EQ(left.image.height, 40);  // the font has no line gap
    text.align = TextAlign::Right;
    const RenderedText right = RenderText(text);
    ASSERT_TRUE(right.ok);
    EXPECT_EQ(right.image.width, left.image.width);
    // The short line starts at the left edge in one and ends at the right edge in
    // the other: its ink shows up in the leftmost or the rightmost columns.
    const auto inkInColumns = [](const workspace::PixelImage& image, int from, int to) {
        for (int y = 0; y < 20; ++y) {
            for (int x = from; x < to; ++x) {
                if ((image.At(x, y) & 0xFFFFFFu) != 0) {
                    return true;
                }
            }
        }
        return false;
    };
    const int w = left.image.width;
    EXPECT_TRUE(inkInColumns(left.image, 0, w / 2));
    EXPECT_FALSE(inkInColumns(left.image, w / 2, w));
    EXPECT_FALSE(inkInColumns(right.image, 0, w / 2));
    EXPECT_TRUE(inkInColumns(right.image, w / 2, w));
}

TEST(TextRenderer, WithoutAntialiasingOnlyTheTwoColoursAppear) {
    TextPicture text = Text("Ag@", 17);
    text.color = 0x204060;
    text.background = 0xF0E0D0;
    text.antialias = false;
    const RenderedText crisp = RenderText(text);
    ASSERT_TRUE(crisp.ok);
    const std::set<std::uint32_t> colours(crisp.image.pixels.begin(), crisp.image.pixels.end());
    EXPECT_EQ(colours, (std::set<std::uint32_t>{0xFF204060u, 0xFFF0E0D0u}));
    text.antialias = true;
    const RenderedText smooth = RenderText(text);
    EXPECT_GT(
        std::set<std::uint32_t>(smooth.image.pixels.begin(), smooth.image.pixels.end()).size(), 2U);
}

TEST(TextRenderer, ATransparentBackgroundCarriesTheCoverageAsAlpha) {
    TextPicture text = Text("o", 24);
    text.color = 0x123456;
    text.background.reset();
    const RenderedText rendered = RenderText(text);
    ASSERT_TRUE(rendered.ok);
    EXPECT_TRUE(rendered.image.hasAlpha);
    bool opaque = false;
    bool clear = false;
    for (const std::uint32_t pixel : rendered.image.pixels) {
        EXPECT_EQ(pixel & 0xFFFFFFu, 0x123456u);
        opaque = opaque || (pixel >> 24) == 255;
        clear = clear || (pixel >> 24) == 0;
    }
    EXPECT_TRUE(opaque);
    EXPECT_TRUE(clear);
}

TEST(TextRenderer, RefusesEmptyTextAMissingFontAndBadInput) {
    for (const char* empty : {"", "\n", "\r\n\n"}) {
        const RenderedText rendered = RenderText(Text(empty, 16));
        EXPECT_FALSE(rendered.ok);
        EXPECT_EQ(rendered.error.text, "the text is empty");
    }
    TextPicture missing = Text("x", 16);
    missing.font = kFont.parent_path() / "no-such-font.ttf";
    const RenderedText noFont = RenderText(missing);
    EXPECT_FALSE(noFont.ok);
    EXPECT_EQ(noFont.error.text, Utf8FromPath(missing.font) + ": no such font file");
    TextPicture notAFont = Text("x", 16);
    notAFont.font = PICTOR_EXAMPLES_DIR "/Pictor.ini";
    EXPECT_EQ(RenderText(notAFont).error.pattern, "%1: not a TrueType or OpenType font");
    EXPECT_EQ(RenderText(Text("bad \xC3", 16)).error.text, "the text is not UTF-8");
    EXPECT_FALSE(RenderText(Text("x", 0)).ok);
    EXPECT_FALSE(RenderText(Text("x", kMaxTextSize + 1)).ok);
    // 300 wide glyphs at 1024 pixels cannot fit 8192 pixels.
    EXPECT_FALSE(RenderText(Text(std::string(300, 'W'), 1024)).ok);
}

TEST(TextRenderer, CharactersTheFontLacksAreReportedAndDrawnAsItsBox) {
    const RenderedText rendered =
        RenderText(Text("A\xE4\xB8\xAD"
                        "B\xE4\xB8\xAD",
                        16));  // A中B中
    ASSERT_TRUE(rendered.ok);
    EXPECT_EQ(rendered.missing, (std::vector<char32_t>{U'\u4E2D'}));
    const Message message = MissingGlyphsMessage(Text("A中B", 16), rendered.missing);
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_NE(message.text.find(Utf8FromPath(kFont)), std::string::npos);
    EXPECT_NE(message.text.find("U+4E2D"), std::string::npos);
    // The box is drawn: the text is wider than "AB" alone.
    EXPECT_GT(rendered.image.width, RenderText(Text("AB", 16)).image.width);
}

TEST(GlyphSet, OnePicturePerCharacterWithCommonHeightAndBaseline) {
    TextPicture style = Text("", 24);
    style.antialias = false;  // round digits dip below the baseline by less than half a pixel
    const std::vector<GlyphPicture> set = MakeGlyphSet(style, "0123456789:.-0", "digit");
    ASSERT_EQ(set.size(), 13U);  // the repeated 0 once
    EXPECT_EQ(set[0].name, "digit_30");
    EXPECT_EQ(set[10].name, "digit_3a");
    EXPECT_EQ(set[12].name, "digit_2d");
    std::set<int> bottoms;
    for (const GlyphPicture& glyph : set) {
        const RenderedText rendered = RenderText(glyph.text);
        ASSERT_TRUE(rendered.ok) << glyph.name;
        EXPECT_EQ(rendered.image.height, 24) << glyph.name;
        EXPECT_EQ(rendered.baseline, 19);  // 24 x 1901 / 2384 = 19.1
        if (glyph.name != "digit_2d") {
            bottoms.insert(InkRows(rendered.image).second);
        }
    }
    // Digits, colon and full stop all stand on the baseline: one bottom row.
    EXPECT_EQ(bottoms, (std::set<int>{18}));  // the row just above the baseline
}

}  // namespace
}  // namespace pictor::text
