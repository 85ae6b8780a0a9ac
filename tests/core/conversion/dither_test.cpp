#include "core/conversion/dither.h"

#include <gtest/gtest.h>

#include <cstdint>
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

TEST(Dither, ModeNames) {
    EXPECT_EQ(ParseDitherMode("none"), DitherMode::None);
    EXPECT_EQ(ParseDitherMode("ordered"), DitherMode::Ordered);
    EXPECT_EQ(ParseDitherMode("fs"), DitherMode::FloydSteinberg);
    EXPECT_FALSE(ParseDitherMode("FS").has_value());
}

}  // namespace
}  // namespace pictor::conversion
