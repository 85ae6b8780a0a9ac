#include "gui/resource_viewer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pictor::gui {
namespace {

// A resource image of `size` bytes whose table holds `entries` (little-endian,
// in allocation units) and zeros after them.
std::vector<std::uint8_t> Image(std::size_t size, const std::vector<std::uint32_t>& entries) {
    std::vector<std::uint8_t> image(size, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (int b = 0; b < 4; ++b) {
            image[i * 4 + static_cast<std::size_t>(b)] =
                static_cast<std::uint8_t>(entries[i] >> (8 * b));
        }
    }
    return image;
}

TEST(ResourceViewerTest, ListsTheTableUpToItsFirstEmptyEntry) {
    settings::ModelProfile profile;
    profile.colorDepth = 16;
    profile.minAllocateSize = 4;
    // Blocks at 2052 (28 bytes up to 2080) and 2080 (to the end, 2100); entry 3
    // follows an empty one and is not listed.
    const auto image = Image(2100, {513, 520, 0, 521});
    const auto pictures = ListStoredPictures(image, profile);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].offset, 2052u);
    EXPECT_EQ(pictures[0].bytes, 28u);
    EXPECT_EQ(pictures[1].index, 1u);
    EXPECT_EQ(pictures[1].offset, 2080u);
    EXPECT_EQ(pictures[1].bytes, 20u);
    EXPECT_FALSE(pictures[0].size.has_value());  // no size prefix: sizes unknown

    EXPECT_TRUE(ListStoredPictures(Image(2047, {}), profile).empty());
    EXPECT_TRUE(ListStoredPictures(Image(4096, {}), profile).empty());
}

TEST(ResourceViewerTest, ReadsSizesFromThePrefixAndNamesABrokenBlock) {
    settings::ModelProfile profile;
    profile.colorDepth = 16;
    profile.colorType = 1;
    profile.minAllocateSize = 1;
    profile.saveWidthHeightToBin = 1;
    // Picture 0 at 2048: prefix height 1, width 2 (then 2 bytes of padding), two
    // words. Picture 1 at 2058 claims 3 x 3 but only 4 bytes follow.
    auto image = Image(2048 + 10 + 6 + 4, {2048, 2058});
    image[2048] = 1;
    image[2049] = 2;
    image[2058] = 3;
    image[2059] = 3;
    const auto pictures = ListStoredPictures(image, profile);
    ASSERT_EQ(pictures.size(), 2u);
    ASSERT_TRUE(pictures[0].size.has_value());
    EXPECT_EQ(pictures[0].size->width, 2);
    EXPECT_EQ(pictures[0].size->height, 1);
    EXPECT_TRUE(pictures[0].error.empty());
    EXPECT_FALSE(pictures[1].size.has_value());
    EXPECT_NE(pictures[1].error.find("past the end"), std::string::npos) << pictures[1].error;
}

}  // namespace
}  // namespace pictor::gui
