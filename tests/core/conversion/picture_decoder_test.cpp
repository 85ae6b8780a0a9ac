#include "core/conversion/picture_decoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/conversion/conversion_test_support.h"
#include "core/conversion/pixel_encoder.h"

namespace pictor::conversion {
namespace {

using testing::Bytes;
using testing::ColourProfile;
using testing::Grey;
using testing::GreyProfile;
using testing::MakeImage;
using testing::Rgb;
using testing::Set;
using testing::TrueColourProfile;

// --- hand-made vectors ----------------------------------------------------------

TEST(PictureDecoder, GreyCodesStandForTheMiddleOfTheirRange) {
    // 1-bit default thresholds 0, 128: greys 0..127 and 128..255.
    const auto one = GreyOfCodes(GreyProfile(1));
    EXPECT_EQ(one[0], 63);
    EXPECT_EQ(one[1], 191);
    // 2-bit: 0..63, 64..127, 128..191, 192..255.
    const auto two = GreyOfCodes(GreyProfile(2));
    EXPECT_EQ((std::vector<int>{two[0], two[1], two[2], two[3]}),
              (std::vector<int>{31, 95, 159, 223}));
    // 8-bit default: every grey is its own code.
    const auto eight = GreyOfCodes(GreyProfile(8));
    EXPECT_EQ(eight[0], 0);
    EXPECT_EQ(eight[200], 200);
    // Codes are searched from the top, so with thresholds 10, 200, 100, 255 code 2
    // takes greys 100..254 before code 1 is tried: code 1 is never reached and
    // stands for its threshold; greys below 10 fall to code 0.
    settings::ModelProfile odd = GreyProfile(2);
    odd.colorLevels = {};
    odd.colorLevels[0] = 10;
    odd.colorLevels[1] = 200;
    odd.colorLevels[2] = 100;
    odd.colorLevels[3] = 255;
    const auto greys = GreyOfCodes(odd);
    EXPECT_EQ(greys[0], 49);   // 0..99
    EXPECT_EQ(greys[1], 200);  // unreachable
    EXPECT_EQ(greys[2], 177);  // 100..254
    EXPECT_EQ(greys[3], 255);
}

TEST(PictureDecoder, OneBitBytesFillColumnsOfBytesThenTheNextGroup) {
    // 16 x 2, direction 0: (cols 0-7, row 0), (cols 0-7, row 1), (cols 8-15, row 0), ...
    const DecodeResult result =
        DecodePixels(Bytes({0x01, 0x80, 0x00, 0xFF}), 16, 2, GreyProfile(1));
    ASSERT_TRUE(result.ok) << result.error;
    auto expected = MakeImage(16, 2, Grey(63));
    Set(expected, 0, 0, Grey(191));
    Set(expected, 7, 1, Grey(191));
    for (int x = 8; x < 16; ++x) {
        Set(expected, x, 1, Grey(191));
    }
    EXPECT_EQ(result.image.pixels, expected.pixels);

    // Direction 1 with bands of 8 columns: 10 x 8 holds band 0 (columns 0-7) and
    // band 1 (columns 8-9), each one byte per column, the top pixel in bit 0.
    const DecodeResult vertical =
        DecodePixels(Bytes({0x01, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF}), 10, 8, GreyProfile(1, 1, 8));
    ASSERT_TRUE(vertical.ok) << vertical.error;
    auto expectedVertical = MakeImage(10, 8, Grey(63));
    Set(expectedVertical, 0, 0, Grey(191));
    Set(expectedVertical, 8, 7, Grey(191));
    for (int y = 0; y < 8; ++y) {
        Set(expectedVertical, 9, y, Grey(191));
    }
    EXPECT_EQ(vertical.image.pixels, expectedVertical.pixels);
}

TEST(PictureDecoder, ColourWordsAndBytes) {
    // Pure red and white in both 565 types; widening repeats the top bits.
    const DecodeResult rgb =
        DecodePixels(Bytes({0xF8, 0x00, 0xFF, 0xFF, 0x84, 0x10}), 3, 1, ColourProfile(1));
    ASSERT_TRUE(rgb.ok);
    EXPECT_EQ(rgb.image.pixels,
              (std::vector<std::uint32_t>{Rgb(255, 0, 0), Rgb(255, 255, 255), Rgb(132, 130, 132)}));
    const DecodeResult bgr = DecodePixels(Bytes({0x00, 0x1F}), 1, 1, ColourProfile(0));
    EXPECT_EQ(bgr.image.pixels, (std::vector<std::uint32_t>{Rgb(255, 0, 0)}));
    // 24-bit, direction 1: column after column.
    const DecodeResult tc =
        DecodePixels(Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), 2, 2, TrueColourProfile(1));
    EXPECT_EQ(tc.image.pixels, (std::vector<std::uint32_t>{Rgb(1, 2, 3), Rgb(7, 8, 9), Rgb(4, 5, 6),
                                                           Rgb(10, 11, 12)}));
}

TEST(PictureDecoder, RefusesShortDataAndBadProfiles) {
    EXPECT_FALSE(DecodePixels(Bytes({0xF8}), 1, 1, ColourProfile(1)).ok);
    EXPECT_FALSE(DecodePixels(Bytes({1, 2, 3, 4, 5}), 1, 2, TrueColourProfile()).ok);
    EXPECT_FALSE(DecodePixels(Bytes({0}), 16, 1, GreyProfile(1)).ok);
    EXPECT_FALSE(DecodePixels(Bytes({}), -1, 1, GreyProfile(1)).ok);
    settings::ModelProfile bad = GreyProfile(1);
    bad.colorDepth = 3;
    const DecodeResult refused = DecodePixels(Bytes({0}), 1, 1, bad);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("depth 3"), std::string::npos);
    // Nothing to decode is not an error: 7 pixels wide at 1-bit is no whole byte.
    const DecodeResult narrow = DecodePixels(Bytes({}), 7, 3, GreyProfile(1));
    ASSERT_TRUE(narrow.ok);
    EXPECT_EQ(narrow.image.width, 0);
    EXPECT_EQ(narrow.image.height, 3);
}

