#include "core/workspace/picture_operations.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/workspace/operation_values.h"

namespace pictor::workspace {
namespace {

// Opaque pixels whose value names their place: A..F below.
constexpr std::uint32_t A = 0xFF0000A1;
constexpr std::uint32_t B = 0xFF0000B2;
constexpr std::uint32_t C = 0xFF0000C3;
constexpr std::uint32_t D = 0xFF0000D4;
constexpr std::uint32_t E = 0xFF0000E5;
constexpr std::uint32_t F = 0xFF0000F6;

PixelImage Picture(int width, int height, std::vector<std::uint32_t> pixels, bool alpha = false) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels = std::move(pixels);
    image.hasAlpha = alpha;
    return image;
}

// A B C
// D E F
PixelImage ThreeByTwo() {
    return Picture(3, 2, {A, B, C, D, E, F});
}

PixelImage Grey(int width, int height, const std::vector<int>& values) {
    std::vector<std::uint32_t> pixels;
    for (const int v : values) {
        const auto g = static_cast<std::uint32_t>(v);
        pixels.push_back(0xFF000000u | (g << 16) | (g << 8) | g);
    }
    return Picture(width, height, pixels);
}

std::vector<int> GreysOf(const PixelImage& image) {
    std::vector<int> values;
    for (const std::uint32_t p : image.pixels) {
        values.push_back(static_cast<int>(p & 0xFFu));
    }
    return values;
}

void ExpectPicture(const PixelImage& image, int width, int height,
                   const std::vector<std::uint32_t>& pixels) {
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, height);
    EXPECT_EQ(image.pixels, pixels);
}

PictureOperations Rotated(int degrees) {
    PictureOperations operations;
    operations.rotate = degrees;
    return operations;
}

PictureOperations Flipped(Flip flip) {
    PictureOperations operations;
    operations.flip = flip;
    return operations;
}

PictureOperations Scaled(int width, int height, std::optional<ScaleFilter> filter = {}) {
    PictureOperations operations;
    operations.scale = {ScaleMode::Exact, width, height};
    operations.filter = filter;
    return operations;
}

TEST(PictureOperations, RotateClockwise) {
    // 90: the left column, read bottom up, becomes the top row.
    ExpectPicture(ApplyOperations(ThreeByTwo(), Rotated(90)), 2, 3, {D, A, E, B, F, C});
    ExpectPicture(ApplyOperations(ThreeByTwo(), Rotated(180)), 3, 2, {F, E, D, C, B, A});
    ExpectPicture(ApplyOperations(ThreeByTwo(), Rotated(270)), 2, 3, {C, F, B, E, A, D});
}

TEST(PictureOperations, FlipMirrorsTheNamedWay) {
    ExpectPicture(ApplyOperations(ThreeByTwo(), Flipped(Flip::Horizontal)), 3, 2,
                  {C, B, A, F, E, D});
    ExpectPicture(ApplyOperations(ThreeByTwo(), Flipped(Flip::Vertical)), 3, 2, {D, E, F, A, B, C});
    ExpectPicture(ApplyOperations(ThreeByTwo(), Flipped(Flip::Both)), 3, 2, {F, E, D, C, B, A});
}

TEST(PictureOperations, CropTakesSourcePixelsAndRefusesWhatReachesOutside) {
    PictureOperations crop;
    crop.crop = PixelRect{1, 0, 2, 2};
    ExpectPicture(ApplyOperations(ThreeByTwo(), crop), 2, 2, {B, C, E, F});
    crop.crop = PixelRect{2, 1, 1, 1};
    ExpectPicture(ApplyOperations(ThreeByTwo(), crop), 1, 1, {F});

    OperationsFault fault = OperationsFault::None;
    for (const PixelRect outside : {PixelRect{2, 0, 2, 2}, PixelRect{0, 1, 3, 2},
                                    PixelRect{-1, 0, 1, 1}, PixelRect{0, 0, 0, 1}}) {
        crop.crop = outside;
        EXPECT_FALSE(OperatedSize({3, 2}, crop, &fault)) << CropText(outside);
        EXPECT_EQ(fault, OperationsFault::CropOutside);
        EXPECT_TRUE(OperationsFaultMessage("pic.bmp", {3, 2}, crop));
    }
}

