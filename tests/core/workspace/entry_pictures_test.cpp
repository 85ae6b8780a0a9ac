#include "core/workspace/entry_pictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/regular_file.h"
#include "core/workspace/picture_import.h"
#include "core/workspace/test_files.h"
#include "support/recording_sink.h"

namespace pictor::workspace {
namespace {

namespace fs = std::filesystem;
using testing::BitmapLayout;
using testing::BuildBitmap;
using testing::PatternRows;
using testing::TempDir;
using testing::WriteFile;

// A 24-bit bitmap whose every byte differs, bottom-up or top-down.
fs::path PatternBitmap(const TempDir& dir, int width, int height, bool topDown = false) {
    BitmapLayout layout;
    layout.width = width;
    layout.height = topDown ? -height : height;
    layout.pixels = PatternRows(width, height, 24);
    const fs::path path = dir / (topDown ? "top-down.bmp" : "bottom-up.bmp");
    WriteFile(path, BuildBitmap(layout));
    return path;
}

PixelImage RowsAsPicture(PictureRows rows) {
    return std::move(rows).Whole();
}

// The rows gathered straight from a bitmap's bytes and the operations applied to
// the decoded picture are two ways to the same pixels.
TEST(EntryPictures, RowsPickedFromTheFileMatchTheOperatedPicture) {
    const TempDir dir;
    for (const bool topDown : {false, true}) {
        const fs::path path = PatternBitmap(dir, 7, 5, topDown);
        const std::optional<PixelImage> source = LoadPicture(path);
        ASSERT_TRUE(source);
        for (const int rotate : {0, 90, 180, 270}) {
            for (const Flip flip : {Flip::None, Flip::Horizontal, Flip::Vertical, Flip::Both}) {
                PictureOperations operations;
                operations.crop = PixelRect{1, 1, 5, 3};
                operations.rotate = rotate;
                operations.flip = flip;
                operations.scale = {ScaleMode::Exact, 7, 4};
                operations.filter = ScaleFilter::Nearest;
                operations.invert = rotate == 90;
                std::optional<PictureRows> rows = OpenOperatedRows(path, operations);
                ASSERT_TRUE(rows);
                const PixelImage expected = ApplyOperations(*source, operations);
                // The encoder reads the gathered bytes of each row.
                const std::uint8_t* last = rows->Bgr24Row(expected.height - 1);
                ASSERT_NE(last, nullptr);
                EXPECT_EQ(0xFF000000u | last[2] << 16 | last[1] << 8 | last[0],
                          expected.At(0, expected.height - 1));
                const PixelImage gathered = RowsAsPicture(std::move(*rows));
                EXPECT_EQ(gathered.width, expected.width);
                EXPECT_EQ(gathered.pixels, expected.pixels)
                    << "rotate " << rotate << " flip " << static_cast<int>(flip) << " top-down "
                    << topDown;
            }
        }
    }
}

TEST(EntryPictures, AreaScaledRowsAndRefusedOperations) {
    const TempDir dir;
    const fs::path path = PatternBitmap(dir, 6, 4);
    PictureOperations area;
    area.rotate = 270;
    area.scale = {ScaleMode::Exact, 3, 5};
    std::optional<PictureRows> rows = OpenOperatedRows(path, area);
    ASSERT_TRUE(rows);
    EXPECT_EQ(RowsAsPicture(std::move(*rows)).pixels,
              ApplyOperations(*LoadPicture(path), area).pixels);

    PictureOperations outside;
    outside.crop = PixelRect{4, 0, 3, 1};
    EXPECT_FALSE(OpenOperatedRows(path, outside));
}

TEST(EntryPictures, SetOperationsResizesTheEntryOrLeavesItAsItWas) {
    const TempDir dir;
    const fs::path path = PatternBitmap(dir, 6, 4);
    PictureList list;
    test::RecordingSink messages;
    ASSERT_EQ(ImportPictures(list, {Utf8FromPath(path)}, messages), 1);
    ImageEntry entry = list.At(0);

    PictureOperations turn;
    turn.rotate = 90;
    turn.scale = {ScaleMode::Exact, 8, 12};
    ASSERT_TRUE(SetEntryOperations(entry, turn));
    EXPECT_EQ(entry.width, 8);
    EXPECT_EQ(entry.height, 12);
    EXPECT_EQ(entry.sourceWidth, 6);
    ASSERT_TRUE(entry.bitmap);
    EXPECT_EQ(entry.bitmap->pixels, ApplyOperations(*LoadPicture(path), turn).pixels);
    // Without a kept bitmap the picture is loaded and operated on when asked for.
    ImageEntry lean = entry;
    lean.bitmap.reset();
    EXPECT_EQ(LoadEntryPicture(lean)->pixels, entry.bitmap->pixels);

    PictureOperations outside;
    outside.crop = PixelRect{0, 0, 7, 4};
    Message why;
    EXPECT_FALSE(SetEntryOperations(entry, outside, &why));
    EXPECT_EQ(entry.operations, turn);
    EXPECT_EQ(entry.width, 8);
    EXPECT_EQ(why.pattern, "%1: the crop %2 does not lie inside the picture (%3)");
    EXPECT_EQ(why.args, (std::vector<std::string>{Utf8FromPath(path), "0,0,7,4", "6 x 4"}));
}

}  // namespace
}  // namespace pictor::workspace
