// pictor-cli preview and convert --dither.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_test_support.h"
#include "cli/commands.h"
#include "support/bitmap_files.h"
#include "support/temp_dir.h"

namespace pictor::cli {
namespace {

namespace fs = std::filesystem;

class PreviewCommandTest : public CliTest {
  protected:
    void SetUp() override {
        test::WriteFile(dir_ / "Pictor.ini",
                        "[COMMON]\nMODEL_COUNT=1\nMODEL_NAME0=Mono\nCURRENT_MODE=0\n"
                        "LCD_TYPE=220x176\n[Mono]\nCOLOR_DEPTH=1\n");
        // 8 x 1 of grey 100: below the 1-bit threshold 128.
        ASSERT_TRUE(test::WriteBytes(dir_ / "grey.bmp", test::SolidBitmap(8, 1, 0x646464)));
        ASSERT_TRUE(test::WriteBytes(dir_ / "white.bmp", test::SolidBitmap(8, 2, 0xFFFFFF)));
        test::WriteFile(dir_ / "p.pictor",
                        "version = 1\n"
                        "[picture]\nfile = white.bmp\nshown = yes\nposition = 4,1\n"
                        "[picture]\nfile = grey.bmp\nshown = no\n");
    }

    std::string Settings() const { return (dir_ / "Pictor.ini").string(); }
};

TEST_F(PreviewCommandTest, RendersTheShownPicturesOfAProject) {
    const std::string png = (dir_ / "panel.png").string();
    ASSERT_EQ(RunCli({"preview", "--settings", Settings(), "--project",
                      (dir_ / "p.pictor").string(), "--png", png}),
              kExitOk)
        << err_.str();
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.width(), 220);
    ASSERT_EQ(image.height(), 176);
    // Code 0 stands for greys 0..127 (63), code 1 for 128..255 (191).
    EXPECT_EQ(image.pixel(0, 0), 0xFF3F3F3Fu);
    EXPECT_EQ(image.pixel(4, 1), 0xFFBFBFBFu);
    EXPECT_EQ(image.pixel(11, 2), 0xFFBFBFBFu);
    EXPECT_EQ(image.pixel(12, 2), 0xFF3F3F3Fu);
    EXPECT_EQ(image.pixel(4, 3), 0xFF3F3F3Fu);
}

TEST_F(PreviewCommandTest, RefusesWithoutWritingAnything) {
    const std::string png = (dir_ / "panel.png").string();
    EXPECT_EQ(RunCli({"preview", "--settings", Settings(), (dir_ / "grey.bmp").string()}),
              kExitUsage);
    EXPECT_EQ(RunCli({"preview", "--settings", Settings(), "--png", png}), kExitUsage);
    EXPECT_EQ(RunCli({"preview", "--settings", Settings(), "--png", png,
                      (dir_ / "missing.bmp").string()}),
              kExitFailed);
    EXPECT_EQ(RunCli({"preview", "--settings", Settings(), "--png",
                      (dir_ / "no-dir" / "x.png").string(), (dir_ / "grey.bmp").string()}),
              kExitFailed);
    EXPECT_NE(err_.str().find("cannot write"), std::string::npos);
    EXPECT_FALSE(fs::exists(png));
}

TEST_F(PreviewCommandTest, ConvertDithersOnlyWhenAsked) {
    fs::create_directories(dir_ / "out");
    const auto convert = [this](const std::string& dither) {
        std::vector<std::string> args = {"convert", "--settings", Settings(), "--output-dir",
                                         (dir_ / "out").string()};
        if (!dither.empty()) {
            args.insert(args.end(), {"--dither", dither});
        }
        args.push_back((dir_ / "grey.bmp").string());
        EXPECT_EQ(RunCli(args), kExitOk) << err_.str();
        return test::ReadFile(dir_ / "out" / "Icon.bin").substr(2048);
    };
    EXPECT_EQ(convert(""), std::string(1, '\0'));
    EXPECT_EQ(convert("none"), std::string(1, '\0'));
    // Floyd-Steinberg along one row of grey 100 (1600 sixteenths): values 1600,
    // 2300, 822, 1959, 2457, 890, 1989, 2470 -> on at 1, 4 and 7.
    EXPECT_EQ(convert("fs"), std::string(1, '\x92'));
    EXPECT_EQ(RunCli({"convert", "--settings", Settings(), "--dither", "random",
                      (dir_ / "grey.bmp").string()}),
              kExitUsage);
}

}  // namespace
}  // namespace pictor::cli
