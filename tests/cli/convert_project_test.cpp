// pictor-cli convert --project: the project's pictures, positions, model and output folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_test_support.h"
#include "cli/commands.h"
#include "core/common/message.h"
#include "core/conversion/convert_operation.h"
#include "core/settings/model_profile.h"
#include "core/workspace/project_file.h"
#include "support/bitmap_files.h"
#include "support/temp_dir.h"

namespace pictor::cli {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

class ConvertProjectTest : public CliTest {
  protected:
    void SetUp() override {
        ::setenv("SOURCE_DATE_EPOCH", "0", 1);
        fs::create_directories(dir_ / "my proj" / "pics");
        test::Bytes b = test::SolidBitmap(2, 1, 0x0000FF);
        b.insert(b.end(), {0x61, 0x56, 0x61, 0x56, 7, 8});  // trailer position 7, 8
        ASSERT_TRUE(test::WriteBytes(dir_ / "my proj" / "pics" / "b.bmp", b));
        ASSERT_TRUE(
            test::WriteBytes(dir_ / "my proj" / "a.bmp", test::SolidBitmap(1, 2, 0xFF0000)));
        test::WriteFile(dir_ / "Pictor.ini",
                        "[COMMON]\nMODEL_COUNT=2\nMODEL_NAME0=Colour\n"
                        "MODEL_NAME1=Mono\nCURRENT_MODE=0\n"
                        "[Colour]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\n"
                        "[Mono]\nCOLOR_DEPTH=1\n");
    }
    void TearDown() override { ::unsetenv("SOURCE_DATE_EPOCH"); }

    // Project order b, a (not the name order); a has its position in the project.
    void WriteProject(const std::string& extraTop = "") {
        test::WriteFile(Project(), "version = 1\noutput-dir = out\n" + extraTop +
                                       "[picture]\nfile = pics/b.bmp\nshown = yes\n"
                                       "[picture]\nfile = a.bmp\nposition = -5,300\n");
    }
    fs::path Project() const { return dir_ / "my proj" / "p.pictor"; }
    fs::path Out() const { return dir_ / "my proj" / "out"; }

    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), "convert");
        return RunCli(args);
    }
};

TEST_F(ConvertProjectTest, SameBytesAsConvertingTheListTheGuiBuilds) {
    WriteProject();
    fs::create_directories(Out());
    ASSERT_EQ(Run({"--settings", (dir_ / "none.ini").string(), "--depth", "24", "--size-to-bin",
                   "--position-to-define", "--project", Project().string()}),
              kExitOk)
        << err_.str();

    // The GUI: load the project, build its list, convert it.
    const workspace::ProjectLoadResult loaded = workspace::LoadProject(Project());
    ASSERT_TRUE(loaded.ok) << loaded.error;
    NullMessageSink sink;
    workspace::PictureList list = workspace::BuildPictureList(loaded.project, sink);
    settings::ModelProfile profile;
    profile.colorDepth = 24;
    profile.pixelsPerByte = settings::PixelsPerByte(24);
    profile.saveWidthHeightToBin = 1;
    profile.saveLeftTopToDefine = 1;
    conversion::ConvertOptions options;
    options.outputDir = dir_ / "gui";
    options.writeTrailers = false;
    fs::create_directories(options.outputDir);
    ASSERT_TRUE(conversion::Convert(list, profile, options, sink).success);

    EXPECT_EQ(ReadFile(Out() / "Icon.bin"), ReadFile(dir_ / "gui" / "Icon.bin"));
    EXPECT_EQ(ReadFile(Out() / "Icon.h"), ReadFile(dir_ / "gui" / "Icon.h"));
    // Sorted by name; a's position from the project, b's from its trailer.
    EXPECT_EQ(ReadFile(Out() / "Icon.h"),
              "\r\n// Generation Time: 1970/01/01  AM 12:00:00   \r\n\r\n"
              "\r\n#define A  0x0\r\n#define A_T  300\r\n#define A_L  -5"
              "\r\n#define B  0x1\r\n#define B_T  8\r\n#define B_L  7\r\n\r\n");
    // The trailers are left alone without --write-trailers.
    EXPECT_EQ(ReadFile(dir_ / "my proj" / "a.bmp").size(), test::SolidBitmap(1, 2, 0).size());
}

TEST_F(ConvertProjectTest, ModelAndOutputFolderFromTheProjectUnlessGiven) {
    WriteProject("model = Mono\n");
    fs::create_directories(Out());
    const std::string settings = (dir_ / "Pictor.ini").string();
    ASSERT_EQ(Run({"--settings", settings, "--project", Project().string()}), kExitOk)
        << err_.str();
    // 1-bit: rows narrower than 8 pixels give no whole byte (16-bit would add 8 bytes).
    EXPECT_EQ(ReadFile(Out() / "Icon.bin").size(), 2048U);

    fs::create_directories(dir_ / "elsewhere");
    ASSERT_EQ(Run({"--settings", settings, "--model", "Colour", "--output-dir",
                   (dir_ / "elsewhere").string(), "--project", Project().string()}),
              kExitOk)
        << err_.str();
    // RGB_565: a (1x2 red) then b (2x1 blue).
    EXPECT_EQ(ReadFile(dir_ / "elsewhere" / "Icon.bin").substr(2048),
              std::string("\xF8\x00\xF8\x00\x00\x1F\x00\x1F", 8));
}

TEST_F(ConvertProjectTest, RefusesWhatItCannotConvertExactly) {
    WriteProject();
    fs::create_directories(Out());
    const std::string settings = (dir_ / "Pictor.ini").string();

    EXPECT_EQ(Run({"--settings", settings, "--project", Project().string(),
                   (dir_ / "my proj" / "a.bmp").string()}),
              kExitUsage);

    fs::remove(dir_ / "my proj" / "pics" / "b.bmp");
    EXPECT_EQ(Run({"--settings", settings, "--project", Project().string()}), kExitFailed);
    EXPECT_NE(err_.str().find("not found: " + (dir_ / "my proj" / "pics" / "b.bmp").string()),
              std::string::npos)
        << err_.str();

    test::WriteFile(dir_ / "my proj" / "pics" / "b.bmp", "not a picture");
    EXPECT_EQ(Run({"--settings", settings, "--project", Project().string()}), kExitFailed);

    test::WriteFile(Project(), "version = 1\n[picture]\nshown = yes\n");
    EXPECT_EQ(Run({"--settings", settings, "--project", Project().string()}), kExitFailed);
    EXPECT_NE(err_.str().find("line 2"), std::string::npos) << err_.str();

    EXPECT_FALSE(fs::exists(Out() / "Icon.bin"));
}

}  // namespace
}  // namespace pictor::cli
