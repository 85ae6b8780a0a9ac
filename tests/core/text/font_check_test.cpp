#include "core/text/font_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

namespace pictor::text {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The shipped font, with helpers to damage it where a hostile file would.
class FontBytes {
  public:
    FontBytes() {
        std::ifstream file(PICTOR_EXAMPLES_DIR "/fonts/DejaVuSans-subset.ttf", std::ios::binary);
        bytes = Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    struct Table {
        std::size_t record = 0;  // its entry in the table directory
        std::size_t offset = 0;
        std::size_t length = 0;
    };
    [[nodiscard]] std::optional<Table> Find(std::string_view tag) const {
        const std::size_t count = U16(4);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t record = 12 + 16 * i;
            if (std::string_view(reinterpret_cast<const char*>(&bytes[record]), 4) == tag) {
                return Table{record, U32(record + 8), U32(record + 12)};
            }
        }
        return std::nullopt;
    }
    [[nodiscard]] std::uint32_t U16(std::size_t at) const {
        return static_cast<std::uint32_t>(bytes[at] << 8 | bytes[at + 1]);
    }
    [[nodiscard]] std::uint32_t U32(std::size_t at) const { return U16(at) << 16 | U16(at + 2); }
    void Set16(std::size_t at, std::uint32_t value) {
        bytes[at] = static_cast<std::uint8_t>(value >> 8);
        bytes[at + 1] = static_cast<std::uint8_t>(value);
    }
    void Set32(std::size_t at, std::uint32_t value) {
        Set16(at, value >> 16);
        Set16(at + 2, value & 0xFFFFu);
    }
    // Offset of the first composite glyph in the file.
    [[nodiscard]] std::size_t FirstComposite() const {
        const Table loca = *Find("loca");
        const Table glyf = *Find("glyf");
        const std::size_t glyphs = U16(Find("maxp")->offset + 4);
        for (std::size_t g = 0; g < glyphs; ++g) {
            const std::size_t begin = 2 * U16(loca.offset + 2 * g);  // short offsets
            const std::size_t end = 2 * U16(loca.offset + 2 * g + 2);
            if (end > begin && static_cast<std::int16_t>(U16(glyf.offset + begin)) < 0) {
                composite = g;
                return glyf.offset + begin;
            }
        }
        return 0;
    }

    [[nodiscard]] FontCheck Check() const { return CheckFont(bytes); }

