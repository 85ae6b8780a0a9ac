#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
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

using test::ReadFile;

// A 24-bit bitmap of one colour (0xRRGGBB).
void WriteBitmap(const fs::path& path, int width, int height, std::uint32_t rgb) {
    ASSERT_TRUE(test::WriteBytes(path, test::SolidBitmap(width, height, rgb)));
}

class ConvertCommandTest : public CliTest {
  protected:
    void SetUp() override {
        fs::create_directories(dir_ / "out");
        ::setenv("SOURCE_DATE_EPOCH", "0", 1);
        WriteBitmap(dir_ / "red.bmp", 2, 1, 0xFF0000);  // stored blue 0, green 0, red 255
        std::ofstream(dir_ / "Pictor.ini") << "[COMMON]\nMODEL_COUNT=2\nMODEL_NAME0=Colour\n"
                                              "MODEL_NAME1=Mono\nCURRENT_MODE=0\n"
                                              "[Colour]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\n"
                                              "[Mono]\nCOLOR_DEPTH=1\n";
    }
    void TearDown() override { ::unsetenv("SOURCE_DATE_EPOCH"); }

    int Convert(std::vector<std::string> extra, bool withSettings = true) {
        std::vector<std::string> args = {"convert"};
        if (std::find(extra.begin(), extra.end(), "--output-dir") == extra.end()) {
            args.insert(args.end(), {"--output-dir", (dir_ / "out").string()});
        }
        if (withSettings) {
            args.insert(args.end(), {"--settings", (dir_ / "Pictor.ini").string()});
        }
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    }
    std::string Picture() const { return (dir_ / "red.bmp").string(); }
    std::string Data() const { return ReadFile(dir_ / "out" / "Icon.bin"); }
};

TEST_F(ConvertCommandTest, ConvertsWithTheCurrentModel) {
    ASSERT_EQ(Convert({Picture()}), kExitOk) << err_.str();
    EXPECT_NE(out_.str().find("转档成功"), std::string::npos);
    EXPECT_NE(out_.str().find((dir_ / "out" / "Icon.bin").string()), std::string::npos);
    EXPECT_NE(out_.str().find((dir_ / "out" / "Icon.h").string()), std::string::npos);
    EXPECT_EQ(Data().substr(2048), std::string("\xF8\x00\xF8\x00", 4));  // RGB_565 red
    EXPECT_EQ(ReadFile(dir_ / "out" / "Icon.h"),
              "\r\n// Generation Time: 1970/01/01  AM 12:00:00   \r\n\r\n"
              "\r\n#define RED  0x0\r\n\r\n");
}

TEST_F(ConvertCommandTest, ModelAndOverridesShapeTheProfile) {
    ASSERT_EQ(Convert({"--model", "mono", Picture()}), kExitOk) << err_.str();
    EXPECT_EQ(Data().size(), 2048u);  // 1-bit, 2 pixels wide: no whole byte

    ASSERT_EQ(Convert({"--depth", "16", "--color-type", "0", Picture()}), kExitOk);
    EXPECT_EQ(Data().substr(2048), std::string("\x00\x1F\x00\x1F", 4));  // BGR_565 red

    ASSERT_EQ(Convert({"--depth", "24", "--size-to-bin", "--unit", "8", "--size-to-define",
                       "--position-to-define", Picture()}),
              kExitOk);
    EXPECT_EQ(Data().substr(2048), std::string("\x01\x02\x00\x00\x00\x00\x00\x00"
                                               "\xFF\x00\x00\xFF\x00\x00",
                                               14));
    EXPECT_NE(ReadFile(dir_ / "out" / "Icon.h").find("#define RED_W  2\r\n#define RED_T  0"),
              std::string::npos);

    ASSERT_EQ(Convert({"--output", "c", Picture()}), kExitOk);
    EXPECT_NE(out_.str().find("Icon.c"), std::string::npos);
    // The time comment, the array of the two RGB_565 red words (high byte first,
    // each value followed by a comma), the closing brace and the final blank lines.
    const std::string time = "\r\n// Generation Time: 1970/01/01  AM 12:00:00   \r\n\r\n";
    EXPECT_EQ(ReadFile(dir_ / "out" / "Icon.c"),
              time + "\r\n\r\n CBYTE RED[] ={  \r\n\r\n248,0,248,0, } \r\n\r\n\r\n");
    // No order-number line: C arrays have no index table.
    EXPECT_EQ(ReadFile(dir_ / "out" / "Icon.h"), time + "\r\n\r\n");
}

TEST_F(ConvertCommandTest, MissingSettingsFileWarnsAndUsesDefaults) {
    ASSERT_EQ(Convert({"--settings", (dir_ / "none.ini").string(), Picture()}, false), kExitOk);
    EXPECT_NE(err_.str().find("没有找到配置文件! "), std::string::npos);
    EXPECT_EQ(Data().size(), 2048u);  // the default profile is 1-bit
    EXPECT_FALSE(fs::exists(dir_ / "none.ini"));
}

