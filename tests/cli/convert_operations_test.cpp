// pictor-cli convert with picture operations: for every PICTURE file from the
// command line, for a project's pictures from the project, and text items.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_test_support.h"
#include "support/bitmap_files.h"
#include "support/temp_dir.h"

namespace pictor::cli {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

// 3 x 2 pixels, top row red, green, blue, bottom row white, black, grey 0x808080.
test::Bytes ThreeByTwo() {
    test::BitmapLayout layout;
    layout.width = 3;
    layout.height = 2;
    // Bottom-up rows of blue, green, red bytes, padded to 12 bytes.
    layout.pixels = {0xFF, 0xFF, 0xFF, 0, 0,    0, 0x80, 0x80, 0x80, 0, 0, 0,
                     0,    0,    0xFF, 0, 0xFF, 0, 0xFF, 0,    0,    0, 0, 0};
    return test::BuildBitmap(layout);
}

class ConvertOperationsTest : public CliTest {
  protected:
    void SetUp() override {
        ::setenv("SOURCE_DATE_EPOCH", "0", 1);
        ASSERT_TRUE(test::WriteBytes(dir_ / "p.bmp", ThreeByTwo()));
        test::WriteFile(dir_ / "Pictor.ini",
                        "[COMMON]\nLCD_TYPE=220x176\nMODEL_COUNT=1\nMODEL_NAME0=Rgb\n"
                        "CURRENT_MODE=0\n[Rgb]\nCOLOR_DEPTH=24\nSAVE_WIDTH_HEIGHT_TO_DEFINE=1\n");
    }
    void TearDown() override { ::unsetenv("SOURCE_DATE_EPOCH"); }

    int Convert(std::vector<std::string> args) {
        args.insert(args.begin(), {"convert", "--settings", (dir_ / "Pictor.ini").string(),
                                   "--output-dir", dir_.string()});
        return RunCli(args);
    }
    // The pixel bytes of Icon.bin (red, green, blue per pixel at depth 24).
    std::string Pixels() const { return ReadFile(dir_ / "Icon.bin").substr(2048); }
    std::string Header() const { return ReadFile(dir_ / "Icon.h"); }
};

std::string Rgb(std::initializer_list<std::uint32_t> colours) {
    std::string bytes;
    for (const std::uint32_t c : colours) {
        bytes += static_cast<char>(c >> 16);
        bytes += static_cast<char>((c >> 8) & 0xFF);
        bytes += static_cast<char>(c & 0xFF);
    }
    return bytes;
}

constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF;
constexpr std::uint32_t W = 0xFFFFFF, K = 0x000000, M = 0x808080;

TEST_F(ConvertOperationsTest, EveryPictureFileIsRotatedFlippedScaledAndInverted) {
    ASSERT_EQ(
        Convert({"--rotate", "90", "--flip", "v", "--scale", "2x3", (dir_ / "p.bmp").string()}), 0)
        << err_.str();
    // Rotated: W R / K G / M B; flipped top to bottom: M B / K G / W R.
    EXPECT_EQ(Pixels(), Rgb({M, B, K, G, W, R}));
    EXPECT_NE(Header().find("#define P_W  2"), std::string::npos) << Header();
    EXPECT_NE(Header().find("#define P_H  3"), std::string::npos);

    ASSERT_EQ(
        Convert({"--invert", "--scale", "6x2", "--filter", "nearest", (dir_ / "p.bmp").string()}),
        0)
        << err_.str();
    EXPECT_EQ(Pixels(), Rgb({0x00FFFF, 0x00FFFF, 0xFF00FF, 0xFF00FF, 0xFFFF00, 0xFFFF00, K, K, W, W,
                             0x7F7F7F, 0x7F7F7F}));
}

TEST_F(ConvertOperationsTest, FitPanelFillsThePanelOneWayAndOversizeIsWarnedAbout) {
    ASSERT_EQ(Convert({"--fit-panel", (dir_ / "p.bmp").string()}), 0) << err_.str();
    // 3 x 2 into 220 x 176: 220 wide, 2 x 220 / 3 = 146.7 -> 147 high.
    EXPECT_NE(Header().find("#define P_W  220"), std::string::npos) << Header();
    EXPECT_NE(Header().find("#define P_H  147"), std::string::npos);
    EXPECT_EQ(err_.str(), "");

    ASSERT_EQ(Convert({"--scale", "221x2", (dir_ / "p.bmp").string()}), 0) << err_.str();
    EXPECT_NE(err_.str().find("p (221 x 2) is larger than the panel (220 x 176)"),
              std::string::npos)
        << err_.str();
}

TEST_F(ConvertOperationsTest, OperationOptionsAreRefusedWithAProjectOrBadValues) {
    test::WriteFile(dir_ / "x.pictor", "version = 1\n[picture]\nfile = p.bmp\n");
    EXPECT_EQ(Convert({"--rotate", "90", "--project", (dir_ / "x.pictor").string()}), 2);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--rotate", "45"},
                                                {"--scale", "0x5"},
                                                {"--fit", "5"},
                                                {"--flip", "sideways"},
                                                {"--scale", "4x4", "--fit-panel"}}) {
        std::vector<std::string> args = bad;
        args.push_back((dir_ / "p.bmp").string());
        EXPECT_EQ(Convert(args), 2) << bad[0];
    }
}

TEST_F(ConvertOperationsTest, AProjectCarriesItsOperationsAndTexts) {
    fs::create_directories(dir_ / "fonts");
    fs::copy_file(PICTOR_EXAMPLES_DIR "/fonts/DejaVuSans-subset.ttf", dir_ / "fonts" / "sans.ttf");
    test::WriteFile(dir_ / "x.pictor",
                    "version = 1\n"
                    "[picture]\nfile = p.bmp\ncrop = 1,0,2,2\nrotate = 180\n"
                    "[text]\nname = label\ntext = Hi\nfont = fonts/sans.ttf\nsize = 8\n"
                    "background = #000000\n");
    ASSERT_EQ(Convert({"--project", (dir_ / "x.pictor").string()}), 0) << err_.str();
    // The label sorts first; p, cropped to G B / K M and turned half way round,
    // follows: M K / B G.
    const std::string pixels = Pixels();
    EXPECT_EQ(pixels.substr(pixels.size() - 12), Rgb({M, K, B, G}));
    EXPECT_NE(Header().find("#define LABEL_H  8"), std::string::npos) << Header();

    test::WriteFile(dir_ / "y.pictor",
                    "version = 1\n[text]\nname = t\ntext = x\nfont = fonts/missing.ttf\n");
    EXPECT_EQ(Convert({"--project", (dir_ / "y.pictor").string()}), 1);
    EXPECT_NE(err_.str().find((dir_ / "fonts" / "missing.ttf").string() + ": no such font file"),
              std::string::npos)
        << err_.str();
}

}  // namespace
}  // namespace pictor::cli
