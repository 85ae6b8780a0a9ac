// Project files with picture operations and text items.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/common/regular_file.h"
#include "core/workspace/project_file.h"
#include "core/workspace/test_files.h"
#include "support/recording_sink.h"

namespace pictor::workspace {
namespace {

namespace fs = std::filesystem;
using testing::SolidBitmap;
using testing::TempDir;
using testing::WriteFile;

// Absolute on every platform (on Windows it takes the current drive), as the
// folder of a project file always is.
const fs::path kBase = fs::absolute("/projects/demo").lexically_normal();

ProjectLoadResult Parse(const std::string& text) {
    return ParseProject(text, kBase, "demo.pictor");
}

constexpr const char* kEveryKey =
    "# Pictor project\n"
    "version = 1\n"
    "\n[picture]\n"
    "file = pics/logo.bmp\n"
    "shown = yes\n"
    "position = 4,5\n"
    "crop = 1,2,30,20\n"
    "rotate = 90\n"
    "flip = horizontal\n"
    "scale = fit 64 x 48\n"
    "filter = bilinear\n"
    "invert = yes\n"
    "threshold = 100\n"
    "\n[text]\n"
    "name = title\n"
    "text = Hello\\nworld\n"
    "font = fonts/sans.ttf\n"
    "size = 24\n"
    "color = #FF8000\n"
    "background = #000010\n"
    "align = center\n"
    "antialias = off\n"
    "shown = no\n"
    "position = 0,200\n"
    "scale = 48 x 12\n"
    "\n[text]\n"
    "name = clock_3a\n"
    "text = :\n"
    "font = ../shared/sans.ttf\n"
    "size = 16\n"
    "color = #000000\n"
    "background = transparent\n"
    "align = left\n"
    "antialias = on\n"
    "shown = no\n";

TEST(ProjectItemKeys, EveryKeyReadsAndWritesBackTheSame) {
    const ProjectLoadResult loaded = Parse(kEveryKey);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    ASSERT_EQ(loaded.project.pictures.size(), 3U);

    const ProjectPicture& picture = loaded.project.pictures[0];
    EXPECT_EQ(picture.operations.crop, (PixelRect{1, 2, 30, 20}));
    EXPECT_EQ(picture.operations.rotate, 90);
    EXPECT_EQ(picture.operations.flip, Flip::Horizontal);
    EXPECT_EQ(picture.operations.scale, (ScaleTarget{ScaleMode::Fit, 64, 48}));
    EXPECT_EQ(picture.operations.filter, ScaleFilter::Bilinear);
    EXPECT_TRUE(picture.operations.invert);
    EXPECT_EQ(picture.operations.threshold, 100);
    EXPECT_FALSE(picture.text);

    const ProjectPicture& title = loaded.project.pictures[1];
    ASSERT_TRUE(title.text);
    EXPECT_EQ(title.name, "title");
    EXPECT_EQ(title.text->text, "Hello\nworld");
    EXPECT_EQ(title.text->font, kBase / "fonts" / "sans.ttf");
    EXPECT_EQ(title.text->size, 24);
    EXPECT_EQ(title.text->color, 0xFF8000U);
    EXPECT_EQ(title.text->background, 0x000010U);
    EXPECT_EQ(title.text->align, text::TextAlign::Center);
    EXPECT_FALSE(title.text->antialias);
    EXPECT_EQ(title.position, (ProjectPosition{0, 200}));
    EXPECT_EQ(title.operations.scale, (ScaleTarget{ScaleMode::Exact, 48, 12}));
    EXPECT_TRUE(title.path.empty());
    EXPECT_FALSE(loaded.project.pictures[2].text->background);
    // A text is not a missing picture file.
    EXPECT_EQ(loaded.missing, (std::vector<fs::path>{kBase / "pics" / "logo.bmp"}));

    EXPECT_EQ(FormatProject(loaded.project, kBase), kEveryKey);
}

TEST(ProjectItemKeys, ShortFormsAreReadAndWrittenLong) {
    const ProjectLoadResult loaded = Parse(
        "version = 1\n[picture]\nfile = a.bmp\nflip = hv\nscale = 8x8\ninvert = no\nrotate = 0\n"
        "[text]\nname = t\ntext = x\nfont = f.ttf\nalign = centre\n");
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(FormatProject(loaded.project, kBase),
              "# Pictor project\nversion = 1\n"
              "\n[picture]\nfile = a.bmp\nshown = no\nflip = both\nscale = 8 x 8\n"
              "\n[text]\nname = t\ntext = x\nfont = f.ttf\nsize = 16\ncolor = #000000\n"
              "background = transparent\nalign = center\nantialias = on\nshown = no\n");
}

TEST(ProjectItemKeys, BadValuesAreRefusedWithTheirLine) {
    struct Case {
        const char* lines;  // after "version = 1\n[picture]\nfile = a.bmp\n" (lines 1-3)
        const char* error;
    };
    const Case cases[] = {
        {"rotate = 45\n", "demo.pictor: line 4: \"rotate\" must be 0, 90, 180 or 270"},
        {"shown = yes\ncrop = 1,2,3\n",
         "demo.pictor: line 5: \"crop\" must be X,Y,W,H: whole numbers, W and H at least 1"},
        {"flip = sideways\n",
         "demo.pictor: line 4: \"flip\" must be none, horizontal, vertical or both"},
        {"scale = 0 x 10\n",
         "demo.pictor: line 4: \"scale\" must be W x H or fit W x H, each 1 to 8192"},
        {"filter = cubic\n", "demo.pictor: line 4: \"filter\" must be nearest, area or bilinear"},
        {"invert = maybe\n", "demo.pictor: line 4: \"invert\" must be yes or no"},
        {"threshold = 256\n", "demo.pictor: line 4: \"threshold\" must be a whole number 0 to 255"},
        {"rotate = 90\nrotate = 90\n", "demo.pictor: line 5: \"rotate\" appears twice"},
        {"[text]\nname = t\ntext =\n", "demo.pictor: line 6: \"text\" must not be empty"},
        {"[text]\nname = t\nsize = 0\n",
         "demo.pictor: line 6: \"size\" must be a whole number of pixels, 1 to 1024"},
        {"[text]\ncolor = red\n", "demo.pictor: line 5: \"color\" must be #RRGGBB"},
        {"[text]\nbackground = #12345\n",
         "demo.pictor: line 5: \"background\" must be #RRGGBB or transparent"},
        {"[text]\nalign = justify\n",
         "demo.pictor: line 5: \"align\" must be left, center or right"},
        {"[text]\nantialias = sometimes\n", "demo.pictor: line 5: \"antialias\" must be on or off"},
        {"[text]\nname = t\ntext = x\n", "demo.pictor: line 4: the text has no \"font\" line"},
    };
    for (const Case& c : cases) {
        const ProjectLoadResult loaded =
            Parse(std::string("version = 1\n[picture]\nfile = a.bmp\n") + c.lines);
        EXPECT_FALSE(loaded.ok) << c.lines;
        EXPECT_EQ(loaded.error, c.error) << c.lines;
        EXPECT_TRUE(loaded.project.pictures.empty());
    }
}

TEST(ProjectItemKeys, BuildingTheListAppliesOperationsAndReportsWhatDoesNotApply) {
    const TempDir dir;
    WriteFile(dir / "wide.bmp", SolidBitmap(8, 2, 0x102030));
    WriteFile(dir / "small.bmp", SolidBitmap(2, 2, 0x405060));
    const std::string text =
        "version = 1\n"
        "[picture]\nfile = wide.bmp\nrotate = 90\nscale = 4 x 16\n"
        "[picture]\nfile = small.bmp\ncrop = 1,1,2,2\n";
    const ProjectLoadResult loaded = ParseProject(text, dir.Path(), "p.pictor");
    ASSERT_TRUE(loaded.ok) << loaded.error;
    test::RecordingSink messages;
    int added = 0;
    const PictureList list = BuildPictureList(loaded.project, messages, {}, &added);
    EXPECT_EQ(added, 1);
    ASSERT_EQ(list.Size(), 1U);
    EXPECT_EQ(list.At(0).width, 4);
    EXPECT_EQ(list.At(0).height, 16);
    ASSERT_EQ(messages.messages.size(), 1U);
    EXPECT_EQ(messages.messages[0].pattern, "%1: the crop %2 does not lie inside the picture (%3)");

    // Saving the list keeps the operations.
    const Project again = ProjectFromList(list, "", {}, loaded.project);
    ASSERT_EQ(again.pictures.size(), 1U);
    EXPECT_EQ(again.pictures[0].operations, loaded.project.pictures[0].operations);
}

}  // namespace
}  // namespace pictor::workspace
