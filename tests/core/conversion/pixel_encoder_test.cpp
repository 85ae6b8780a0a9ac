#include "core/conversion/pixel_encoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "conversion_test_support.h"
#include "support/bitmap_files.h"
#include "support/temp_dir.h"

namespace pictor::conversion {
namespace {

using namespace testing;  // NOLINT: test helpers

struct EncodeCase {
    std::string name;
    std::function<workspace::PixelImage()> image;
    settings::ModelProfile profile;
    std::vector<std::uint8_t> bytes;
    std::string text;  // the C source form, CR LF line ends
};

// Test listings show a case by its name, not by its bytes.
void PrintTo(const EncodeCase& encodeCase, std::ostream* out) {
    *out << encodeCase.name;
}

// White in columns 0 and 7 of row 0, column 15 of row 0 and column 8 of row 1.
workspace::PixelImage SixteenByTwo() {
    auto image = MakeImage(16, 2);
    Set(image, 0, 0, kWhite);
    Set(image, 7, 0, kWhite);
    Set(image, 15, 0, kWhite);
    Set(image, 8, 1, kWhite);
    return image;
}

// 1-bit, 16 x 3: one white pixel per (group, row) so every byte is distinct.
workspace::PixelImage BandedRows() {
    auto image = MakeImage(16, 3);
    for (int row = 0; row < 3; ++row) {
        Set(image, row, row, kWhite);       // group 0, bit = row
        Set(image, 12 + row, row, kWhite);  // group 1, bit = 4 + row
    }
    return image;
}

// The same with columns and rows swapped (3 x 16) for direction 1.
workspace::PixelImage BandedColumns() {
    auto image = MakeImage(3, 16);
    for (int column = 0; column < 3; ++column) {
        Set(image, column, column, kWhite);
        Set(image, column, 12 + column, kWhite);
    }
    return image;
}

std::vector<EncodeCase> EncodeCases() {
    std::vector<EncodeCase> cases;
    cases.push_back({"OneBitSixteenByTwoRowsFirst", SixteenByTwo, GreyProfile(1),
                     Bytes({0x81, 0x00, 0x80, 0x01}), "\r\n129,0,\r\n128,1,\r\n"});
    cases.push_back({"OneBitSixteenByTwoColumnsFirstHasNoWholeGroup",
                     SixteenByTwo,
                     GreyProfile(1, 1),
                     {},
                     "\r\n"});
    cases.push_back({"OneBitTenWideDropsLastTwoColumns",
                     [] {
                         auto image = MakeImage(10, 1);
                         Set(image, 1, 0, kWhite);
                         Set(image, 8, 0, kWhite);
                         Set(image, 9, 0, kWhite);
                         return image;
                     },
                     GreyProfile(1), Bytes({0x02}), "\r\n2,\r\n"});
    // Grey = (R + G + B) / 3 rounded down; level = largest k with grey >= 64 k.
    cases.push_back({"TwoBitThresholds",
                     [] {
                         auto image = MakeImage(4, 1);
                         Set(image, 0, 0, Grey(100));        // level 1
                         Set(image, 1, 0, Grey(64));         // level 1 (>=)
                         Set(image, 2, 0, Rgb(64, 64, 63));  // grey 63: level 0
                         Set(image, 3, 0, Grey(192));        // level 3
                         return image;
                     },
                     GreyProfile(2), Bytes({1 | 1 << 2 | 3 << 6}), "\r\n197,\r\n"});
    cases.push_back({"FourBitColumnsFirstPacksTopPixelLow",
                     [] {
                         auto image = MakeImage(1, 2);
                         Set(image, 0, 0, Grey(16));  // level 1
                         Set(image, 0, 1, kWhite);    // level 15
                         return image;
                     },
                     GreyProfile(4, 1), Bytes({0xF1}), "\r\n241,\r\n"});
    // With one pixel per byte, direction 0 still runs down each column.
    cases.push_back({"EightBitIsGreyValueColumnByColumn",
                     [] {
                         auto image = MakeImage(2, 2);
                         Set(image, 0, 0, Grey(10));
                         Set(image, 1, 0, Grey(20));
                         Set(image, 0, 1, Rgb(30, 31, 32));  // grey 31
                         Set(image, 1, 1, Grey(40));
                         return image;
                     },
                     GreyProfile(8), Bytes({10, 31, 20, 40}), "\r\n10,31,\r\n20,40,\r\n"});
    cases.push_back({"OneBitBandsOfTwoRows", BandedRows, GreyProfile(1, 0, 2),
                     Bytes({0x01, 0x02, 0x10, 0x20, 0x04, 0x40}),
                     "\r\n1,2,\r\n16,32,\r\n4,\r\n64,\r\n"});
    cases.push_back({"OneBitBandsOfTwoColumns", BandedColumns, GreyProfile(1, 1, 2),
                     Bytes({0x01, 0x02, 0x10, 0x20, 0x04, 0x40}),
                     "\r\n1,2,\r\n16,32,\r\n4,\r\n64,\r\n"});
    cases.push_back({"OneBitBandLargerThanPicture", BandedRows, GreyProfile(1, 0, 8),
                     Bytes({0x01, 0x02, 0x04, 0x10, 0x20, 0x40}), "\r\n1,2,4,\r\n16,32,64,\r\n"});
    cases.push_back({"WhiteBgr565", [] { return MakeImage(1, 1, kWhite); }, ColourProfile(0),
                     Bytes({255, 255}), "\r\n255,255,"});
    cases.push_back({"WhiteRgb565", [] { return MakeImage(1, 1, kWhite); }, ColourProfile(1),
                     Bytes({255, 255}), "\r\n255,255,"});
    cases.push_back({"RedBgr565", [] { return MakeImage(1, 1, Rgb(255, 0, 0)); }, ColourProfile(0),
                     Bytes({0, 31}), "\r\n0,31,"});
    cases.push_back({"RedRgb565", [] { return MakeImage(1, 1, Rgb(255, 0, 0)); }, ColourProfile(1),
                     Bytes({248, 0}), "\r\n248,0,"});
    // 0x12 0x34 0x56: R>>3 = 2, G>>2 = 13, B>>3 = 10.
    cases.push_back({"MixedRgb565", [] { return MakeImage(1, 1, Rgb(0x12, 0x34, 0x56)); },
                     ColourProfile(1), Bytes({0x11, 0xAA}), "\r\n17,170,"});
    cases.push_back({"MixedBgr565", [] { return MakeImage(1, 1, Rgb(0x12, 0x34, 0x56)); },
                     ColourProfile(0), Bytes({0x51, 0xA2}), "\r\n81,162,"});
    const auto twoByTwo = [] {
        auto image = MakeImage(2, 2);
        Set(image, 0, 0, Rgb(8, 0, 0));   // RGB_565 0x0800
        Set(image, 1, 0, Rgb(16, 0, 0));  // 0x1000
        Set(image, 0, 1, Rgb(24, 0, 0));  // 0x1800
        Set(image, 1, 1, Rgb(32, 0, 0));  // 0x2000
        return image;
    };
    cases.push_back({"SixteenBitRowByRow", twoByTwo, ColourProfile(1),
                     Bytes({0x08, 0, 0x10, 0, 0x18, 0, 0x20, 0}), "\r\n8,0,16,0,24,0,32,0,"});
    cases.push_back({"SixteenBitColumnByColumn", twoByTwo, ColourProfile(1, 1),
                     Bytes({0x08, 0, 0x18, 0, 0x10, 0, 0x20, 0}), "\r\n8,0,24,0,16,0,32,0,"});
    cases.push_back({"SixteenBitColumnByColumnIgnoresBand", twoByTwo, ColourProfile(1, 1, 8),
                     Bytes({0x08, 0, 0x18, 0, 0x10, 0, 0x20, 0}), "\r\n8,0,24,0,16,0,32,0,"});
    cases.push_back({"TwentyFourBitRgbPerPixel",
                     [] {
                         auto image = MakeImage(2, 1);
                         Set(image, 0, 0, Rgb(1, 2, 3));
                         Set(image, 1, 0, Rgb(4, 5, 6));
                         return image;
                     },
                     TrueColourProfile(), Bytes({1, 2, 3, 4, 5, 6}), "\r\n1,2,3,4,5,6,"});
    cases.push_back({"TwentyFourBitColumnByColumn",
                     [] {
                         auto image = MakeImage(2, 2);
                         Set(image, 0, 0, Rgb(1, 1, 1));
                         Set(image, 1, 0, Rgb(2, 2, 2));
                         Set(image, 0, 1, Rgb(3, 3, 3));
                         Set(image, 1, 1, Rgb(4, 4, 4));
                         return image;
                     },
                     TrueColourProfile(1), Bytes({1, 1, 1, 3, 3, 3, 2, 2, 2, 4, 4, 4}),
                     "\r\n1,1,1,3,3,3,2,2,2,4,4,4,"});
    cases.push_back({"EmptyPicture", [] { return MakeImage(0, 0); }, ColourProfile(1), {}, "\r\n"});
    return cases;
}

class EncodeVectors : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeVectors, BinaryAndTextForms) {
    const EncodeCase& c = GetParam();
    const workspace::PixelImage image = c.image();

