#include "core/conversion/panel_preview.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "core/conversion/conversion_test_support.h"

namespace pictor::conversion {
namespace {

using testing::ColourProfile;
using testing::Grey;
using testing::GreyProfile;
using testing::kWhite;
using testing::MakeImage;
using testing::Rgb;

workspace::ImageEntry Entry(workspace::PixelImage image, int left, int top, bool shown) {
    workspace::ImageEntry entry;
    entry.width = image.width;
    entry.height = image.height;
    entry.bitmap = std::make_shared<const workspace::PixelImage>(std::move(image));
    entry.left = left;
    entry.top = top;
    entry.shown = shown;
    return entry;
}

// One character per panel pixel: '.' background, '#' another colour.
std::string Map(const workspace::PixelImage& panel) {
    std::string rows;
    for (int y = 0; y < panel.height; ++y) {
        for (int x = 0; x < panel.width; ++x) {
            rows += panel.At(x, y) == panel.At(panel.width - 1, panel.height - 1) ? '.' : '#';
        }
        rows += '/';
    }
    return rows;
}

TEST(PanelPreview, ShownPicturesAtTheirPositionsClippedToThePanel) {
    settings::ModelProfile profile = GreyProfile(1);
    profile.panelWidth = 10;
    profile.panelHeight = 4;
    profile.bkColor = 0x0000FF;  // red: grey 85, code 0
    workspace::PictureList list;
    list.Append(Entry(MakeImage(8, 2, kWhite), 1, 1, true));
    list.Append(Entry(MakeImage(8, 4, kWhite), 0, 0, false));             // not shown
    list.Append(Entry(MakeImage(8, 1, kWhite), -4, 3, true));             // half off the left
    list.Append(Entry(MakeImage(5, 1, kWhite), 0, 0, true));              // no whole byte
    list.Append(Entry(MakeImage(8, 1, kWhite), INT_MAX, INT_MIN, true));  // far away
    const workspace::PixelImage panel = RenderPanel(list, profile);
    ASSERT_EQ(panel.width, 10);
    ASSERT_EQ(panel.height, 4);
    EXPECT_EQ(panel.At(0, 0), Grey(63));  // code 0 stands for greys 0..127
    EXPECT_EQ(panel.At(1, 1), Grey(191));
    EXPECT_EQ(Map(panel), "........../.########./.########./####....../");
    EXPECT_EQ(Map(RenderPanel(list, profile, PreviewPictures::All)),
              "########../#########./#########./########../");
}

TEST(PanelPreview, BackgroundIsAWindowsColourShownAtTheDepth) {
    settings::ModelProfile profile = ColourProfile(1);
    profile.panelWidth = 2;
    profile.panelHeight = 1;
    profile.bkColor = 0x0000FF;  // red in the low byte
    EXPECT_EQ(RenderPanel({}, profile).pixels,
              (std::vector<std::uint32_t>{Rgb(255, 0, 0), Rgb(255, 0, 0)}));
    profile.bkColor = 0x102030;  // blue 0x10, green 0x20, red 0x30 -> 565 and back
    EXPECT_EQ(RenderPanel({}, profile).At(0, 0), Rgb(0x31, 0x20, 0x10));
}

}  // namespace
}  // namespace pictor::conversion
