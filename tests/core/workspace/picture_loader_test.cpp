#include "core/workspace/picture_loader.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "core/workspace/test_files.h"

namespace pictor::workspace {
namespace {

using testing::BitmapSpec;
using testing::BuildBitmap;
using testing::Bytes;
using testing::TempDir;
using testing::WriteFile;

constexpr std::uint32_t kOpaque = 0xFF000000U;

struct DecodeCase {
    std::string label;
    BitmapSpec spec;
    int width;
    int height;
    std::vector<std::uint32_t> expected;  // 0xAARRGGBB, top row first
};

// The palette the indexed cases share: index 0 to 3.
const std::vector<std::uint32_t> kPalette = {0x302010, 0x605040, 0x908070, 0xC0B0A0};

std::vector<DecodeCase> DecodeCases() {
    std::vector<DecodeCase> cases;
    // 1 bit: 3 x 2, bottom-up. Bottom row 1 0 1, top row 0 1 0; rows padded to 4 bytes.
    cases.push_back({"1bpp",
                     {3, 2, 1, 0, {}, {0x302010, 0x605040}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}},
                     3,
                     2,
                     {0xFF302010, 0xFF605040, 0xFF302010, 0xFF605040, 0xFF302010, 0xFF605040}});
    // 4 bit: 3 x 1, indexes 2 0 1 (high nibble first).
    cases.push_back({"4bpp",
                     {3, 1, 4, 0, {}, kPalette, {0x20, 0x10, 0, 0}},
                     3,
                     1,
                     {0xFF908070, 0xFF302010, 0xFF605040}});
    // 8 bit: 2 x 2, top-down (negative height): the first stored row is the top row.
    cases.push_back({"8bpp top-down",
                     {2, -2, 8, 0, {}, kPalette, {3, 1, 0, 0, 2, 0, 0, 0}},
                     2,
                     2,
                     {0xFFC0B0A0, 0xFF605040, 0xFF908070, 0xFF302010}});
    // RLE8, 4 x 2. Bottom row: run of 3 x index 1, run of 1 x index 2, end of line.
    // Top row: absolute run of 3 (0 1 2, padded to a word), run of 1 x index 2, end of bitmap.
    cases.push_back({"RLE8",
                     {4, 2, 8, 1, {}, kPalette, {3, 1, 1, 2, 0, 0, 0, 3, 0, 1, 2, 0, 1, 2, 0, 1}},
                     4,
                     2,
                     {0xFF302010, 0xFF605040, 0xFF908070, 0xFF908070,  //
                      0xFF605040, 0xFF605040, 0xFF605040, 0xFF908070}});
    // RLE4, 7 x 1: run of 4 alternating 1 2, absolute run of 3 (3 0 1, two bytes, already
    // word-aligned; 00 02 would be a delta), end of bitmap.
    cases.push_back(
        {"RLE4",
         {7, 1, 4, 2, {}, kPalette, {4, 0x12, 0, 3, 0x30, 0x10, 0, 1}},
         7,
         1,
         {0xFF605040, 0xFF908070, 0xFF605040, 0xFF908070, 0xFFC0B0A0, 0xFF302010, 0xFF605040}});
    // 24 bit: 2 x 2 bottom-up, blue green red per pixel, rows padded to 8 bytes.
    cases.push_back(
        {"24bpp",
         {2, 2, 24, 0, {}, {}, {1, 2, 3, 4, 5, 6, 0, 0, 0xF1, 0xF2, 0xF3, 0, 0x80, 0xFF, 0, 0}},
         2,
         2,
         {0xFFF3F2F1, 0xFFFF8000, 0xFF030201, 0xFF060504}});
    // 32 bit: the fourth byte (0x00, 0x80) is ignored, the colour is kept as stored.
    cases.push_back({"32bpp",
                     {2, 1, 32, 0, {}, {}, {0x11, 0x22, 0x33, 0x00, 0x44, 0x55, 0x66, 0x80}},
                     2,
                     1,
                     {0xFF332211, 0xFF665544}});
    // 32 bit bit fields with red in the lowest byte and blue in the third.
    cases.push_back({"32bpp bitfields",
                     {1, 1, 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, {}, {0x11, 0x22, 0x33, 0}},
                     1,
                     1,
                     {0xFF112233}});
    // 16 bit 5-5-5 (BI_RGB) and 5-6-5 bit fields. The decoder widens a channel by
    // multiplying with 256 / (max + 1): 5 bits x 8, 6 bits x 4, so full scale gives 248
    // (0xF8) and 252 (0xFC), not 255; the low bits stay zero.
    // 0x7FFF white, 0x4210 = 16 16 16 -> 0x80 each, 0x0421 = 1 1 1 -> 0x08 each.
    cases.push_back({"16bpp 555",
                     {3, 1, 16, 0, {}, {}, {0xFF, 0x7F, 0x10, 0x42, 0x21, 0x04, 0, 0}},
                     3,
                     1,
                     {0xFFF8F8F8, 0xFF808080, 0xFF080808}});
    // 0xF800 red 31, 0x07E0 green 63, 0x001F blue 31, 0x8410 = 16 32 16.
    cases.push_back({"16bpp 565 bitfields",
                     {4,
                      1,
                      16,
                      3,
                      {0xF800, 0x07E0, 0x001F},
                      {},
                      {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x10, 0x84}},
                     4,
                     1,
                     {0xFFF80000, 0xFF00FC00, 0xFF0000F8, 0xFF808080}});
    return cases;
}

TEST(PictureLoader, DecodesEveryBitmapVariantToStoredColours) {
    // No QGuiApplication (nor any application object) exists in this program.
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    const TempDir dir;
    for (const DecodeCase& c : DecodeCases()) {
        SCOPED_TRACE(c.label);
        const auto path = dir / "picture.bmp";
        WriteFile(path, BuildBitmap(c.spec));
        const auto picture = LoadPicture(path);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->width, c.width);
        EXPECT_EQ(picture->height, c.height);
        EXPECT_FALSE(picture->hasAlpha);
        EXPECT_EQ(picture->pixels, c.expected);
    }
}

