// The general bitmap decoder against Qt's reader: every header, bit depth, bit-field
// and run-length variant, and random bitmaps.

#include "core/workspace/bitmap_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/workspace/picture_loader.h"
#include "core/workspace/qt_reference.h"
#include "core/workspace/test_files.h"

namespace pictor::workspace {
namespace {

using testing::AppendLe16;
using testing::AppendLe32;
using testing::Bytes;
using testing::QtDecode;
using testing::TempDir;
using testing::WriteFile;

// A bitmap with any header size: 12 (OS/2 core, 3-byte palette entries), 40 (masks
// after it for bit fields), 108 or 124 (masks inside it).
struct Layout {
    std::uint32_t headerSize = 40;
    int width = 5;
    int height = 3;
    bool topDown = false;
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::array<std::uint32_t, 4> masks{};     // red, green, blue, alpha
    std::vector<std::uint32_t> palette;       // 0x00RRGGBB
    std::uint32_t coloursUsed = 0xFFFFFFFFU;  // default: the palette's size
    Bytes pixels;
};

Bytes Build(const Layout& layout) {
    const bool core = layout.headerSize == 12;
    const std::size_t maskBytes = layout.headerSize == 40 && layout.compression == 3 ? 12 : 0;
    const std::size_t entryBytes = core ? 3 : 4;
    const auto offset = static_cast<std::uint32_t>(14 + layout.headerSize + maskBytes +
                                                   layout.palette.size() * entryBytes);
    Bytes out{'B', 'M'};
    AppendLe32(out, offset + static_cast<std::uint32_t>(layout.pixels.size()));
    AppendLe32(out, 0);
    AppendLe32(out, offset);
    AppendLe32(out, layout.headerSize);
    if (core) {
        AppendLe16(out, static_cast<std::uint32_t>(layout.width));
        AppendLe16(out, static_cast<std::uint32_t>(layout.height));
        AppendLe16(out, 1);
        AppendLe16(out, static_cast<std::uint32_t>(layout.bitCount));
    } else {
        AppendLe32(out, static_cast<std::uint32_t>(layout.width));
        AppendLe32(out,
                   static_cast<std::uint32_t>(layout.topDown ? -layout.height : layout.height));
        AppendLe16(out, 1);
        AppendLe16(out, static_cast<std::uint32_t>(layout.bitCount));
        AppendLe32(out, layout.compression);
        AppendLe32(out, static_cast<std::uint32_t>(layout.pixels.size()));
        AppendLe32(out, 2835);
        AppendLe32(out, 2835);
        AppendLe32(out, layout.coloursUsed == 0xFFFFFFFFU
                            ? static_cast<std::uint32_t>(layout.palette.size())
                            : layout.coloursUsed);
        AppendLe32(out, 0);
        if (layout.headerSize > 40) {
            for (const std::uint32_t mask : layout.masks) {
                AppendLe32(out, mask);
            }
            out.resize(14 + layout.headerSize, 0);
        } else if (maskBytes != 0) {
            for (std::size_t i = 0; i < 3; ++i) {
                AppendLe32(out, layout.masks[i]);
            }
        }
    }
    for (const std::uint32_t colour : layout.palette) {
        out.push_back(static_cast<std::uint8_t>(colour));
        out.push_back(static_cast<std::uint8_t>(colour >> 8));
        out.push_back(static_cast<std::uint8_t>(colour >> 16));
        if (!core) {
            out.push_back(0);
        }
    }
    out.insert(out.end(), layout.pixels.begin(), layout.pixels.end());
    return out;
}

Bytes PatternRows(const Layout& layout) {
    return testing::PatternRows(layout.width, layout.height, layout.bitCount);
}

class BitmapDecoderTest : public ::testing::Test {
  protected:
    std::optional<PixelImage> Load(const Bytes& file) {
        WriteFile(dir_ / "p.bmp", file);
        return LoadPicture(dir_ / "p.bmp", true);
    }

