// A picture's own 1-bit threshold, through the whole conversion and the panel preview.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/conversion/conversion_test_support.h"
#include "core/conversion/convert_operation.h"
#include "core/conversion/panel_preview.h"
#include "core/conversion/picture_profile.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace pictor::conversion {
namespace {

using testing::Grey;
using testing::GreyProfile;

// Greys 100 (four pixels) and 200 (four pixels) on one row of eight.
workspace::ImageEntry TwoGreys(const std::string& name, std::optional<int> threshold) {
    auto picture = std::make_shared<workspace::PixelImage>(testing::MakeImage(8, 1, Grey(100)));
    for (int x = 4; x < 8; ++x) {
        testing::Set(*picture, x, 0, Grey(200));
    }
    workspace::ImageEntry entry;
    entry.name = name;
    entry.path = name + ".bmp";
    entry.width = entry.sourceWidth = 8;
    entry.height = entry.sourceHeight = 1;
    entry.bitmap = picture;
    entry.operations.threshold = threshold;
    entry.shown = true;
    return entry;
}

TEST(PictureThreshold, ReplacesTheModelsGreyLevelForItsPictureOnly) {
    const test::TempDir dir;
    workspace::PictureList list;
    list.Append(TwoGreys("a", std::nullopt));  // the model's level 128: 100 -> 0, 200 -> 1
    list.Append(TwoGreys("b", 210));           // both below: all 0
    list.Append(TwoGreys("c", 100));           // both at or above: all 1
    ConvertOptions options;
    options.outputDir = dir.Path();
    options.writeTrailers = false;
    test::RecordingSink messages;
    ASSERT_TRUE(Convert(list, GreyProfile(1), options, messages).success);
    const std::string image = test::ReadFile(dir / "Icon.bin");
    ASSERT_EQ(image.size(), 2048U + 3U);
    // The first pixel in the lowest bit.
    EXPECT_EQ(static_cast<unsigned char>(image[2048]), 0xF0);
    EXPECT_EQ(static_cast<unsigned char>(image[2049]), 0x00);
    EXPECT_EQ(static_cast<unsigned char>(image[2050]), 0xFF);

    // The preview shows the same codes: b all dark, c all light.
    settings::ModelProfile profile = GreyProfile(1);
    profile.panelWidth = 8;
    profile.panelHeight = 1;
    workspace::PictureList one;
    one.Append(TwoGreys("b", 210));
    const workspace::PixelImage dark = RenderPanel(one, profile);
    one.At(0).operations.threshold = 100;
    const workspace::PixelImage light = RenderPanel(one, profile);
    EXPECT_EQ(dark.At(7, 0), dark.At(0, 0));
    EXPECT_EQ(light.At(0, 0), light.At(7, 0));
    EXPECT_NE(dark.At(0, 0), light.At(0, 0));
}

TEST(PictureThreshold, OtherDepthsKeepTheirTable) {
    workspace::PictureOperations operations;
    operations.threshold = 50;
    EXPECT_TRUE(HasOwnProfile(GreyProfile(1), operations));
    EXPECT_FALSE(HasOwnProfile(GreyProfile(4), operations));
    EXPECT_EQ(PictureProfile(GreyProfile(4), operations).colorLevels, GreyProfile(4).colorLevels);
}

}  // namespace
}  // namespace pictor::conversion
