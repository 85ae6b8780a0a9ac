// The PNG decoder against Qt's reader over every colour type, bit depth, interlacing
// and transparency, and the refusal of damaged files.

#include "core/workspace/png_decoder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <string>
#include <vector>

#include "core/workspace/picture_loader.h"
#include "core/workspace/qt_reference.h"
#include "core/workspace/test_files.h"
#include "support/png_files.h"

namespace pictor::workspace {
namespace {

using test::BuildPng;
using test::Bytes;
using test::PngChunk;
using test::PngLayout;
using testing::QtDecode;
using testing::TempDir;
using testing::WriteFile;

class PngDecoderTest : public ::testing::Test {
  protected:
    std::optional<PixelImage> Load(const Bytes& file) {
        WriteFile(dir_ / "p.png", file);
        return LoadPicture(dir_ / "p.png");
    }

    // Both decoders accept the file and give the same pixels and alpha flag.
    void ExpectSameAsQt(const Bytes& file, const std::string& label) {
        SCOPED_TRACE(label);
        const auto expected = QtDecode(file, "png");
        const auto decoded = Load(file);
        ASSERT_TRUE(expected.has_value());
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->width, expected->width);
        EXPECT_EQ(decoded->height, expected->height);
        EXPECT_EQ(decoded->hasAlpha, expected->hasAlpha);
        EXPECT_EQ(decoded->pixels, expected->pixels);
    }