    void ExpectSameAsQt(const Bytes& file, const std::string& label) {
        SCOPED_TRACE(label);
        const auto expected = QtDecode(file, "bmp");
        const auto decoded = Load(file);
        ASSERT_TRUE(expected.has_value());
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->width, expected->width);
        EXPECT_EQ(decoded->height, expected->height);
        EXPECT_FALSE(decoded->hasAlpha);
        EXPECT_EQ(decoded->pixels, expected->pixels);
    }

    TempDir dir_;
};

TEST_F(BitmapDecoderTest, EveryHeaderAndDepthDecodesAsQtDoes) {
    using Masks = std::array<std::uint32_t, 4>;
    const std::vector<std::pair<std::string, Masks>> masks16 = {
        {"565", {0xF800, 0x07E0, 0x001F, 0}},      {"555", {0x7C00, 0x03E0, 0x001F, 0}},
        {"444", {0x0F00, 0x00F0, 0x000F, 0xF000}}, {"gaps", {0xF0F0, 0x0F00, 0x000F, 0}},
        {"none red", {0, 0x0FF0, 0x000F, 0}},      {"one bit", {0x8000, 0x4000, 0x0001, 0}},
    };
    const std::vector<std::pair<std::string, Masks>> masks32 = {
        {"888", {0xFF0000, 0xFF00, 0xFF, 0}},
        {"swapped with alpha", {0xFF, 0xFF00, 0xFF0000, 0xFF000000}},
        {"10-10-10", {0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000}},
        {"9 bits", {0x1FF, 0x3FE00, 0x7C0000, 0}},
    };
    for (const std::uint32_t headerSize : {12U, 40U, 108U, 124U}) {
        for (const bool topDown : {false, true}) {
            if (headerSize == 12 && topDown) {
                continue;  // the core header has no sign for the height
            }
            const std::string where =
                "header " + std::to_string(headerSize) + (topDown ? " top-down " : " ");
            const auto check = [&](Layout layout, const std::string& label) {
                layout.headerSize = headerSize;
                layout.topDown = topDown;
                layout.pixels = PatternRows(layout);
                ExpectSameAsQt(Build(layout), where + label);
            };
            for (const int bits : {1, 4, 8}) {
                Layout layout;
                layout.bitCount = bits;
                layout.palette = testing::PatternPalette(std::size_t{1} << bits);
                check(layout, std::to_string(bits) + " bits");
                // Indexes beyond a short palette (one colour for 1 bit).
                layout.palette =
                    testing::PatternPalette(bits == 1 ? 1 : (std::size_t{1} << bits) / 2 - 1);
                if (headerSize != 12) {
                    check(layout, std::to_string(bits) + " bits short palette");
                }
            }
            Layout plain;
            for (const int bits : {16, 24, 32}) {
                plain.bitCount = bits;
                if (headerSize != 12 || bits == 24) {
                    // Plain pixels ignore any masks a large header carries.
                    plain.masks = {0xFF, 0xFF00, 0xF800, 0};
                    check(plain, std::to_string(bits) + " bits");
                }
            }
            if (headerSize == 12) {
                continue;
            }
            Layout fields;
            fields.compression = 3;
            fields.bitCount = 16;
            for (const auto& [name, masks] : masks16) {
                fields.masks = masks;
                check(fields, "16 bits " + name);
            }
            fields.bitCount = 32;
            for (const auto& [name, masks] : masks32) {
                fields.masks = masks;
                check(fields, "32 bits " + name);
            }
        }
    }
}

Layout RunLength(int bits, int width, int height, Bytes stream) {
    Layout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = bits;
    layout.compression = bits == 8 ? 1 : 2;
    layout.palette = testing::PatternPalette(bits == 8 ? 8 : 16);
    layout.pixels = std::move(stream);
    return layout;
}

TEST_F(BitmapDecoderTest, RunLengthStreamsDecodeAsQtDoes) {
    struct Case {
        std::string label;
        Layout layout;
    };
    std::vector<Case> cases = {
        {"rle8 runs, delta, absolute",
         RunLength(8, 6, 3, {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 1, 1, 2, 5, 0, 1})},
        {"rle8 absolute run past the row",
         RunLength(8, 4, 3, {2, 1, 0, 0, 0, 6, 1, 2, 3, 4, 5, 6, 0, 0, 2, 7, 0, 1})},
        {"rle8 run past the row", RunLength(8, 4, 3, {2, 1, 0, 0, 7, 3, 0, 0, 2, 7, 0, 1})},
        {"rle8 clipped absolute run",
         RunLength(8, 4, 2, {2, 1, 0, 3, 4, 5, 0, 1, 0, 0, 4, 2, 0, 1})},
        {"rle8 delta beyond the right edge",
         RunLength(8, 4, 3, {1, 1, 0, 2, 9, 1, 2, 5, 0, 0, 1, 6, 0, 1})},
        {"rle8 delta beyond the top", RunLength(8, 4, 3, {1, 1, 0, 2, 1, 7, 2, 5, 0, 1})},
        {"rle8 index beyond the palette", RunLength(8, 4, 1, {4, 9, 0, 1})},
        {"rle8 end of line past the top", RunLength(8, 2, 2, {2, 1, 0, 0, 2, 2, 0, 0, 0, 0, 2, 3})},
        {"rle4 runs and absolute",
         RunLength(4, 7, 2, {3, 0x12, 0, 3, 0x45, 0x60, 0, 0, 7, 0xAB, 0, 1})},
        {"rle4 absolute run past the row",
         RunLength(4, 4, 3, {2, 0x12, 0, 0, 0, 6, 0x34, 0x56, 0x78, 0, 0, 0, 2, 0x77, 0, 1})},
        {"rle4 run past the end", RunLength(4, 4, 2, {7, 0x35, 0, 0, 4, 0x12, 0, 1})},
        {"rle4 clipped absolute run",
         RunLength(4, 4, 2, {2, 0x11, 0, 5, 0x45, 0x67, 0x80, 0, 0, 0, 4, 0x22, 0, 1})},
        {"rle4 delta beyond the edges",
         RunLength(4, 4, 3, {1, 0x11, 0, 2, 9, 1, 2, 0x55, 0, 0, 1, 0x66, 0, 1})},
    };
    Layout topDown = RunLength(8, 4, 2, {4, 1, 0, 0, 4, 2, 0, 1});
    topDown.topDown = true;
    cases.push_back({"rle8 top-down", topDown});
    Layout shortPalette = RunLength(4, 4, 1, {4, 0x3F, 0, 1});
    shortPalette.palette = testing::PatternPalette(5);
    cases.push_back({"rle4 index beyond the palette", shortPalette});
    for (const Case& c : cases) {
        ExpectSameAsQt(Build(c.layout), c.label);
    }

    // A run longer than its row goes on into the row below: the second row's six
    // pixels 1..6 leave 5 and 6 at the start of the bottom row, over its two 1s.
    const auto spilled = Load(Build(cases[1].layout));
    ASSERT_TRUE(spilled.has_value());
    const std::vector<std::uint32_t> colours = testing::PatternPalette(8);
    EXPECT_EQ(spilled->At(0, 2), 0xFF000000U | colours[5]);
    EXPECT_EQ(spilled->At(1, 2), 0xFF000000U | colours[6]);
    EXPECT_EQ(spilled->At(2, 2), 0xFF000000U | colours[0]);
    EXPECT_EQ(spilled->At(3, 1), 0xFF000000U | colours[4]);
}

TEST_F(BitmapDecoderTest, RandomBitmapsDecodeAsQtDoes) {
    // Random headers and random pixel bytes or run-length streams. Where the core
    // decodes a bitmap, Qt must give the same pixels; it may refuse more (a stream or
    // rows that end early), never less.
    std::mt19937 random(20261207);
    const auto pick = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    int compared = 0;
    for (int round = 0; round < 500; ++round) {
        Layout layout;
        const std::array<std::uint32_t, 4> headers{12, 40, 108, 124};
        layout.headerSize = headers[static_cast<std::size_t>(pick(4))];
        layout.width = 1 + pick(9);
        layout.height = 1 + pick(5);
        layout.topDown = layout.headerSize != 12 && pick(4) == 0;
        const std::array<int, 6> depths{1, 4, 8, 16, 24, 32};
        layout.bitCount = depths[static_cast<std::size_t>(pick(6))];
        if (layout.headerSize != 12) {
            if ((layout.bitCount == 4 || layout.bitCount == 8) && pick(2) == 0) {
                layout.compression = layout.bitCount == 8 ? 1 : 2;
            } else if ((layout.bitCount == 16 || layout.bitCount == 32) && pick(2) == 0) {
                layout.compression = 3;
                for (std::uint32_t& mask : layout.masks) {
                    const int low = pick(layout.bitCount);
                    const int width = 1 + pick(10);
                    mask =
                        pick(5) == 0
                            ? 0
                            : static_cast<std::uint32_t>(((std::uint64_t{1} << width) - 1) << low);
                }
            }
        }
        if (layout.bitCount <= 8) {
            const std::size_t full = std::size_t{1} << layout.bitCount;
            layout.palette =
                testing::PatternPalette(layout.headerSize == 12 ? full : 1 + random() % full);
        }
        if (layout.compression == 1 || layout.compression == 2) {
            // Short streams of mostly small counts, with escapes now and then.
            const int length = 2 * (4 + pick(20));
            for (int i = 0; i < length; i += 2) {
                const bool escape = pick(3) == 0;
                layout.pixels.push_back(escape ? 0 : static_cast<std::uint8_t>(1 + pick(12)));
                layout.pixels.push_back(escape ? static_cast<std::uint8_t>(pick(6))
                                               : static_cast<std::uint8_t>(random()));
            }
        } else {
            layout.pixels.resize(
                ((static_cast<std::size_t>(layout.width) * layout.bitCount + 31) / 32 * 4) *
                static_cast<std::size_t>(layout.height));
            for (std::uint8_t& byte : layout.pixels) {
                byte = static_cast<std::uint8_t>(random());
            }
        }
        const Bytes file = Build(layout);
        const auto decoded = Load(file);
        if (!decoded) {
            continue;
        }
        const auto expected = QtDecode(file, "bmp");
        ASSERT_TRUE(expected.has_value()) << "round " << round;
        ASSERT_EQ(decoded->pixels, expected->pixels) << "round " << round;
        ++compared;
    }
    EXPECT_GT(compared, 300);
}

TEST_F(BitmapDecoderTest, RefusesWhatCannotBeDecoded) {
    Layout manyColours;
    manyColours.bitCount = 8;
    manyColours.palette = testing::PatternPalette(4);
    manyColours.coloursUsed = 300;
    manyColours.pixels = PatternRows(manyColours);
    Layout fullMask;
    fullMask.bitCount = 32;
    fullMask.compression = 3;
    fullMask.masks = {0xFFFFFFFFU, 0xFF00, 0xFF, 0};
    fullMask.pixels = PatternRows(fullMask);
    // An absolute run that the data ends inside.
    const Layout cutRun = RunLength(8, 8, 1, {0, 8, 1, 2, 3});
    for (const Layout& layout : {manyColours, fullMask, cutRun}) {
        const Bytes file = Build(layout);
        EXPECT_FALSE(QtDecode(file, "bmp").has_value());
        EXPECT_FALSE(Load(file).has_value());
    }
    // A data offset inside the palette: the pixels are read behind the palette, so
    // a file that holds the rows only from the stated offset on is short.
    Layout inside;
    inside.bitCount = 8;
    inside.palette = testing::PatternPalette(4);
    inside.pixels = PatternRows(inside);
    Bytes file = Build(inside);
    file[10] = static_cast<std::uint8_t>(file[10] - 8);
    file.resize(file.size() - 8);
    EXPECT_FALSE(Load(file).has_value());
}

}  // namespace
}  // namespace pictor::workspace