TEST(PictureOperations, ApplyInTheOrderCropRotateFlipScaleInvert) {
    PictureOperations all;
    all.crop = PixelRect{1, 0, 2, 2};  // B C / E F
    all.rotate = 90;                   // E B / F C
    all.flip = Flip::Horizontal;       // B E / C F
    all.scale = {ScaleMode::Exact, 4, 2};
    all.invert = true;
    const std::uint32_t b = InvertPixel(B);
    const std::uint32_t c = InvertPixel(C);
    const std::uint32_t e = InvertPixel(E);
    const std::uint32_t f = InvertPixel(F);
    ExpectPicture(ApplyOperations(ThreeByTwo(), all), 4, 2, {b, b, e, e, c, c, f, f});
    // Flipping before rotating would have given F C / E B.
    EXPECT_EQ(OperatedSize({3, 2}, all), (PictureSize{4, 2}));
}

TEST(PictureOperations, NearestScalingRepeatsOrPicksTheCentrePixel) {
    ExpectPicture(ApplyOperations(Picture(2, 1, {A, B}), Scaled(4, 2)), 4, 2,
                  {A, A, B, B, A, A, B, B});
    // Halving: each target pixel takes the source pixel under its centre, which
    // falls on the border of two; the right (lower) one is taken.
    const PixelImage four = Grey(4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(GreysOf(ApplyOperations(four, Scaled(2, 1, ScaleFilter::Nearest))),
              (std::vector<int>{6, 8}));
}

TEST(PictureOperations, AreaScalingAveragesCoveredPixels) {
    // A ramp: 0, 16, ... 240, row by row.
    std::vector<int> ramp;
    for (int i = 0; i < 16; ++i) {
        ramp.push_back(16 * i);
    }
    const PixelImage source = Grey(4, 4, ramp);
    // Halving averages 2 x 2 blocks: (0 + 16 + 64 + 80) / 4 = 40, ...
    EXPECT_EQ(GreysOf(ApplyOperations(source, Scaled(2, 2, ScaleFilter::Area))),
              (std::vector<int>{40, 72, 168, 200}));
    // 4 -> 3: a target pixel covers 4/3 source pixels. The corner takes 3/4 of
    // pixel 0 and 1/4 of pixel 1 each way: rows (3 * 0 + 16) / 4 = 4 and
    // (3 * 64 + 80) / 4 = 68, then (3 * 4 + 68) / 4 = 20. The centre takes halves
    // of pixels 1 and 2: (88 + 152) / 2 = 120.
    const std::vector<int> third = GreysOf(ApplyOperations(source, Scaled(3, 3)));
    ASSERT_EQ(third.size(), 9U);
    EXPECT_EQ(third[0], 20);
    EXPECT_EQ(third[4], 120);
    EXPECT_EQ(third[8], 220);  // the mirror of the corner: 240 - 20
}

TEST(PictureOperations, AreaScalingWeighsColoursByAlpha) {
    // Opaque red beside transparent green: the transparent pixel lends no colour.
    const PixelImage pair = Picture(2, 1, {0xFFFF0000u, 0x0000FF00u}, true);
    const PixelImage one = ApplyOperations(pair, Scaled(1, 1, ScaleFilter::Area));
    ExpectPicture(one, 1, 1, {0x80FF0000u});  // alpha (255 + 0) / 2 rounded up
    EXPECT_TRUE(one.hasAlpha);
}

TEST(PictureOperations, BilinearInterpolatesBetweenPixelCentres) {
    // 2 -> 4: target centres at -0.25, 0.25, 0.75 and 1.25 source pixels; the
    // ends are held, the middle two are 1/4 and 3/4 of the way: 63.75 and 191.25.
    EXPECT_EQ(GreysOf(ApplyOperations(Grey(2, 1, {0, 255}), Scaled(4, 1, ScaleFilter::Bilinear))),
              (std::vector<int>{0, 64, 191, 255}));
}

TEST(PictureOperations, InvertKeepsAlpha) {
    const PixelImage image = Picture(2, 1, {0x80102030u, 0xFF000000u}, true);
    PictureOperations invert;
    invert.invert = true;
    ExpectPicture(ApplyOperations(image, invert), 2, 1, {0x80EFDFCFu, 0xFFFFFFFFu});
}

TEST(PictureOperations, FitKeepsTheAspectRatioAndFillsOneSide) {
    PictureOperations fit;
    fit.scale = {ScaleMode::Fit, 100, 100};
    EXPECT_EQ(OperatedSize({200, 50}, fit), (PictureSize{100, 25}));
    EXPECT_EQ(OperatedSize({50, 200}, fit), (PictureSize{25, 100}));
    fit.scale = {ScaleMode::Fit, 4, 4};
    EXPECT_EQ(OperatedSize({3, 2}, fit), (PictureSize{4, 3}));  // 2 x 4/3 = 2.67
    fit.scale = {ScaleMode::Fit, 320, 240};
    EXPECT_EQ(OperatedSize({1000, 1}, fit), (PictureSize{320, 1}));  // never 0
    fit.rotate = 90;                                                 // fits the turned picture
    EXPECT_EQ(OperatedSize({30, 60}, fit), (PictureSize{320, 160}));
}

TEST(PictureOperations, NearestIsTheDefaultOnlyForWholeFactors) {
    PictureOperations operations;
    EXPECT_EQ(EffectiveFilter(operations, {16, 16}, {32, 48}), ScaleFilter::Nearest);
    EXPECT_EQ(EffectiveFilter(operations, {16, 16}, {16, 16}), ScaleFilter::Nearest);
    EXPECT_EQ(EffectiveFilter(operations, {16, 16}, {24, 24}), ScaleFilter::Area);
    EXPECT_EQ(EffectiveFilter(operations, {16, 16}, {8, 8}), ScaleFilter::Area);
    operations.filter = ScaleFilter::Bilinear;
    EXPECT_EQ(EffectiveFilter(operations, {16, 16}, {32, 32}), ScaleFilter::Bilinear);
}

TEST(OperationValues, ParseLongAndShortFormsAndRefuseTheRest) {
    EXPECT_EQ(ParseCrop("1,2,3,4"), (PixelRect{1, 2, 3, 4}));
    EXPECT_EQ(ParseCrop(" 0 , 0 , 8 , 8 "), (PixelRect{0, 0, 8, 8}));
    for (const char* bad : {"1,2,3", "1,2,3,4,5", "1,2,0,4", "-1,2,3,4", "a,b,c,d", ""}) {
        EXPECT_FALSE(ParseCrop(bad)) << bad;
    }
    EXPECT_EQ(ParseRotate("270"), 270);
    EXPECT_FALSE(ParseRotate("45"));
    EXPECT_FALSE(ParseRotate("-90"));
    EXPECT_EQ(ParseFlip("hv"), Flip::Both);
    EXPECT_EQ(ParseFlip("h"), Flip::Horizontal);
    EXPECT_EQ(FlipText(Flip::Both), "both");
    EXPECT_FALSE(ParseFlip("diagonal"));
    EXPECT_EQ(ParseScale("64 x 32"), (ScaleTarget{ScaleMode::Exact, 64, 32}));
    EXPECT_EQ(ParseScale("64x32"), (ScaleTarget{ScaleMode::Exact, 64, 32}));
    EXPECT_EQ(ParseScale("fit 320 x 240"), (ScaleTarget{ScaleMode::Fit, 320, 240}));
    EXPECT_EQ(ScaleText({ScaleMode::Fit, 320, 240}), "fit 320 x 240");
    for (const char* bad : {"64", "0x32", "64 x 8193", "fit", "fit64x32", "64 by 32"}) {
        EXPECT_FALSE(ParseScale(bad)) << bad;
    }
    EXPECT_EQ(ParseThreshold("255"), 255);
    EXPECT_FALSE(ParseThreshold("256"));
}

}  // namespace
}  // namespace pictor::workspace
