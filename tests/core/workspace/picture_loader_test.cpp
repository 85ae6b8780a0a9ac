#include "core/workspace/picture_loader.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/workspace/picture_import.h"
#include "core/workspace/test_files.h"
#include "support/memory_limit.h"
#include "support/recording_sink.h"

namespace pictor::workspace {
namespace {

using testing::BitmapLayout;
using testing::BuildBitmap;
using testing::Bytes;
using testing::TempDir;
using testing::WriteFile;

struct DecodeCase {
    const char* label;
    BitmapLayout layout;
    std::vector<std::uint32_t> expected;  // 0xAARRGGBB, top row first
};

// The palette the indexed cases share: index 0 to 3.
const std::vector<std::uint32_t> kPal = {0x302010, 0x605040, 0x908070, 0xC0B0A0};
constexpr std::uint32_t kP0 = 0xFF302010, kP1 = 0xFF605040, kP2 = 0xFF908070, kP3 = 0xFFC0B0A0;

// Rows are stored bottom-up and padded to 4 bytes unless the case says otherwise.
const DecodeCase kDecodeCases[] = {
    // 3 x 2, bottom row 1 0 1, top row 0 1 0.
    {"1bpp",
     {3, 2, 1, 0, {}, kPal, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}},
     {kP0, kP1, kP0, kP1, kP0, kP1}},
    // 3 x 1, indexes 2 0 1, high nibble first.
    {"4bpp", {3, 1, 4, 0, {}, kPal, {0x20, 0x10, 0, 0}}, {kP2, kP0, kP1}},
    // 2 x 2 with negative height: the first stored row is the top row.
    {"8bpp top-down", {2, -2, 8, 0, {}, kPal, {3, 1, 0, 0, 2, 0, 0, 0}}, {kP3, kP1, kP2, kP0}},
    // 4 x 2. Bottom row: 3 x index 1, 1 x index 2, end of line. Top row: absolute run of
    // 3 (0 1 2, padded to a word), 1 x index 2, end of bitmap.
    {"RLE8",
     {4, 2, 8, 1, {}, kPal, {3, 1, 1, 2, 0, 0, 0, 3, 0, 1, 2, 0, 1, 2, 0, 1}},
     {kP0, kP1, kP2, kP2, kP1, kP1, kP1, kP2}},
    // 7 x 1: 4 pixels alternating 1 2, absolute run of 3 (3 0 1 in two bytes; a count of 2
    // would be a delta escape), end of bitmap.
    {"RLE4",
     {7, 1, 4, 2, {}, kPal, {4, 0x12, 0, 3, 0x30, 0x10, 0, 1}},
     {kP1, kP2, kP1, kP2, kP3, kP0, kP1}},
    // 2 x 2, blue green red per pixel.
    {"24bpp",
     {2, 2, 24, 0, {}, {}, {1, 2, 3, 4, 5, 6, 0, 0, 0xF1, 0xF2, 0xF3, 0, 0x80, 0xFF, 0, 0}},
     {0xFFF3F2F1, 0xFFFF8000, 0xFF030201, 0xFF060504}},
    // The fourth byte (0x00, 0x80) is ignored.
    {"32bpp",
     {2, 1, 32, 0, {}, {}, {0x11, 0x22, 0x33, 0x00, 0x44, 0x55, 0x66, 0x80}},
     {0xFF332211, 0xFF665544}},
    // Bit fields with red in the lowest byte and blue in the third.
    {"32bpp bitfields",
     {1, 1, 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, {}, {0x11, 0x22, 0x33, 0}},
     {0xFF112233}},
    // 16 bits: the decoder widens a channel by multiplying with 256 / (max + 1), 5 bits by
    // 8 and 6 bits by 4, so full scale gives 0xF8 and 0xFC and the low bits stay zero.
    // 5-5-5: 0x7FFF white, 0x4210 = 16 16 16, 0x0421 = 1 1 1.
    {"16bpp 555",
     {3, 1, 16, 0, {}, {}, {0xFF, 0x7F, 0x10, 0x42, 0x21, 0x04, 0, 0}},
     {0xFFF8F8F8, 0xFF808080, 0xFF080808}},
    // 5-6-5: 0xF800 red 31, 0x07E0 green 63, 0x001F blue 31, 0x8410 = 16 32 16.
    {"16bpp 565 bitfields",
     {4, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, {0, 0xF8, 0xE0, 0x07, 0x1F, 0, 0x10, 0x84}},
     {0xFFF80000, 0xFF00FC00, 0xFF0000F8, 0xFF808080}},
};

TEST(PictureLoader, DecodesEveryBitmapVariantToStoredColours) {
    // No QGuiApplication (nor any application object) exists in this program.
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    const TempDir dir;
    for (const DecodeCase& c : kDecodeCases) {
        SCOPED_TRACE(c.label);
        const auto path = dir / "picture.bmp";
        WriteFile(path, BuildBitmap(c.layout));
        const auto picture = LoadPicture(path);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->width, c.layout.width);
        EXPECT_EQ(picture->height, std::abs(c.layout.height));
        EXPECT_FALSE(picture->hasAlpha);
        EXPECT_EQ(picture->pixels, c.expected);
    }
}

TEST(PictureLoader, RefusesBadSizesAndOtherFormats) {
    const TempDir dir;
    // Headers only claiming their size; the pixel data is missing or short.
    BitmapLayout huge{100000, 1, 24, 0, {}, {}, {0, 0, 0, 0}};
    BitmapLayout tall{1, -100000, 24, 0, {}, {}, {0, 0, 0, 0}};
    BitmapLayout over{8193, 1, 8, 0, {}, {0}, Bytes(8196, 0)};
    BitmapLayout zero{0, 1, 24, 0, {}, {}, {}};
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
    BitmapLayout widest{8192, 1, 8, 0, {}, {0x010203}, Bytes(8192, 0)};
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

TEST(PictureLoader, APictureThatDoesNotFitInMemoryIsRefusedNotFatal) {
    PICTOR_SKIP_WITHOUT_MEMORY_LIMIT();
    // 1,212 bytes that decode into 256 MiB of pixels, with 128 MiB to spare: every
    // way in refuses the picture, and the import names it as a load failure.
    const TempDir dir;
    WriteFile(dir / "huge.bmp", test::HugeRunLengthBitmap());
    EXPECT_EQ(test::RunWithLimitedMemory(
                  std::uint64_t{128} << 20,
                  [&] {
                      int wrong = 0;
                      wrong |= LoadPicture(dir / "huge.bmp") ? 1 : 0;
                      wrong |= ProbePicture(dir / "huge.bmp") ? 2 : 0;
                      wrong |= OpenPictureRows(dir / "huge.bmp") ? 4 : 0;
                      PictureList list;
                      pictor::test::RecordingSink sink;
                      const std::string path = (dir / "huge.bmp").string();
                      wrong |= ImportPictures(list, {path}, sink) != 0 ? 8 : 0;
                      wrong |= sink.messages.size() != 1 ||
                                       sink.messages[0].text != "加载图片 " + path + " 错误 !"
                                   ? 16
                                   : 0;
                      return wrong;
                  }),
              0);
    // With the memory to hold it, the same file loads.
    const auto picture = LoadPicture(dir / "huge.bmp");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->At(8191, 8191), 0xFF000000U);
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
