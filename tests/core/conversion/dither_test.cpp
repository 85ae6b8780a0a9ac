#include "core/conversion/dither.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
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

// 0 for a pixel the 1-bit encoder turns off, 1 for one it turns on (threshold 128).
std::string OnOff(const workspace::PixelImage& image) {
    std::string rows;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            rows += (image.At(x, y) & 0xFFu) >= 128 ? '1' : '0';
        }
        rows += '/';
    }
    return rows;
}

settings::ModelProfile WithDither(settings::ModelProfile profile, int mode) {
    profile.dither = mode;
    return profile;
}

TEST(Dither, OrderedFourByFourRampAtOneBit) {
    // Greys 0, 17, ..., 255 row by row. A pixel turns on when its Bayer cell b
    // satisfies (2b + 1) x 255 >= 128 x (255 - grey); cells of the tile's corner:
    // 0 32 8 40 / 48 16 56 24 / 12 44 4 36 / 60 28 52 20.
    auto ramp = MakeImage(4, 4);
    for (int i = 0; i < 16; ++i) {
        Set(ramp, i % 4, i / 4, Grey(static_cast<std::uint32_t>(17 * i)));
    }
    workspace::PixelImage storage;
    const workspace::PixelImage& out =
        DitherForEncoding(ramp, WithDither(GreyProfile(1), 1), storage);
    EXPECT_EQ(OnOff(out), "0000/1010/0101/1111/");
    // Each pixel is the lowest grey of its code: 0 or the threshold 128.
    EXPECT_EQ(out.At(0, 1), Grey(128));
    EXPECT_EQ(out.At(1, 1), Grey(0));
}