TEST(PictureLoader, TrailerAfterPixelDataDoesNotDisturbDecoding) {
    const TempDir dir;
    Bytes bytes = testing::SolidBitmap(2, 1, 0x123456);
    bytes.insert(bytes.end(), {0x61, 0x56, 0x61, 0x56, 0x0A, 0x14});
    WriteFile(dir / "a.bmp", bytes);
    const auto picture = LoadPicture(dir / "a.bmp");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->pixels, (std::vector<std::uint32_t>{0xFF123456, 0xFF123456}));
}

TEST(PictureLoader, RefusesBadSizesAndOtherFormats) {
    const TempDir dir;
    // Headers only claiming their size; the pixel data is missing or short.
    BitmapSpec huge{100000, 1, 24, 0, {}, {}, {0, 0, 0, 0}};
    BitmapSpec tall{1, -100000, 24, 0, {}, {}, {0, 0, 0, 0}};
    BitmapSpec over{8193, 1, 8, 0, {}, {0}, Bytes(8196, 0)};
    BitmapSpec zero{0, 1, 24, 0, {}, {}, {}};
    const Bytes truncated = testing::SolidBitmap(4, 4, 0);
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"huge", BuildBitmap(huge)},
        {"tall", BuildBitmap(tall)},
        {"over", BuildBitmap(over)},
        {"zero", BuildBitmap(zero)},
        {"icon", {0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1, 0, 24, 0, 40, 0, 0, 0, 22, 0, 0, 0}},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
        {"empty", {}},
        {"truncated", Bytes(truncated.begin(), truncated.begin() + 30)},
    };
    for (const auto& [label, bytes] : files) {
        SCOPED_TRACE(label);
        WriteFile(dir / label, bytes);
        EXPECT_FALSE(LoadPicture(dir / label).has_value());
    }
    EXPECT_FALSE(LoadPicture(dir / "missing.bmp").has_value());

    // The largest legal width loads.
    BitmapSpec widest{8192, 1, 8, 0, {}, {0x010203}, Bytes(8192, 0)};
    WriteFile(dir / "widest", BuildBitmap(widest));
    const auto picture = LoadPicture(dir / "widest");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 8192);
    EXPECT_EQ(picture->At(8191, 0), 0xFF010203U);
}

TEST(PictureLoader, PngKeepsUnpremultipliedAlpha) {
    const TempDir dir;
    QImage source(2, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, 0x80102030U);
    source.setPixel(1, 0, 0x00FFFFFFU);
    ASSERT_TRUE(source.save(QString::fromStdString((dir / "alpha.png").string()), "PNG"));
    auto picture = LoadPicture(dir / "alpha.png");
    ASSERT_TRUE(picture.has_value());
    EXPECT_TRUE(picture->hasAlpha);
    EXPECT_EQ(picture->pixels, (std::vector<std::uint32_t>{0x80102030U, 0x00FFFFFFU}));

    QImage opaque(1, 1, QImage::Format_RGB32);
    opaque.setPixel(0, 0, 0xFFABCDEFU);
    // A PNG is recognised by its content, whatever its file name says.
    ASSERT_TRUE(opaque.save(QString::fromStdString((dir / "opaque.bmp").string()), "PNG"));
    picture = LoadPicture(dir / "opaque.bmp");
    ASSERT_TRUE(picture.has_value());
    EXPECT_FALSE(picture->hasAlpha);
    EXPECT_EQ(picture->pixels, (std::vector<std::uint32_t>{0xFFABCDEFU}));
}

TEST(PictureLoader, LoadsPictureAboveQtDefaultAllocationLimit) {
    // 8192 x 4200 at 32 bits is 131 MiB, above the 128 MiB Qt allows by default.
    const TempDir dir;
    QImage source(8192, 4200, QImage::Format_RGB32);
    source.fill(0xFF405060U);
    source.setPixel(8191, 4199, 0xFF010203U);
    ASSERT_TRUE(source.save(QString::fromStdString((dir / "big.png").string()), "PNG",
                            80));  // quality 80: fast zlib level 1
    source = QImage();
    const auto picture = LoadPicture(dir / "big.png");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->At(0, 0), 0xFF405060U);
    EXPECT_EQ(picture->At(8191, 4199), 0xFF010203U);
}

TEST(PictureLoader, ThumbnailSamplesNearestPixel) {
    PixelImage picture;
    picture.width = 2;
    picture.height = 1;
    picture.pixels = {0xFF0000FFU, 0xFFFF0000U};
    const PixelImage thumbnail = MakeThumbnail(picture);
    ASSERT_EQ(thumbnail.width, kThumbnailSide);
    ASSERT_EQ(thumbnail.height, kThumbnailSide);
    ASSERT_EQ(thumbnail.pixels.size(), 96U * 96U);
    // The left half comes from the left pixel, the right half from the right one.
    EXPECT_EQ(thumbnail.At(0, 0), 0xFF0000FFU);
    EXPECT_EQ(thumbnail.At(47, 95), 0xFF0000FFU);
    EXPECT_EQ(thumbnail.At(48, 0), 0xFFFF0000U);
    EXPECT_EQ(thumbnail.At(95, 95), 0xFFFF0000U);
}

}  // namespace
}  // namespace pictor::workspace