// --- reading through the table ----------------------------------------------------

// An image with unit 4: picture 0 (RGB_565 2x1, prefix) at 2048, picture 1 (1x1)
// at 2060 after two fill bytes.
std::vector<std::uint8_t> TwoPictureImage() {
    std::vector<std::uint8_t> image(2048, 0);
    image[0] = 2048 / 4 % 256;
    image[1] = 2048 / 4 / 256;
    image[4] = 2060 / 4 % 256;
    image[5] = 2060 / 4 / 256;
    const auto append = [&image](std::initializer_list<int> bytes) {
        for (const int b : bytes) {
            image.push_back(static_cast<std::uint8_t>(b));
        }
    };
    append({1, 2, 0, 0, 0, 0, 0xF8, 0x00, 0x07, 0xE0, 0, 0});  // v 1, h 2; red, green; fill
    append({1, 1, 0, 0, 0, 0, 0x00, 0x1F});                    // v 1, h 1; blue
    return image;
}

settings::ModelProfile TableProfile() {
    settings::ModelProfile profile = ColourProfile(1);
    profile.minAllocateSize = 4;
    profile.saveWidthHeightToBin = 1;
    return profile;
}

TEST(PictureDecoder, ReadsPicturesThroughTheTable) {
    const std::vector<std::uint8_t> image = TwoPictureImage();
    const DecodeResult first = DecodeStoredPicture(image, 0, TableProfile());
    ASSERT_TRUE(first.ok) << first.error;
    EXPECT_EQ(first.image.width, 2);
    EXPECT_EQ(first.image.pixels, (std::vector<std::uint32_t>{Rgb(255, 0, 0), Rgb(0, 255, 0)}));
    const DecodeResult second = DecodeStoredPicture(image, 1, TableProfile(), PictureSize{1, 1});
    ASSERT_TRUE(second.ok) << second.error;
    EXPECT_EQ(second.image.pixels, (std::vector<std::uint32_t>{Rgb(0, 0, 255)}));

    // Without a prefix the size is given and the data starts at the block.
    settings::ModelProfile plain = TableProfile();
    plain.saveWidthHeightToBin = 0;
    const DecodeResult raw = DecodeStoredPicture(image, 1, plain, PictureSize{1, 1});
    ASSERT_TRUE(raw.ok) << raw.error;
    EXPECT_EQ(raw.image.pixels, (std::vector<std::uint32_t>{Rgb(0, 32, 8)}));  // word 0x0101
}

