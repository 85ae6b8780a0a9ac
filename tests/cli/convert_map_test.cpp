// pictor-cli convert --map: the CSV file, the totals on stdout, and the refusals.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

class ConvertMapTest : public CliTest {
  protected:
    void SetUp() override {
        fs::create_directories(dir_ / "out");
        ASSERT_TRUE(test::WriteBytes(dir_ / "red.bmp", test::SolidBitmap(2, 1, 0xFF0000)));
        ASSERT_TRUE(test::WriteBytes(dir_ / "wide,one.bmp", test::SolidBitmap(300, 1, 0x00FF00)));
        std::ofstream(dir_ / "Pictor.ini") << "[COMMON]\nMODEL_COUNT=1\nMODEL_NAME0=Colour\n"
                                              "CURRENT_MODE=0\n[Colour]\nCOLOR_DEPTH=16\n"
                                              "[Scom]\nFLASH_TYPE=16Mbit\n";
    }

    int Convert(const std::vector<std::string>& extra) {
        std::vector<std::string> args = {"convert", "--output-dir", (dir_ / "out").string(),
                                         "--settings", (dir_ / "Pictor.ini").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back((dir_ / "wide,one.bmp").string());
        args.push_back((dir_ / "red.bmp").string());
        return RunCli(args);
    }
};

// Unit 64: red (4 bytes) at 2048, then 60 bytes to 2112 where the 600 bytes of
// "wide,one" start and run from sector 4 into sector 5.
TEST_F(ConvertMapTest, WritesTheCsvAndPrintsTheTotals) {
    const fs::path map = dir_ / "map.csv";
    ASSERT_EQ(Convert({"--unit", "64", "--map", map.string()}), kExitOk) << err_.str();
    const std::string d = dir_.string();
    EXPECT_EQ(test::ReadFile(map),
              "index,symbol,source_file,width,height,offset,stored_size,padding_after,"
              "first_sector,last_sector,crosses_sector\n"
              "0,RED," +
                  d + "/red.bmp,2,1,2048,4,60,4,4,no\n" + "1,\"WIDE,ONE\",\"" + d +
                  "/wide,one.bmp\",300,1,2112,600,0,4,5,yes\n");
    EXPECT_EQ(test::ReadFile(dir_ / "out" / "Icon.bin").size(), 2712U);
    const std::string out = out_.str();
    for (const char* line :
         {"memory map: ", "pictures: 2\n", "pixel data: 604 bytes\n", "size prefixes: 0 bytes\n",
          "padding: 60 bytes (allocation unit 60, sector rule 0)\n", "table: 2048 bytes\n",
          "image: 2712 bytes\n", "flash: 2097152 bytes, 0.13 % used\n"}) {
        EXPECT_NE(out.find(line), std::string::npos) << line << " in\n" << out;
    }
}

// C source has no binary layout; a map over an output or an input would destroy
// it. Both are refused before anything is written.
TEST_F(ConvertMapTest, RefusalsComeBeforeAnythingIsWritten) {
    const std::string picture = test::ReadFile(dir_ / "red.bmp");
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--output", "c", "--map", (dir_ / "map.csv").string()}, "a memory map needs the binary output"},
        {{"--map", (dir_ / "out" / "Icon.bin").string()}, "would overwrite"},
        {{"--map", (dir_ / "out" / "." / "Icon.h").string()}, "would overwrite"},
        {{"--map", (dir_ / "red.bmp").string()}, "would overwrite"},
        {{"--map", (dir_ / "Pictor.ini").string()}, "would overwrite"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Convert(c.args), kExitUsage) << c.args.back();
        EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
        EXPECT_FALSE(fs::exists(dir_ / "map.csv"));
        EXPECT_TRUE(fs::is_empty(dir_ / "out")) << c.args.back();
    }
    EXPECT_EQ(test::ReadFile(dir_ / "red.bmp"), picture);
}

TEST_F(ConvertMapTest, AMapThatCannotBeWrittenFailsTheCommand) {
    EXPECT_EQ(Convert({"--map", (dir_ / "missing" / "map.csv").string()}), kExitFailed);
    EXPECT_NE(err_.str().find("cannot write the memory map"), std::string::npos) << err_.str();
    // The conversion itself had succeeded and stays in place.
    EXPECT_TRUE(fs::exists(dir_ / "out" / "Icon.bin"));
}

}  // namespace
}  // namespace pictor::cli