TEST(Dither, OrderedFlatGreysAtOneBitGiveTheBayerTile) {
    // A pixel turns on when its cell b of the 8x8 Bayer order satisfies
    // (2b + 1) x 255 >= 128 x (255 - grey): grey 2 lights only cell 63, grey 64
    // the cells 48 and up, 128 the cells 32 and up, 192 the cells 16 and up. The
    // tile repeats from the picture's corner (cell 0 at x = 0, y = 0).
    const struct {
        std::uint32_t grey;
        int density;                      // pixels on per tile of 64
        std::array<const char*, 8> tile;  // rows from the top, x = 0 first
    } cases[] = {
        {0,
         0,
         {"00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000",
          "00000000"}},
        {2,
         1,
         {"00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000",
          "10000000"}},
        {64,
         16,
         {"00000000", "10101010", "00000000", "10101010", "00000000", "10101010", "00000000",
          "10101010"}},
        {128,
         32,
         {"01010101", "10101010", "01010101", "10101010", "01010101", "10101010", "01010101",
          "10101010"}},
        {192,
         48,
         {"01010101", "11111111", "01010101", "11111111", "01010101", "11111111", "01010101",
          "11111111"}},
        {255,
         64,
         {"11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "11111111",
          "11111111"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.grey);
        // Two tiles each way, so the pattern's phase shows in every direction.
        const auto flat = MakeImage(16, 16, Grey(c.grey));
        workspace::PixelImage storage;
        const workspace::PixelImage& out =
            DitherForEncoding(flat, WithDither(GreyProfile(1), 1), storage);
        std::string expected;
        for (int y = 0; y < 16; ++y) {
            const std::string row = c.tile[static_cast<std::size_t>(y % 8)];
            expected += row + row + "/";
        }
        const std::string actual = OnOff(out);
        EXPECT_EQ(std::count(actual.begin(), actual.end(), '1'), 4 * c.density);
        EXPECT_EQ(actual, expected);
    }
}

TEST(Dither, FloydSteinbergRunsSerpentine) {
    // Flat grey 100 (1600 sixteenths), 4 x 2. Row 0 left to right: 1600 -> off
    // (error 1600); 2300 -> on (-1780); 822 -> off; 1959 -> off. Row 1 right to
    // left with the shares received: 2265 -> on; 1316 -> off; 1873 -> off; 2586 -> on.
    const auto flat = MakeImage(4, 2, Grey(100));
    workspace::PixelImage storage;
    const workspace::PixelImage& out =
        DitherForEncoding(flat, WithDither(GreyProfile(1), 2), storage);
    EXPECT_EQ(OnOff(out), "0100/1001/");
}

TEST(Dither, RedGradientAt565) {
    // Red 4, 12, 20, 28 (5-bit codes 0, 1, 2, 3 undithered).
    auto gradient = MakeImage(4, 1);
    for (int x = 0; x < 4; ++x) {
        Set(gradient, x, 0, Rgb(static_cast<std::uint32_t>(4 + 8 * x), 0, 0));
    }
    const auto encode = [&gradient](int mode) {
        workspace::PixelImage storage;
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(
            EncodePicture(DitherForEncoding(gradient, WithDither(ColourProfile(1), mode), storage),
                          WithDither(ColourProfile(1), mode), bytes));
        return bytes;
    };
    EXPECT_EQ(encode(0), Bytes({0x00, 0, 0x08, 0, 0x10, 0, 0x18, 0}));
    // Ordered, cells 0 32 8 40: codes 0, 1, 2, 4.
    EXPECT_EQ(encode(1), Bytes({0x00, 0, 0x08, 0, 0x10, 0, 0x20, 0}));
    // Floyd-Steinberg: 64 -> 0 (+28 ahead); 220 -> 2 (-15); 305 -> 2 (+21); 469 -> 4.
    EXPECT_EQ(encode(2), Bytes({0x00, 0, 0x10, 0, 0x10, 0, 0x20, 0}));
}

TEST(Dither, BlendsFirstAndLeavesOtherCasesAlone) {
    // Fully transparent black over a white background dithers as white.
    auto clear = MakeImage(8, 1, 0x00000000u);
    clear.hasAlpha = true;
    settings::ModelProfile profile = WithDither(GreyProfile(1), 2);
    profile.bkColor = 0xFFFFFF;
    workspace::PixelImage storage;
    const workspace::PixelImage& out = DitherForEncoding(clear, profile, storage);
    EXPECT_FALSE(out.hasAlpha);
    EXPECT_EQ(OnOff(out), "11111111/");

    // No copy at all without a mode, at 24-bit, or for an unknown mode.
    const auto picture = MakeImage(3, 3, Grey(77));
    for (const settings::ModelProfile& p :
         {GreyProfile(1), WithDither(TrueColourProfile(), 2), WithDither(GreyProfile(2), 7)}) {
        EXPECT_EQ(&DitherForEncoding(picture, p, storage), &picture);
    }
    // 8-bit with the default table has one code per grey: ordered changes nothing.
    const auto eight = MakeImage(8, 8, Grey(77));
    EXPECT_EQ(DitherForEncoding(eight, WithDither(GreyProfile(8), 1), storage).pixels,
              eight.pixels);
}

// Floyd-Steinberg written the plain way, as the fast pass must behave: a whole
// error plane per channel, values in sixteenths, truncating shares (7, 3, 5 and
// the rest to the next pixel, below-behind, below, below-ahead), shares leaving
// the picture dropped, even rows left to right.
struct PlainChannel {
    int levels;
    std::array<int, 256> intensity;  // 8-bit value each code stands for
    std::array<std::uint32_t, 256> written;
};

int PlainCode(int v, int levels) {
    if (v <= 0) {
        return 0;
    }
    if (v >= 4080) {
        return levels - 1;
    }
    return (v * (levels - 1) + 2040) / 4080;
}

std::vector<std::uint32_t> PlainFloydSteinberg(const std::vector<int>& values, int width,
                                               int height, const PlainChannel& channel) {
    std::vector<int> error(values.size(), 0);
    std::vector<std::uint32_t> out(values.size(), 0);
    const auto at = [width](int x, int y) { return static_cast<std::size_t>(y * width + x); };
    for (int y = 0; y < height; ++y) {
        const int dir = y % 2 == 0 ? 1 : -1;
        for (int i = 0; i < width; ++i) {
            const int x = dir > 0 ? i : width - 1 - i;
            const int v = values[at(x, y)] * 16 + error[at(x, y)];
            const int code = PlainCode(v, channel.levels);
            const int e = v - channel.intensity[static_cast<std::size_t>(code)] * 16;
            out[at(x, y)] = channel.written[static_cast<std::size_t>(code)];
            const int ahead = e * 7 / 16;
            const int behindBelow = e * 3 / 16;
            const int below = e * 5 / 16;
            const int aheadBelow = e - ahead - behindBelow - below;
            const auto share = [&](int sx, int sy, int amount) {
                if (sx >= 0 && sx < width && sy < height) {
                    error[at(sx, sy)] += amount;
                }
            };
            share(x + dir, y, ahead);
            share(x - dir, y + 1, behindBelow);
            share(x, y + 1, below);
            share(x + dir, y + 1, aheadBelow);
        }
    }
    return out;
}

// The plain result for a profile: grey depths on (R + G + B) / 3 with code k
// written as the lowest grey the thresholds give k; 565 on each channel with
// code k standing for its bits repeated to 8 and written as k in the top bits.
std::vector<std::uint32_t> PlainDither(const workspace::PixelImage& image,
                                       const settings::ModelProfile& profile) {
    std::vector<std::uint32_t> argb = image.pixels;
    if (image.hasAlpha) {
        for (std::uint32_t& p : argb) {
            p = BlendOverBackground(p, profile.bkColor);
        }
    }
    std::vector<std::uint32_t> out(argb.size(), 0xFF000000u);
    if (profile.colorDepth != 16) {
        PlainChannel grey{1 << profile.colorDepth, {}, {}};
        std::array<int, 256> codeOfGrey{};  // the highest code whose threshold the grey reaches
        for (int g = 0; g < 256; ++g) {
            for (int c = 0; c < grey.levels; ++c) {
                if (g >= profile.colorLevels[static_cast<std::size_t>(c)]) {
                    codeOfGrey[static_cast<std::size_t>(g)] = c;
                }
            }
        }
        for (int k = 0; k < grey.levels; ++k) {
            grey.intensity[static_cast<std::size_t>(k)] = k * 255 / (grey.levels - 1);
            const auto first = std::find(codeOfGrey.begin(), codeOfGrey.end(), k);
            grey.written[static_cast<std::size_t>(k)] =
                static_cast<std::uint32_t>(first - codeOfGrey.begin()) * 0x010101u;
        }
        std::vector<int> values;
        for (const std::uint32_t p : argb) {
            values.push_back(
                static_cast<int>(((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu)) / 3);
        }
        const auto result = PlainFloydSteinberg(values, image.width, image.height, grey);
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] |= result[i];
        }
        return out;
    }
    const std::array<int, 3> bits = {5, 6, 5};
    for (int c = 0; c < 3; ++c) {
        const int b = bits[static_cast<std::size_t>(c)];
        PlainChannel channel{1 << b, {}, {}};
        for (int k = 0; k < channel.levels; ++k) {
            // 5 bits: abcde -> abcdeabc; 6 bits: abcdef -> abcdefab.
            channel.intensity[static_cast<std::size_t>(k)] = (k << (8 - b)) | (k >> (2 * b - 8));
            channel.written[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(k << (8 - b));
        }
        const int shift = 16 - 8 * c;
        std::vector<int> values;
        for (const std::uint32_t p : argb) {
            values.push_back(static_cast<int>((p >> shift) & 0xFFu));
        }
        const auto result = PlainFloydSteinberg(values, image.width, image.height, channel);
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] |= result[i] << shift;
        }
    }
    return out;
}