    std::vector<std::uint8_t> bytes = {0xEE};  // encoding appends behind existing bytes
    ASSERT_TRUE(EncodePicture(image, c.profile, bytes));
    std::vector<std::uint8_t> expected = {0xEE};
    expected.insert(expected.end(), c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(EncodedByteCount(image, c.profile), c.bytes.size());

    std::string text = "x";
    ASSERT_TRUE(EncodePicture(image, c.profile, text));
    EXPECT_EQ(text, "x" + c.text);
}

INSTANTIATE_TEST_SUITE_P(PixelEncoder, EncodeVectors, ::testing::ValuesIn(EncodeCases()),
                         [](const ::testing::TestParamInfo<EncodeCase>& test) {
                             return test.param.name;
                         });

TEST(PixelEncoder, SixteenBitBandOfEightEqualsMaxRowsFirst) {
    auto image = MakeImage(5, 19);
    for (int i = 0; i < 5 * 19; ++i) {
        image.pixels[static_cast<std::size_t>(i)] =
            Rgb(static_cast<std::uint32_t>(i * 7 % 256), static_cast<std::uint32_t>(i * 13 % 256),
                static_cast<std::uint32_t>(i * 29 % 256));
    }
    std::vector<std::uint8_t> banded;
    std::vector<std::uint8_t> whole;
    ASSERT_TRUE(EncodePicture(image, ColourProfile(0, 0, 8), banded));
    ASSERT_TRUE(EncodePicture(image, ColourProfile(0, 0, 0), whole));
    EXPECT_EQ(banded, whole);
}

TEST(PixelEncoder, UsesTheProfilesLevelTable) {
    auto profile = GreyProfile(1);
    profile.colorLevels[1] = 200;
    auto image = MakeImage(8, 1, Grey(199));
    Set(image, 3, 0, Grey(200));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(EncodePicture(image, profile, bytes));
    EXPECT_EQ(bytes, Bytes({0x08}));
}

TEST(PixelEncoder, TransparentPixelsBlendOverBackgroundOnlyForPictureWithAlpha) {
    // Half-transparent red over a blue background (Windows RGB: blue in bits 16-23):
    // red (255*128 + 127) / 255 = 128, blue (255*127 + 127) / 255 = 127.
    auto image = MakeImage(2, 1);
    image.pixels = {0x80FF0000u, 0x00123456u};  // the second fully transparent
    auto profile = TrueColourProfile();
    profile.bkColor = 0xFF0000u;

    image.hasAlpha = true;
    std::vector<std::uint8_t> blended;
    ASSERT_TRUE(EncodePicture(image, profile, blended));
    EXPECT_EQ(blended, Bytes({128, 0, 127, 0, 0, 255}));

    image.hasAlpha = false;  // bitmaps keep their stored colours
    std::vector<std::uint8_t> stored;
    ASSERT_TRUE(EncodePicture(image, profile, stored));
    EXPECT_EQ(stored, Bytes({255, 0, 0, 0x12, 0x34, 0x56}));
}

TEST(PixelEncoder, RefusesUnsupportedDepthAndInconsistentImage) {
    auto profile = GreyProfile(1);
    profile.colorDepth = 3;
    std::vector<std::uint8_t> bytes;
    std::string text;
    EXPECT_FALSE(EncodePicture(MakeImage(8, 1), profile, bytes));
    EXPECT_FALSE(EncodePicture(MakeImage(8, 1), profile, text));

    auto broken = MakeImage(8, 2);
    broken.pixels.resize(8);
    EXPECT_FALSE(EncodePicture(broken, GreyProfile(1), bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(text.empty());
}

// Every depth and direction; the zero side leaves the picture without pixel storage.
std::vector<settings::ModelProfile> EveryDepthAndDirection() {
    std::vector<settings::ModelProfile> profiles;
    for (const int direction : {0, 1}) {
        for (const int depth : {1, 2, 4, 8}) {
            profiles.push_back(GreyProfile(depth, direction, 8));
        }
        profiles.push_back(ColourProfile(0, direction));
        profiles.push_back(ColourProfile(1, direction, 16));
        profiles.push_back(TrueColourProfile(direction));
    }
    return profiles;
}

TEST(PixelEncoder, ZeroWidthOrHeightEncodesNothing) {
    for (const auto& [width, height] : {std::pair{5, 0}, std::pair{0, 5}, std::pair{0, 0}}) {
        const workspace::PixelImage image = MakeImage(width, height);
        for (const settings::ModelProfile& profile : EveryDepthAndDirection()) {
            SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " depth " +
                         std::to_string(profile.colorDepth) + " direction " +
                         std::to_string(profile.convertDirection));
            std::vector<std::uint8_t> bytes;
            EXPECT_TRUE(EncodePicture(image, profile, bytes));
            EXPECT_TRUE(bytes.empty());
            std::string text;
            EXPECT_TRUE(EncodePicture(image, profile, text));
            EXPECT_EQ(text, "\r\n");
        }
    }
}

TEST(PixelEncoder, RowByRowEncodingEqualsWholePicture) {
    // 24-bit and 5-6-5 bitmaps (decoded directly from their rows) and an RLE8 one
    // (decoded whole by Qt), in every profile: the same bytes as encoding the
    // picture Qt's decoder gives.
    const pictor::test::TempDir dir;
    test::Bytes rgb;
    for (int i = 0; i < 12 * 3; ++i) {
        rgb.push_back(static_cast<std::uint8_t>(i * 53 + 7));
    }
    test::Bytes words;
    for (int i = 0; i < 8 * 4; ++i) {
        words.push_back(static_cast<std::uint8_t>(i * 91 + 3));
    }
    const std::vector<test::Bytes> files = {
        test::BuildBitmap({4, 3, 24, 0, {}, {}, rgb}),
        test::BuildBitmap({4, -4, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, words}),
        test::BuildBitmap({4,
                           2,
                           8,
                           1,
                           {},
                           {0x102030, 0x405060, 0xA0B0C0},
                           {3, 1, 1, 2, 0, 0, 0, 3, 0, 1, 2, 0, 1, 2, 0, 1}}),
    };
    for (std::size_t f = 0; f < files.size(); ++f) {
        ASSERT_TRUE(test::WriteBytes(dir / "p.bmp", files[f]));
        const auto whole = workspace::LoadPicture(dir / "p.bmp", true);
        const auto rows = workspace::OpenPictureRows(dir / "p.bmp");
        ASSERT_TRUE(whole.has_value());
        ASSERT_TRUE(rows.has_value());
        for (const settings::ModelProfile& profile : EveryDepthAndDirection()) {
            SCOPED_TRACE("file " + std::to_string(f) + " depth " +
                         std::to_string(profile.colorDepth) + " direction " +
                         std::to_string(profile.convertDirection));
            std::vector<std::uint8_t> expected = {0xEE};
            std::vector<std::uint8_t> actual = {0xEE};
            ASSERT_TRUE(EncodePicture(*whole, profile, expected));
            ASSERT_TRUE(EncodePicture(*rows, profile, actual));
            EXPECT_EQ(actual, expected);
            std::string expectedText = "x";
            std::string actualText = "x";
            ASSERT_TRUE(EncodePicture(*whole, profile, expectedText));
            ASSERT_TRUE(EncodePicture(*rows, profile, actualText));
            EXPECT_EQ(actualText, expectedText);
        }
    }
}

}  // namespace
}  // namespace pictor::conversion
