#include "core/workspace/position_trailer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>

#include "core/workspace/test_files.h"

namespace pictor::workspace {
namespace {

using testing::Bytes;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(PositionTrailer, ReadsOnlyAMagicAtTheEnd) {
    struct Case {
        const char* label;
        Bytes bytes;
        std::optional<TrailerPosition> expected;
    };
    const Case cases[] = {
        {"10 20", {'B', 'M', 0x61, 0x56, 0x61, 0x56, 0x0A, 0x14}, TrailerPosition{10, 20}},
        {"255 255", {0x61, 0x56, 0x61, 0x56, 0xFF, 0xFF}, TrailerPosition{255, 255}},
        {"wrong case", {'B', 'M', 'a', 'v', 'a', 'V', 0x0A, 0x14}, std::nullopt},
        {"magic not at the end", {0x61, 0x56, 0x61, 0x56, 0x0A, 0x14, 0}, std::nullopt},
        {"five bytes", {0x56, 0x61, 0x56, 0x0A, 0x14}, std::nullopt},
        {"empty", {}, std::nullopt},
    };
    const TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteFile(dir / "f", c.bytes);
        EXPECT_EQ(ReadTrailer(dir / "f"), c.expected);
        std::istringstream stream(std::string(c.bytes.begin(), c.bytes.end()));
        EXPECT_EQ(ReadTrailer(stream), c.expected);
    }
    EXPECT_EQ(ReadTrailer(dir / "missing"), std::nullopt);
}

TEST(PositionTrailer, WriteAppendsOnceThenUpdatesInPlace) {
    const TempDir dir;
    const auto path = dir / "p.bmp";
    WriteFile(path, {'B', 'M', 1, 2});
    ASSERT_TRUE(WriteTrailer(path, 300, -1));  // low 8 bits: 44 and 255
    EXPECT_EQ(ReadFile(path), (Bytes{'B', 'M', 1, 2, 0x61, 0x56, 0x61, 0x56, 44, 0xFF}));
    ASSERT_TRUE(WriteTrailer(path, 10, 20));
    EXPECT_EQ(ReadFile(path), (Bytes{'B', 'M', 1, 2, 0x61, 0x56, 0x61, 0x56, 10, 20}));

    // A file shorter than a trailer gets one appended.
    WriteFile(path, {});
    ASSERT_TRUE(WriteTrailer(path, 0, 256));
    EXPECT_EQ(ReadFile(path), (Bytes{0x61, 0x56, 0x61, 0x56, 0, 0}));

    EXPECT_FALSE(WriteTrailer(dir / "missing", 1, 1));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(PositionTrailer, WriteFailsOnReadOnlyFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root may write read-only files";
    }
    const TempDir dir;
    const auto path = dir / "ro.bmp";
    WriteFile(path, {'B', 'M'});
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_FALSE(WriteTrailer(path, 1, 2));
    EXPECT_EQ(ReadFile(path), (Bytes{'B', 'M'}));
}

}  // namespace
}  // namespace pictor::workspace