// Ordered dithering depends only on a pixel's value and its place in the 8x8
// tile, so a large picture (dithered through its per-row table) and 8-aligned
// crops of it (small pictures, dithered pixel by pixel) must agree.
TEST(Dither, OrderedLargePictureAgreesWithItsSmallCrops) {
    std::mt19937 random(7u);  // fixed start value: the same picture every run
    constexpr int kWidth = 264;
    constexpr int kHeight = 200;  // 52800 pixels, more than the small-picture way takes
    auto picture = MakeImage(kWidth, kHeight);
    for (std::uint32_t& p : picture.pixels) {
        p = static_cast<std::uint32_t>(random()) | 0xFF000000u;
    }
    for (const int depth : {1, 2, 4, 8}) {
        const settings::ModelProfile profile = WithDither(GreyProfile(depth), 1);
        workspace::PixelImage storage;
        const workspace::PixelImage whole = DitherForEncoding(picture, profile, storage);
        for (const auto& [left, top] : {std::pair{0, 0}, std::pair{128, 64}, std::pair{256, 192}}) {
            auto crop = MakeImage(8, 8);
            for (int y = 0; y < 8; ++y) {
                for (int x = 0; x < 8; ++x) {
                    Set(crop, x, y, picture.At(left + x, top + y));
                }
            }
            workspace::PixelImage cropStorage;
            const workspace::PixelImage& part = DitherForEncoding(crop, profile, cropStorage);
            for (int y = 0; y < 8; ++y) {
                for (int x = 0; x < 8; ++x) {
                    ASSERT_EQ(whole.At(left + x, top + y), part.At(x, y))
                        << "depth " << depth << " at " << left + x << "," << top + y;
                }
            }
        }
    }
}