    TempDir dir_;
};

// Samples that vary with position and channel and reach both ends of the range.
std::uint32_t Sample(int x, int y, int channel, int depth) {
    const std::uint32_t max = (1U << depth) - 1;
    const auto v = static_cast<std::uint32_t>(x * 7919 + y * 104729 + channel * 1299709);
    if ((x + y + channel) % 5 == 0) {
        return (x + y) % 2 == 0 ? 0 : max;
    }
    return depth == 16 ? (v * 2654435761U) >> 16 : v % (max + 1);
}

PngLayout Layout(int depth, int colourType, bool interlaced) {
    PngLayout layout;
    layout.width = 11;  // odd sizes leave partial bytes and partial interlace passes
    layout.height = 7;
    layout.depth = depth;
    layout.colourType = colourType;
    layout.interlaced = interlaced;
    layout.sample = [depth](int x, int y, int c) { return Sample(x, y, c, depth); };
    return layout;
}

Bytes Palette(int entries) {
    Bytes palette;
    for (int i = 0; i < entries; ++i) {
        palette.push_back(static_cast<std::uint8_t>(i * 37 + 5));
        palette.push_back(static_cast<std::uint8_t>(i * 91 + 17));
        palette.push_back(static_cast<std::uint8_t>(255 - i * 13));
    }
    return palette;
}

Bytes Be16(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

TEST_F(PngDecoderTest, EveryColourTypeAndDepthDecodesAsQtDoes) {
    struct Kind {
        int colourType;
        std::vector<int> depths;
    };
    const std::vector<Kind> kinds = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    for (const Kind& kind : kinds) {
        for (const int depth : kind.depths) {
            for (const bool interlaced : {false, true}) {
                const PngLayout layout = Layout(depth, kind.colourType, interlaced);
                const std::string label = "type " + std::to_string(kind.colourType) + " depth " +
                                          std::to_string(depth) + (interlaced ? " interlaced" : "");
                if (kind.colourType != 3) {
                    ExpectSameAsQt(BuildPng(layout), label);
                    continue;
                }
                const int full = 1 << depth;
                ExpectSameAsQt(BuildPng(layout, {{"PLTE", Palette(full)}}), label);
                // A short palette: indexes beyond it, with and without transparency.
                const int entries = std::max(1, full / 2 - 1);
                ExpectSameAsQt(BuildPng(layout, {{"PLTE", Palette(entries)}}),
                               label + " short palette");
                ExpectSameAsQt(
                    BuildPng(layout, {{"PLTE", Palette(entries)}, {"tRNS", {0x40, 0xC0}}}),
                    label + " short palette, tRNS");
                ExpectSameAsQt(BuildPng(layout, {{"PLTE", Palette(full)}, {"tRNS", {0xFF, 0xFF}}}),
                               label + " opaque tRNS");
            }
        }
    }
}

TEST_F(PngDecoderTest, TransparentColoursDecodeAsQtDoes) {
    // A grey level or colour that the picture holds, at every depth; one beyond the
    // depth's range is ignored.
    for (const int depth : {1, 2, 4, 8, 16}) {
        const PngLayout layout = Layout(depth, 0, false);
        const std::uint32_t present = layout.sample(1, 0, 0);
        ExpectSameAsQt(BuildPng(layout, {{"tRNS", Be16(present)}}),
                       "grey depth " + std::to_string(depth));
        if (depth < 16) {
            ExpectSameAsQt(BuildPng(layout, {{"tRNS", Be16(1U << depth)}}),
                           "grey out of range, depth " + std::to_string(depth));
        }
    }
    PngLayout rgb = Layout(8, 2, true);
    Bytes colour;
    for (int c = 0; c < 3; ++c) {
        const Bytes sample = Be16(rgb.sample(2, 1, c));
        colour.insert(colour.end(), sample.begin(), sample.end());
    }
    ExpectSameAsQt(BuildPng(rgb, {{"tRNS", colour}}), "rgb");
    // Invalid or out-of-place chunks are ignored.
    ExpectSameAsQt(BuildPng(rgb, {{"tRNS", {0, 1, 0, 2}}}), "rgb tRNS of the wrong length");
    const PngLayout indexed = Layout(8, 3, false);
    ExpectSameAsQt(BuildPng(indexed, {{"PLTE", Palette(4)}, {"tRNS", Bytes(5, 0x10)}}),
                   "tRNS longer than the palette");
    ExpectSameAsQt(BuildPng(indexed, {{"tRNS", {0x10}}, {"PLTE", Palette(200)}}),
                   "tRNS before the palette");
}

TEST_F(PngDecoderTest, SixteenBitSamplesRoundToTheNearestLevel) {
    // 0x0080 / 257 = 0.498 and 0x0081 / 257 = 0.502; 0xFF7F / 257 = 254.5.
    const std::vector<std::uint32_t> values = {0x0080, 0x0081, 0x7F80, 0xFF7F, 0xFFFF};
    PngLayout layout;
    layout.width = static_cast<int>(values.size());
    layout.depth = 16;
    layout.colourType = 6;
    layout.sample = [&values](int x, int, int c) {
        return c == 3 ? 0x4000 : values[static_cast<std::size_t>(x)];
    };
    const Bytes file = BuildPng(layout);
    const auto decoded = Load(file);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->pixels, (std::vector<std::uint32_t>{0x40000000, 0x40010101, 0x407F7F7F,
                                                           0x40FFFFFF, 0x40FFFFFF}));
    ExpectSameAsQt(file, "rounding");
}

TEST_F(PngDecoderTest, SixteenBitColourWithTransparencyIsExact) {
    // Qt's reader scrambles these pixels; the transparent colour reads transparent
    // and every other pixel keeps its colour, opaque.
    PngLayout layout;
    layout.width = 3;
    layout.depth = 16;
    layout.colourType = 2;
    const std::vector<std::array<std::uint32_t, 3>> colours = {
        {0x0100, 0x0200, 0x0300}, {0x1000, 0x2000, 0x3000}, {0xFFFF, 0xFFFF, 0xFFFF}};
    layout.sample = [&colours](int x, int, int c) {
        return colours[static_cast<std::size_t>(x)][static_cast<std::size_t>(c)];
    };
    const Bytes trns{0x01, 0x00, 0x02, 0x00, 0x03, 0x00};
    const auto decoded = Load(BuildPng(layout, {{"tRNS", trns}}));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(decoded->hasAlpha);
    EXPECT_EQ(decoded->pixels, (std::vector<std::uint32_t>{0x00010203, 0xFF102030, 0xFFFFFFFF}));
}

TEST_F(PngDecoderTest, FilesWrittenByQtDecodeAsQtReadsThem) {
    QImage argb(9, 4, QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            argb.setPixel(x, y, qRgba(x * 29, y * 61, (x * y * 13) % 256, (x * 31 + y * 7) % 256));
        }
    }
    QImage indexed(5, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(10, 20, 30, 0), qRgba(200, 100, 50, 128), qRgb(1, 2, 3)});
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            indexed.setPixel(x, y, static_cast<uint>((x + y) % 3));
        }
    }
    QImage mono(10, 2, QImage::Format_Mono);
    mono.fill(0);
    mono.setPixel(3, 1, 1);
    const std::vector<std::pair<std::string, QImage>> images = {
        {"RGB32", argb.convertToFormat(QImage::Format_RGB32)},
        {"ARGB32", argb},
        {"Grayscale8", argb.convertToFormat(QImage::Format_Grayscale8)},
        {"Grayscale16", argb.convertToFormat(QImage::Format_Grayscale16)},
        {"RGBA64", argb.convertToFormat(QImage::Format_RGBA64)},
        {"RGBX64", argb.convertToFormat(QImage::Format_RGBX64)},
        {"Indexed8", indexed},
        {"Mono", mono},
    };
    for (const auto& [label, image] : images) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "PNG")) << label;
        ExpectSameAsQt(Bytes(png.begin(), png.end()), label);
    }
}