    Bytes bytes;
    mutable std::size_t composite = 0;
};

TEST(FontCheck, AcceptsTheShippedFont) {
    const FontBytes font;
    ASSERT_GT(font.bytes.size(), 10000U);
    ASSERT_EQ(font.U16(font.Find("head")->offset + 50), 0U) << "the helpers read short offsets";
    const FontCheck check = font.Check();
    EXPECT_EQ(check.fault, FontFault::None);
    EXPECT_TRUE(check.kernUsable);
    EXPECT_EQ(check.glyphCount, static_cast<int>(font.U16(font.Find("maxp")->offset + 4)));
}

TEST(FontCheck, RefusesFilesCutShortInATableTheRendererReads) {
    const FontBytes font;
    std::size_t needed = 0;  // the end of the last table drawing needs
    for (const char* tag : {"cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp"}) {
        const auto table = font.Find(tag);
        ASSERT_TRUE(table) << tag;
        needed = std::max(needed, table->offset + table->length);
    }
    const auto kern = *font.Find("kern");
    for (std::size_t length = 0; length < font.bytes.size(); length += 61) {
        const Bytes cut(font.bytes.begin(),
                        font.bytes.begin() + static_cast<std::ptrdiff_t>(length));
        const FontCheck check = CheckFont(cut);
        if (length < needed) {
            EXPECT_NE(check.fault, FontFault::None) << length;
        } else {
            // Only tables the renderer does not read (or only kerning) are cut.
            EXPECT_EQ(check.fault, FontFault::None) << length;
            EXPECT_EQ(check.kernUsable, length >= kern.offset + kern.length) << length;
        }
    }
}

TEST(FontCheck, RefusesDamagedTables) {
    struct Case {
        const char* what;
        void (*damage)(FontBytes&);
        FontFault fault;
    };
    const Case cases[] = {
        {"PostScript outlines", [](FontBytes& f) { f.Set32(0, 0x4F54544F); },  // "OTTO"
         FontFault::UnsupportedOutlines},
        {"unknown header", [](FontBytes& f) { f.Set32(0, 0x12345678); }, FontFault::NotAFont},
        {"table past the end",
         [](FontBytes& f) { f.Set32(f.Find("glyf")->record + 8, 0x7FFFFF00); }, FontFault::Damaged},
        {"glyph past its table",
         [](FontBytes& f) {
             const auto loca = *f.Find("loca");
             f.Set16(loca.offset + loca.length - 2, 0xFFFF);
         },
         FontFault::Damaged},
        {"no long metrics", [](FontBytes& f) { f.Set16(f.Find("hhea")->offset + 34, 0); },
         FontFault::Damaged},
        {"zero line height",
         [](FontBytes& f) {
             const auto hhea = f.Find("hhea")->offset;
             f.Set16(hhea + 4, 0);
             f.Set16(hhea + 6, 0);
         },
         FontFault::Damaged},
        {"unknown glyph index format",
         [](FontBytes& f) { f.Set16(f.Find("head")->offset + 50, 2); }, FontFault::Damaged},
        {"composite glyph naming itself",
         [](FontBytes& f) {
             const std::size_t at = f.FirstComposite();
             f.Set16(at + 12, static_cast<std::uint32_t>(f.composite));
         },
         FontFault::Damaged},
        {"component that does not exist",
         [](FontBytes& f) { f.Set16(f.FirstComposite() + 12, 0xFFF0); }, FontFault::Damaged},
        {"component placed by matching points",
         [](FontBytes& f) {
             const std::size_t at = f.FirstComposite();
             f.Set16(at + 10, f.U16(at + 10) & ~2u);
         },
         FontFault::Damaged},
        {"character map search past its segments",
         [](FontBytes& f) {
             const auto cmap = f.Find("cmap")->offset;
             // The last record's subtable is the one the reader takes.
             const std::size_t records = f.U16(cmap + 2);
             const std::size_t sub = cmap + f.U32(cmap + 4 + 8 * (records - 1) + 4);
             f.Set16(sub + 12, f.U16(sub + 6));  // rangeShift = 2 x segments
         },
         FontFault::Damaged},
        {"no Unicode character map",
         [](FontBytes& f) {
             const auto cmap = f.Find("cmap")->offset;
             for (std::size_t i = 0; i < f.U16(cmap + 2); ++i) {
                 f.Set16(cmap + 4 + 8 * i, 1);  // Macintosh platform only
             }
         },
         FontFault::NoCharacterMap},
    };
    for (const Case& c : cases) {
        FontBytes font;
        c.damage(font);
        EXPECT_EQ(font.Check().fault, c.fault) << c.what;
    }
}

TEST(FontCheck, ACutKerningTableIsLeftUnused) {
    FontBytes font;
    font.Set32(font.Find("kern")->record + 12, 16);
    const FontCheck check = font.Check();
    EXPECT_EQ(check.fault, FontFault::None);
    EXPECT_FALSE(check.kernUsable);
}

TEST(FontCheck, AFontCollectionUsesItsFirstFont) {
    const FontBytes font;
    // "ttcf", version 1, one font, at offset 16 (after the header); the table
    // offsets of a collection count from the start of the file.
    Bytes collection = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 16};
    FontBytes moved = font;
    for (std::size_t i = 0; i < moved.U16(4); ++i) {
        const std::size_t record = 12 + 16 * i;
        moved.Set32(record + 8, moved.U32(record + 8) + 16);
    }
    collection.insert(collection.end(), moved.bytes.begin(), moved.bytes.end());
    const FontCheck check = CheckFont(collection);
    EXPECT_EQ(check.fault, FontFault::None);
    EXPECT_EQ(check.fontStart, 16U);
}

}  // namespace
}  // namespace pictor::text