TEST(Dither, FloydSteinbergMatchesThePlainWayOnRandomPictures) {
    std::mt19937 random(20261207u);  // fixed start value: the same pictures every run
    const auto upTo = [&random](int n) { return std::uniform_int_distribution<int>(0, n)(random); };
    constexpr std::array<int, 5> kDepths = {1, 2, 4, 8, 16};
    for (int round = 0; round < 400; ++round) {
        const int depth = kDepths[static_cast<std::size_t>(round % 5)];
        settings::ModelProfile profile =
            depth == 16 ? ColourProfile(round % 2) : GreyProfile(depth);
        if (depth != 16 && upTo(1) == 1) {
            // Uneven thresholds, each code still reachable.
            int level = 0;
            for (int k = 0; k < (1 << depth); ++k) {
                profile.colorLevels[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(level);
                level += 1 + upTo(((256 - level) >> depth) * 2);
                level = std::min(level, 255 - ((1 << depth) - k - 2));
            }
        }
        profile.dither = 2;
        profile.bkColor = static_cast<std::uint32_t>(random()) & 0xFFFFFFu;
        // Mostly small pictures; every tenth one wide enough for long rows.
        auto picture = MakeImage(1 + upTo(round % 10 == 0 ? 70 : 9), 1 + upTo(9));
        picture.hasAlpha = upTo(3) == 0;
        const int style = upTo(2);  // noise, saturated extremes, or a smooth ramp
        for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
            auto p = static_cast<std::uint32_t>(random());
            if (style == 1) {
                p = (p & 0x80808080u) / 0x80u * 0xFFu;  // each byte 0 or 255
            } else if (style == 2) {
                p = 0xFF000000u | (static_cast<std::uint32_t>(i * 7 % 256) * 0x010101u);
            }
            picture.pixels[i] = picture.hasAlpha ? p : (p | 0xFF000000u);
        }
        workspace::PixelImage storage;
        const workspace::PixelImage& out = DitherForEncoding(picture, profile, storage);
        ASSERT_EQ(out.pixels, PlainDither(picture, profile))
            << "round " << round << ", depth " << depth << ", " << picture.width << " x "
            << picture.height;
    }
}

