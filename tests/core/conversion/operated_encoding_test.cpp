// Pictures operated on as they are read from a bitmap file encode to the same
// bytes as the operated decoded picture, for every orientation and every encoder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/conversion/conversion_test_support.h"
#include "core/conversion/pixel_encoder.h"
#include "core/workspace/entry_pictures.h"
#include "support/bitmap_files.h"
#include "support/temp_dir.h"

namespace pictor::conversion {
namespace {

TEST(OperatedEncoding, RowsPickedFromTheFileEncodeLikeTheOperatedPicture) {
    const test::TempDir dir;
    test::BitmapLayout layout;
    layout.width = 7;
    layout.height = 5;
    for (int i = 0; i < 5 * 24; ++i) {  // rows of 21 bytes padded to 24, all different
        layout.pixels.push_back(static_cast<std::uint8_t>(i * 37 + 11));
    }
    const std::filesystem::path path = dir / "p.bmp";
    ASSERT_TRUE(test::WriteBytes(path, test::BuildBitmap(layout)));
    const std::optional<workspace::PixelImage> source = workspace::LoadPicture(path);
    ASSERT_TRUE(source);

    const std::vector<std::pair<std::string, settings::ModelProfile>> profiles = {
        {"BGR 565", testing::ColourProfile(0)},
        {"RGB 565", testing::ColourProfile(1)},
        {"RGB 565 by columns", testing::ColourProfile(1, 1)},
        {"24-bit", testing::TrueColourProfile()},
        {"4-bit grey", testing::GreyProfile(4)},
    };
    for (const int rotate : {0, 90, 180, 270}) {
        for (const workspace::Flip flip : {workspace::Flip::None, workspace::Flip::Horizontal,
                                           workspace::Flip::Vertical, workspace::Flip::Both}) {
            for (const bool invert : {false, true}) {
                workspace::PictureOperations operations;
                operations.crop = workspace::PixelRect{1, 0, 6, 4};
                operations.rotate = rotate;
                operations.flip = flip;
                operations.scale = {workspace::ScaleMode::Exact, 9, 5};
                operations.filter = workspace::ScaleFilter::Nearest;
                operations.invert = invert;
                const workspace::PixelImage operated =
                    workspace::ApplyOperations(*source, operations);
                for (const auto& [name, profile] : profiles) {
                    const std::optional<workspace::PictureRows> rows =
                        workspace::OpenOperatedRows(path, operations);
                    ASSERT_TRUE(rows);
                    std::vector<std::uint8_t> picked;
                    std::vector<std::uint8_t> decoded;
                    ASSERT_TRUE(EncodePicture(*rows, profile, picked));
                    ASSERT_TRUE(EncodePicture(operated, profile, decoded));
                    EXPECT_EQ(picked, decoded) << name << ", rotate " << rotate << ", flip "
                                               << static_cast<int>(flip) << ", invert " << invert;
                }
            }
        }
    }
}

}  // namespace
}  // namespace pictor::conversion