TEST(PictureDecoder, RefusesBrokenImagesWithoutReadingPastTheEnd) {
    const std::vector<std::uint8_t> good = TwoPictureImage();
    struct Case {
        std::string label;
        std::vector<std::uint8_t> image;
        std::size_t index;
        std::optional<PictureSize> size;
        bool prefix;
        const char* expected;
    };
    std::vector<Case> cases = {
        {"short table", std::vector<std::uint8_t>(good.begin(), good.begin() + 2047), 0,
         std::nullopt, true, "shorter"},
        {"index 512", good, 512, std::nullopt, true, "no picture 512"},
        {"empty entry", good, 2, std::nullopt, true, "holds no picture 2"},
        {"size mismatch", good, 0, PictureSize{3, 1}, true, "prefix says 2x1"},
        {"no size", good, 0, std::nullopt, false, "must be given"},
        {"data cut", std::vector<std::uint8_t>(good.begin(), good.end() - 1), 1, std::nullopt, true,
         "past the end"},
        {"prefix cut", std::vector<std::uint8_t>(good.begin(), good.begin() + 2063), 1,
         std::nullopt, true, "prefix"},
    };
    std::vector<std::uint8_t> inTable = good;
    inTable[0] = 1;  // offset 4: inside the table
    inTable[1] = 0;
    cases.push_back({"inside table", inTable, 0, std::nullopt, true, "inside the table"});
    std::vector<std::uint8_t> overlap = good;
    overlap[4] = 2056 / 4 % 256;  // picture 1 starts before picture 0 ends (2058)
    cases.push_back({"overlap", overlap, 0, std::nullopt, true, "overlaps"});
    std::vector<std::uint8_t> huge = good;
    huge[2060] = 0xFF;  // v 65535 at picture 1
    huge[2062] = 0xFF;
    cases.push_back({"huge prefix", huge, 1, std::nullopt, true, "past the end"});

    for (const Case& c : cases) {
        settings::ModelProfile profile = TableProfile();
        profile.saveWidthHeightToBin = c.prefix ? 1 : 0;
        const DecodeResult result = DecodeStoredPicture(c.image, c.index, profile, c.size);
        EXPECT_FALSE(result.ok) << c.label;
        EXPECT_NE(result.error.find(c.expected), std::string::npos)
            << c.label << ": " << result.error;
    }
}

// --- round trip -------------------------------------------------------------------

