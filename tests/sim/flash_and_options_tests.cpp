#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/flash_memory.h"
#include "sim/sim_options.h"
#include "support/temp_dir.h"

namespace pictor::sim {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

TEST(FlashMemoryTest, FileKeepsTheContentAcrossRuns) {
    const fs::path path =
        fs::temp_directory_path() / ("pictor-flash-" + std::to_string(::getpid()));
    fs::remove(path);
    constexpr std::size_t kCapacity = 4 * kEraseBlockSize;
    {
        FlashMemory flash(kCapacity);
        std::string error;
        ASSERT_TRUE(flash.OpenFile(path, error)) << error;
        EXPECT_EQ(fs::file_size(path), kCapacity);
        EXPECT_TRUE(std::all_of(flash.Bytes().begin(), flash.Bytes().end(),
                                [](std::uint8_t b) { return b == 0xFF; }));
        EXPECT_TRUE(flash.Program(kEraseBlockSize + 10, Bytes{0x12, 0x34}));
    }
    {
        FlashMemory flash(kCapacity);
        std::string error;
        ASSERT_TRUE(flash.OpenFile(path, error)) << error;
        Bytes read(4);
        flash.Read(kEraseBlockSize + 9, read);
        EXPECT_EQ(read, (Bytes{0xFF, 0x12, 0x34, 0xFF}));
        EXPECT_TRUE(flash.EraseBlock(1));
    }
    {
        FlashMemory flash(kCapacity);
        std::string error;
        ASSERT_TRUE(flash.OpenFile(path, error)) << error;
        EXPECT_EQ(flash.Bytes()[kEraseBlockSize + 10], 0xFF);
    }
    FlashMemory other(2 * kCapacity);
    std::string error;
    EXPECT_FALSE(other.OpenFile(path, error));  // a file of another flash size is not touched
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(fs::file_size(path), kCapacity);
}

TEST(FlashMemoryTest, RangesOutsideTheFlashAreRefused) {
    FlashMemory flash(2 * kEraseBlockSize);
    EXPECT_FALSE(flash.EraseBlock(2));
    EXPECT_FALSE(flash.Program(2 * kEraseBlockSize - 1, Bytes{0, 0}));
    EXPECT_EQ(flash.Bytes().back(), 0xFF);
    EXPECT_TRUE(flash.Program(2 * kEraseBlockSize - 2, Bytes{0, 0}));
    Bytes beyond(4);
    flash.Read(2 * kEraseBlockSize - 2, beyond);
    EXPECT_EQ(beyond, (Bytes{0x00, 0x00, 0xFF, 0xFF}));
}

TEST(SimOptionsTest, CommandCodes) {
    struct Case {
        const char* text;
        int code;  // -1: refused
    };
    const Case cases[] = {{"90", 0x90},  {"97", 0x97},  {"0x94", 0x94}, {"0X92", 0x92},
                          {"148", 0x94}, {"144", 0x90}, {"98", -1},     {"0x98", -1},
                          {"1", -1},     {"", -1},      {"9x", -1},     {"-90", -1}};
    for (const Case& c : cases) {
        const auto code = ParseCommandCode(c.text);
        EXPECT_EQ(code ? int{*code} : -1, c.code) << c.text;
    }
}

TEST(SimOptionsTest, HexBytes) {
    EXPECT_EQ(ParseHexBytes("9107"), (Bytes{0x91, 0x07}));
    EXPECT_EQ(ParseHexBytes("90 07"), (Bytes{0x90, 0x07}));
    EXPECT_EQ(ParseHexBytes("aa:Bc"), (Bytes{0xAA, 0xBC}));
    EXPECT_FALSE(ParseHexBytes("9"));
    EXPECT_FALSE(ParseHexBytes(""));
    EXPECT_FALSE(ParseHexBytes("9g"));
}

}  // namespace
}  // namespace pictor::sim