TEST_F(ConvertCommandTest, NeverWritesTheSettingsFile) {
    const std::string before = ReadFile(dir_ / "Pictor.ini");
    ASSERT_EQ(Convert({"--model", "Mono", "--depth", "2", Picture()}), kExitOk);
    EXPECT_EQ(ReadFile(dir_ / "Pictor.ini"), before);
}

TEST_F(ConvertCommandTest, BadUsageExitsTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"--depth", "3", Picture()},
        {"--depth", "16", "--color-type", "2", Picture()},
        {"--color-type", "1", "--depth", "8", Picture()},
        {"--direction", "2", Picture()},
        {"--output", "hex", Picture()},
        {"--unit", "3", Picture()},
        {"--unit", "8192", Picture()},
        {"--block", "12", Picture()},
        {"--bk-color", "-1", Picture()},
        {"--bk-color", "16777216", Picture()},
        {"--model", "Unknown", Picture()},
        {},  // no picture
    };
    for (const auto& c : cases) {
        const std::string label = c.empty() ? "(none)" : c[0] + " " + c[1];
        EXPECT_EQ(Convert(c), kExitUsage) << label;
        EXPECT_FALSE(err_.str().empty()) << label;
        EXPECT_FALSE(fs::exists(dir_ / "out" / "Icon.bin")) << label;
    }
}

TEST_F(ConvertCommandTest, FailuresExitOne) {
    EXPECT_EQ(Convert({(dir_ / "missing.bmp").string()}), kExitFailed);
    EXPECT_NE(err_.str().find("missing.bmp"), std::string::npos);

    EXPECT_EQ(Convert({"--output-dir", (dir_ / "nowhere").string(), Picture()}), kExitFailed);
    EXPECT_NE(err_.str().find("错误!.."), std::string::npos);

    WriteBitmap(dir_ / "big.bmp", 16, 16, 0);
    EXPECT_EQ(Convert({"--avoid-across-sector", "--size-to-bin", (dir_ / "big.bmp").string()}),
              kExitFailed);
    EXPECT_NE(err_.str().find("单个图片尺寸大于1 sector!"), std::string::npos);
}

TEST_F(ConvertCommandTest, SymbolWarningsGoToStderrAndTheConvertStillSucceeds) {
    fs::create_directories(dir_ / "other");
    WriteBitmap(dir_ / "arrow-left.bmp", 1, 1, 0x00FF00);
    WriteBitmap(dir_ / "other" / "RED.bmp", 1, 1, 0x0000FF);
    ASSERT_EQ(Convert({Picture(), (dir_ / "arrow-left.bmp").string(),
                       (dir_ / "other" / "RED.bmp").string()}),
              kExitOk)
        << err_.str();
    EXPECT_NE(err_.str().find("warning: picture \"arrow-left\" gives the symbol "
                              "\"ARROW-LEFT\" in Icon.h, which is not a valid C identifier (it "
                              "contains a hyphen)\n"),
              std::string::npos)
        << err_.str();
    EXPECT_NE(err_.str().find("both give the symbol \"RED\" in Icon.h\n"), std::string::npos)
        << err_.str();
    EXPECT_EQ(out_.str().find("warning"), std::string::npos);
    // The header is written as it is: the warnings change nothing.
    EXPECT_NE(ReadFile(dir_ / "out" / "Icon.h").find("#define ARROW-LEFT  0x0"), std::string::npos);

    ASSERT_EQ(Convert({Picture()}), kExitOk);
    EXPECT_EQ(err_.str().find("warning"), std::string::npos) << err_.str();
}

TEST_F(ConvertCommandTest, TrailersOnlyWithWriteTrailers) {
    const std::string original = ReadFile(Picture());
    ASSERT_EQ(Convert({Picture()}), kExitOk);
    EXPECT_EQ(ReadFile(Picture()), original);
    ASSERT_EQ(Convert({"--write-trailers", Picture()}), kExitOk);
    EXPECT_EQ(ReadFile(Picture()), original + std::string("aVaV\0\0", 6));
}

TEST_F(ConvertCommandTest, JobsGiveTheSameImageAndFlashTypeBoundsIt) {
    // 1024 x 520 at 16 bits: 2048 + 1064960 bytes, over the 1 MiB of an "8Mbit" flash.
    WriteBitmap(dir_ / "big.bmp", 1024, 520, 0x336699);
    std::ofstream(dir_ / "Pictor.ini", std::ios::app) << "[Scom]\nFLASH_TYPE=8Mbit\n";
    ASSERT_EQ(Convert({"--jobs", "1", (dir_ / "big.bmp").string(), Picture()}), kExitOk)
        << err_.str();
    const std::string single = Data();
    EXPECT_EQ(single.size(), 2048U + 1064960U + 4U);
    EXPECT_NE(err_.str().find("1067012 bytes, more than the flash's 1048576 bytes"),
              std::string::npos)
        << err_.str();
    ASSERT_EQ(Convert({"--jobs", "2", (dir_ / "big.bmp").string(), Picture()}), kExitOk);
    EXPECT_EQ(Data(), single);
    EXPECT_EQ(Convert({"--jobs", "0", Picture()}), kExitUsage);
}

}  // namespace
}  // namespace pictor::cli