TEST_F(PngDecoderTest, AncillaryChunksDoNotChangeThePixels) {
    // Gamma and colour-space information is not applied, by either reader.
    const PngLayout layout = Layout(8, 2, false);
    const auto plain = Load(BuildPng(layout));
    ASSERT_TRUE(plain.has_value());
    const std::vector<PngChunk> ancillary = {
        {"gAMA", {0, 1, 0x86, 0xA0}},  // gamma 1.0
        {"sRGB", {0}},
        {"iCCP", {'x', 0, 0, 0x78, 0x01, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0, 0, 0, 1}},
        {"tEXt", {'a', 0, 'b'}},
        {"abCd", {1, 2, 3}},
        {"gAMA", {0, 0, 0, 1}, true},  // damaged: ignored
    };
    for (const PngChunk& chunk : ancillary) {
        const Bytes file = BuildPng(layout, {chunk});
        ExpectSameAsQt(file, chunk.type);
        const auto decoded = Load(file);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->pixels, plain->pixels) << chunk.type;
    }
    // A damaged transparency chunk is dropped: the picture reads opaque.
    ExpectSameAsQt(BuildPng(Layout(8, 3, false), {{"PLTE", Palette(256)}, {"tRNS", {0}, true}}),
                   "damaged tRNS");
}

TEST_F(PngDecoderTest, ImageDataLayoutVariantsDecode) {
    const PngLayout layout = Layout(8, 6, false);
    const Bytes zlib = test::StoredZlib(test::PngRows(layout));
    const auto build = [&layout](const std::vector<Bytes>& parts, bool textBetween = false) {
        Bytes out = test::kPngSignature;
        test::AppendChunk(out, "IHDR", test::PngHeaderData(layout));
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (textBetween && i == 1) {
                test::AppendChunk(out, "tEXt", {'k', 0, 'v'});
            }
            test::AppendChunk(out, "IDAT", parts[i]);
        }
        test::AppendChunk(out, "IEND", {});
        return out;
    };
    const std::size_t half = zlib.size() / 2;
    const Bytes first(zlib.begin(), zlib.begin() + static_cast<std::ptrdiff_t>(half));
    const Bytes second(zlib.begin() + static_cast<std::ptrdiff_t>(half), zlib.end());
    ExpectSameAsQt(build({first, second}), "split over two IDAT chunks");
    ExpectSameAsQt(build({zlib, {}}), "an empty IDAT after the data");
    ExpectSameAsQt(build({zlib, {1, 2, 3}}, true), "a stray IDAT after other chunks");
    // More rows than the picture needs: the surplus is dropped.
    PngLayout taller = layout;
    taller.height += 2;
    Bytes surplus = test::kPngSignature;
    test::AppendChunk(surplus, "IHDR", test::PngHeaderData(layout));
    test::AppendChunk(surplus, "IDAT", test::StoredZlib(test::PngRows(taller)));
    test::AppendChunk(surplus, "IEND", {});
    ExpectSameAsQt(surplus, "surplus rows");
    // Bytes after the end chunk are not read.
    Bytes trailing = BuildPng(layout);
    trailing.insert(trailing.end(), {'j', 'u', 'n', 'k'});
    ExpectSameAsQt(trailing, "bytes after IEND");
}