// The per-pixel mapping on its own, written without the encoder's scan: blend,
// crop to whole byte groups, then grey code -> middle grey, or 565 -> widened.
workspace::PixelImage Quantize(const workspace::PixelImage& source,
                               const settings::ModelProfile& profile) {
    const int depth = profile.colorDepth;
    const bool grey = depth <= 8;
    const int perByte = grey ? 8 / depth : 1;
    const int width =
        profile.convertDirection == 0 ? source.width / perByte * perByte : source.width;
    const int height =
        profile.convertDirection == 1 ? source.height / perByte * perByte : source.height;

    const auto codeOf = [&](int g) {
        for (int k = (1 << depth) - 1; k >= 0; --k) {
            if (g >= profile.colorLevels[static_cast<std::size_t>(k)]) {
                return k;
            }
        }
        return 0;
    };
    std::vector<int> code(256, 0);
    std::vector<int> middle(256, -1);
    if (grey) {
        for (int g = 0; g < 256; ++g) {
            code[static_cast<std::size_t>(g)] = codeOf(g);
        }
        for (int k = 0; k < (1 << depth); ++k) {
            int low = -1;
            int high = -1;
            for (int g = 0; g < 256; ++g) {
                if (code[static_cast<std::size_t>(g)] == k) {
                    low = low < 0 ? g : low;
                    high = g;
                }
            }
            middle[static_cast<std::size_t>(k)] =
                low < 0 ? profile.colorLevels[static_cast<std::size_t>(k)] : (low + high) / 2;
        }
    }

    workspace::PixelImage out = MakeImage(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = source.At(x, y);
            unsigned r = (p >> 16) & 0xFF;
            unsigned g = (p >> 8) & 0xFF;
            unsigned b = p & 0xFF;
            if (source.hasAlpha) {
                const unsigned a = p >> 24;
                const std::uint32_t bk = profile.bkColor;
                r = (r * a + (bk & 0xFF) * (255 - a) + 127) / 255;
                g = (g * a + ((bk >> 8) & 0xFF) * (255 - a) + 127) / 255;
                b = (b * a + ((bk >> 16) & 0xFF) * (255 - a) + 127) / 255;
            }
            if (grey) {
                const auto level = static_cast<unsigned>(
                    middle[static_cast<std::size_t>(codeOf(static_cast<int>((r + g + b) / 3)))]);
                r = g = b = level;
            } else if (depth == 16) {
                r = ((r >> 3) << 3) | (r >> 5);
                g = ((g >> 2) << 2) | (g >> 6);
                b = ((b >> 3) << 3) | (b >> 5);
            }
            Set(out, x, y, Rgb(r, g, b));
        }
    }
    return out;
}

TEST(PictureDecoder, DecodeOfEncodeIsTheQuantizedPicture) {
    const int depths[] = {1, 2, 4, 8, 16, 24};
    const int blocks[] = {0, 8, 16, 24, 104};
    for (const unsigned start : {1U, 2U, 3U, 4U, 5U}) {
        std::mt19937 rng(start);
        const auto pick = [&rng](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(rng);
        };
        for (int round = 0; round < 200; ++round) {
            const int depth = depths[pick(0, 5)];
            const int direction = pick(0, 1);
            const int block = blocks[pick(0, 4)];
            settings::ModelProfile profile =
                depth <= 8 ? GreyProfile(depth, direction, block)
                           : (depth == 16 ? ColourProfile(pick(0, 1), direction, block)
                                          : TrueColourProfile(direction));
            profile.blockColNum = block;
            if (depth <= 8 && pick(0, 1) == 1) {
                for (int k = 0; k < (1 << depth); ++k) {
                    profile.colorLevels[static_cast<std::size_t>(k)] =
                        static_cast<std::uint8_t>(pick(0, 255));
                }
            }
            profile.bkColor = static_cast<std::uint32_t>(pick(0, 0xFFFFFF));
            auto picture = MakeImage(pick(0, 40), pick(0, 40));
            picture.hasAlpha = pick(0, 3) == 0;
            for (std::uint32_t& p : picture.pixels) {
                p = static_cast<std::uint32_t>(rng());
            }
            std::vector<std::uint8_t> encoded;
            ASSERT_TRUE(EncodePicture(picture, profile, encoded));
            const DecodeResult decoded =
                DecodePixels(encoded, picture.width, picture.height, profile);
            const std::string label =
                "start " + std::to_string(start) + " round " + std::to_string(round) + " depth " +
                std::to_string(depth) + " dir " + std::to_string(direction) + " block " +
                std::to_string(block) + " size " + std::to_string(picture.width) + "x" +
                std::to_string(picture.height);
            ASSERT_TRUE(decoded.ok) << label << ": " << decoded.error;
            const workspace::PixelImage expected = Quantize(picture, profile);
            ASSERT_EQ(decoded.image.width, expected.width) << label;
            ASSERT_EQ(decoded.image.height, expected.height) << label;
            ASSERT_EQ(decoded.image.pixels, expected.pixels) << label;
        }
    }
}

}  // namespace
}  // namespace pictor::conversion