// The conversion packs the dithering's codes directly. For every layout the
// encoder has (depth, direction, band, channel layout, binary and C source) the
// bytes must be those of encoding the dithered pixels.
TEST(Dither, OnePassEncodingGivesTheBytesOfTheDitheredPixels) {
    std::mt19937 random(7u);  // fixed start value: the same pictures every run
    const auto upTo = [&random](int n) { return std::uniform_int_distribution<int>(0, n)(random); };
    constexpr std::array<int, 5> kDepths = {1, 2, 4, 8, 16};
    for (int round = 0; round < 300; ++round) {
        const int depth = kDepths[static_cast<std::size_t>(round % 5)];
        const int direction = upTo(1);
        const int band = upTo(2) == 0 ? 0 : 1 + upTo(12);
        settings::ModelProfile profile = depth == 16 ? ColourProfile(upTo(1), direction, band)
                                                     : GreyProfile(depth, direction, band);
        if (depth == 16 && upTo(3) == 0) {
            profile.channelLayout = {8, 4, 0, 4, 4, 4, 0x0F00, 0x00F0, 0x000F};  // 4-4-4
        }
        profile.dither = 1 + upTo(1);
        profile.bkColor = static_cast<std::uint32_t>(random()) & 0xFFFFFFu;
        // Widths around the vector steps and their remainders.
        auto picture = MakeImage(1 + upTo(round % 4 == 0 ? 40 : 17), 1 + upTo(12));
        picture.hasAlpha = upTo(3) == 0;
        for (std::uint32_t& p : picture.pixels) {
            p = static_cast<std::uint32_t>(random());
            p = picture.hasAlpha ? p : (p | 0xFF000000u);
        }
        workspace::PixelImage storage;
        const workspace::PixelImage& dithered = DitherForEncoding(picture, profile, storage);
        std::vector<std::uint8_t> expected;
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(EncodePicture(dithered, profile, expected));
        ASSERT_TRUE(EncodeDithered(picture, profile, bytes));
        ASSERT_EQ(bytes, expected) << "round " << round << ", depth " << depth << ", direction "
                                   << direction << ", band " << band << ", mode " << profile.dither
                                   << ", " << picture.width << " x " << picture.height;
        std::string expectedText = "int x[] = {";
        std::string text = expectedText;
        ASSERT_TRUE(EncodePicture(dithered, profile, expectedText));
        ASSERT_TRUE(EncodeDithered(picture, profile, text));
        ASSERT_EQ(text, expectedText) << "round " << round;
    }
}

TEST(Dither, OnePassEncodingRefusesWhatTheEncoderRefuses) {
    std::vector<std::uint8_t> bytes = {9};
    // A picture whose pixel count does not match its size appends nothing.
    auto broken = MakeImage(4, 4, Grey(10));
    broken.pixels.pop_back();
    EXPECT_FALSE(EncodeDithered(broken, WithDither(GreyProfile(1), 2), bytes));
    EXPECT_EQ(bytes, Bytes({9}));
    // Without a dither mode it is the plain encoder, 24-bit included.
    const auto picture = MakeImage(3, 2, Rgb(1, 2, 3));
    for (const settings::ModelProfile& p : {GreyProfile(1), WithDither(TrueColourProfile(), 2)}) {
        std::vector<std::uint8_t> expected;
        std::vector<std::uint8_t> got;
        ASSERT_TRUE(EncodePicture(picture, p, expected));
        ASSERT_TRUE(EncodeDithered(picture, p, got));
        EXPECT_EQ(got, expected);
    }

    // A quantised plane must match its picture and the profile's depth.
    QuantisedPicture quantised;
    quantised.width = 8;
    quantised.height = 1;
    quantised.codes.assign(8, 1);
    EXPECT_TRUE(EncodeQuantised(quantised, GreyProfile(1), bytes));
    EXPECT_EQ(bytes, Bytes({9, 0xFF}));
    EXPECT_FALSE(EncodeQuantised(quantised, ColourProfile(0), bytes));  // no words
    EXPECT_FALSE(EncodeQuantised(quantised, TrueColourProfile(), bytes));
    quantised.codes.pop_back();
    EXPECT_FALSE(EncodeQuantised(quantised, GreyProfile(1), bytes));
    EXPECT_EQ(bytes, Bytes({9, 0xFF}));
}

TEST(Dither, ModeNames) {
    EXPECT_EQ(ParseDitherMode("none"), DitherMode::None);
    EXPECT_EQ(ParseDitherMode("ordered"), DitherMode::Ordered);
    EXPECT_EQ(ParseDitherMode("fs"), DitherMode::FloydSteinberg);
    EXPECT_FALSE(ParseDitherMode("FS").has_value());
}

}  // namespace
}  // namespace pictor::conversion