TEST_F(PngDecoderTest, DamagedFilesAreRefusedAsQtRefusesThem) {
    const PngLayout layout = Layout(8, 3, false);
    const PngChunk palette{"PLTE", Palette(256)};
    const Bytes good = BuildPng(layout, {palette});
    ASSERT_TRUE(Load(good).has_value());

    const auto withBadCrc = [&](const std::string& type) {
        Bytes out = test::kPngSignature;
        test::AppendChunk(out, "IHDR", test::PngHeaderData(layout), type == "IHDR");
        test::AppendChunk(out, "PLTE", palette.data, type == "PLTE");
        test::AppendChunk(out, "IDAT", test::StoredZlib(test::PngRows(layout)), type == "IDAT");
        test::AppendChunk(out, "IEND", {}, type == "IEND");
        return out;
    };
    Bytes badAdler = good;
    {
        // The checksum of the inflated rows sits just before the IDAT chunk's CRC.
        Bytes zlib = test::StoredZlib(test::PngRows(layout));
        zlib.back() ^= 0x01;
        badAdler = test::kPngSignature;
        test::AppendChunk(badAdler, "IHDR", test::PngHeaderData(layout));
        test::AppendChunk(badAdler, "PLTE", palette.data);
        test::AppendChunk(badAdler, "IDAT", zlib);
        test::AppendChunk(badAdler, "IEND", {});
    }
    PngLayout shorter = layout;
    shorter.height -= 1;
    Bytes shortData = test::kPngSignature;
    test::AppendChunk(shortData, "IHDR", test::PngHeaderData(layout));
    test::AppendChunk(shortData, "PLTE", palette.data);
    test::AppendChunk(shortData, "IDAT", test::StoredZlib(test::PngRows(shorter)));
    test::AppendChunk(shortData, "IEND", {});

    const std::vector<std::pair<std::string, Bytes>> damaged = {
        {"IHDR CRC", withBadCrc("IHDR")},
        {"PLTE CRC", withBadCrc("PLTE")},
        {"IDAT CRC", withBadCrc("IDAT")},
        {"IEND CRC", withBadCrc("IEND")},
        {"zlib checksum", badAdler},
        {"rows missing", shortData},
        {"no IEND", Bytes(good.begin(), good.end() - 12)},
        {"cut inside IDAT", Bytes(good.begin(), good.begin() + 100)},
        {"cut inside the header", Bytes(good.begin(), good.begin() + 20)},
        {"unknown critical chunk", BuildPng(layout, {palette, {"ABCD", {1}}})},
        {"no palette", BuildPng(layout)},
    };
    for (const auto& [label, file] : damaged) {
        EXPECT_FALSE(QtDecode(file, "png").has_value()) << label;
        EXPECT_FALSE(Load(file).has_value()) << label;
    }
    // Cut inside the end chunk's own checksum: the picture is whole and still reads.
    ExpectSameAsQt(Bytes(good.begin(), good.end() - 2), "cut inside the IEND CRC");
}

TEST_F(PngDecoderTest, OversizedPicturesAreRefusedFromTheHeader) {
    // The header declares far more pixels than the file holds; nothing is allocated
    // for them, and a side of 8193 is one beyond the limit.
    for (const std::uint32_t side : {8193U, 100000U, 0x7FFFFFFFU}) {
        Bytes file = test::kPngSignature;
        Bytes header;
        test::AppendBe32(header, side);
        test::AppendBe32(header, 1);
        header.insert(header.end(), {8, 2, 0, 0, 0});
        test::AppendChunk(file, "IHDR", header);
        test::AppendChunk(file, "IDAT", test::StoredZlib(Bytes(16, 0)));
        test::AppendChunk(file, "IEND", {});
        EXPECT_FALSE(Load(file).has_value()) << side;
        EXPECT_FALSE(ProbePicture(dir_ / "p.png").has_value()) << side;
    }
    PngLayout largest;
    largest.width = kMaxPictureSide;
    largest.height = 1;
    largest.colourType = 0;
    largest.sample = [](int x, int, int) { return static_cast<std::uint32_t>(x % 256); };
    const auto decoded = Load(BuildPng(largest));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->At(kMaxPictureSide - 1, 0), 0xFFFFFFFFU);
}

}  // namespace
}  // namespace pictor::workspace
