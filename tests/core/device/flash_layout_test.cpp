#include "core/device/flash_layout.h"

#include <gtest/gtest.h>

#include "core/device/image_buffer.h"
#include "fake_module.h"
#include "support/temp_dir.h"

namespace pictor::device {
namespace {

TEST(FlashLayout, EraseRangeBySizeCode) {
    EXPECT_EQ(EraseRangeFor(2, 2048), (EraseRange{16, 32}));
    EXPECT_EQ(EraseRangeFor(8, 4096), (EraseRange{32, 128}));
    EXPECT_EQ(EraseRangeFor(16, 4096), (EraseRange{32, 256}));
    // 256 Mbit: from the block holding the image start to block 255, never beyond.
    EXPECT_EQ(EraseRangeFor(32, 4096), (EraseRange{32, 256}));
    EXPECT_EQ(EraseRangeFor(32, 12288), (EraseRange{96, 256}));
    EXPECT_EQ(EraseRangeFor(32, 40000), (EraseRange{256, 256}));
}

TEST(FlashLayout, CapacityLimitsAndWarnings) {
    struct Case {
        int code;
        std::uint64_t max;
        const char* warning;
    };
    const Case cases[] = {{2, 1048576, "Bin文件超过1M 容量!!"},
                          {8, 6291456, "Bin文件超过6M 容量!!"},
                          {16, 14680064, "Bin文件超过14M 容量!!"},
                          {32, 14680064, "Bin文件超过14M 容量!!"}};
    for (const Case& c : cases) {
        EXPECT_EQ(CapacityLimitFor(c.code).maxBytes, c.max) << c.code;
        EXPECT_EQ(CapacityLimitFor(c.code).warning, c.warning) << c.code;
        // The largest image ends exactly at the end of the erased range.
        const std::uint32_t start = c.code == 2 ? 2048 : 4096;
        const auto sectors = static_cast<std::uint32_t>(c.max / 512);
        EXPECT_TRUE(FitsEraseRange(start, sectors, EraseRangeFor(c.code, start))) << c.code;
        EXPECT_FALSE(FitsEraseRange(start, sectors + 129, EraseRangeFor(c.code, start))) << c.code;
    }
}

TEST(LoadBinFile, PadsToWholeSectors) {
    pictor::test::TempDir dir;
    test::Recorder recorder;
    const test::Bytes content = test::Pattern(1000);
    pictor::test::WriteFile(dir / "a.bin", std::string(content.begin(), content.end()));
    const auto image = LoadBinFile(dir / "a.bin", 8, recorder);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->sectorCount, 2U);
    EXPECT_EQ(image->fileLength, 1000U);
    ASSERT_EQ(image->bytes->size(), 1024U);
    EXPECT_TRUE(std::equal(content.begin(), content.end(), image->bytes->begin()));
    EXPECT_EQ(std::count(image->bytes->begin() + 1000, image->bytes->end(), 0), 24);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(LoadBinFile, ChecksTheCapacityOfTheFlash) {
    pictor::test::TempDir dir;
    test::Recorder recorder;
    pictor::test::WriteFile(dir / "max.bin", std::string(6291456, 'x'));
    pictor::test::WriteFile(dir / "over.bin", std::string(6291457, 'x'));
    EXPECT_TRUE(LoadBinFile(dir / "max.bin", 8, recorder));
    EXPECT_TRUE(recorder.messages.empty());
    LoadFailure failure = LoadFailure::None;
    EXPECT_FALSE(LoadBinFile(dir / "over.bin", 8, recorder, &failure));
    EXPECT_EQ(failure, LoadFailure::TooLarge);
    ASSERT_EQ(recorder.messages.size(), 1U);
    EXPECT_EQ(recorder.messages[0],
              (Message{"Bin文件超过6M 容量!!", "警告", MessageIcon::Information}));
    EXPECT_FALSE(LoadBinFile(dir / "missing.bin", 8, recorder, &failure));
    EXPECT_EQ(failure, LoadFailure::CannotOpen);
    EXPECT_FALSE(LoadBinFile(dir.Path(), 8, recorder, &failure));
    EXPECT_EQ(failure, LoadFailure::CannotOpen);
    EXPECT_EQ(recorder.messages.size(), 1U) << "no message for a file that cannot be opened";
}

TEST(LoadBinFile, EmptyFileIsZeroSectors) {
    pictor::test::TempDir dir;
    test::Recorder recorder;
    pictor::test::WriteFile(dir / "empty.bin", "");
    const auto image = LoadBinFile(dir / "empty.bin", 2, recorder);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->sectorCount, 0U);
    EXPECT_TRUE(image->bytes->empty());
}

}  // namespace
}  // namespace pictor::device
