#include "core/common/regular_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/platform.h"
#include "support/temp_dir.h"

namespace pictor {
namespace {

TEST(RegularFileTest, ReadsARegularFileAndALinkToOne) {
    PICTOR_SKIP_ON_WINDOWS("symbolic links need privileges");
    test::TempDir dir;
    { std::ofstream(dir / "a.bin", std::ios::binary) << "abc"; }
    std::filesystem::create_symlink(dir / "a.bin", dir / "link.bin");
    for (const char* name : {"a.bin", "link.bin"}) {
        auto file = RegularFile::Open(dir / name, FileAccess::Read);
        ASSERT_TRUE(file.has_value()) << name;
        EXPECT_EQ(file->Size(), 3u);
        const auto bytes = file->ReadAll(100);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "abc");
        EXPECT_FALSE(file->ReadAll(2).has_value()) << "larger than the limit";
    }
}

// Positioned reads stop at the end of the file and say how much they got;
// positioned writes change only the bytes they are given.
TEST(RegularFileTest, ReadsAndWritesAtAnOffset) {
    test::TempDir dir;
    { std::ofstream(dir / "a.bin", std::ios::binary) << "abcdef"; }
    auto file = RegularFile::Open(dir / "a.bin", FileAccess::ReadWrite);
    ASSERT_TRUE(file.has_value());
    std::array<std::uint8_t, 4> out{};
    bool failed = false;
    EXPECT_EQ(file->ReadAt(1, out, &failed), 4u);
    EXPECT_EQ(std::string(out.begin(), out.end()), "bcde");
    EXPECT_EQ(file->ReadAt(4, out, &failed), 2u) << "short at the end of the file";
    EXPECT_EQ(file->ReadAt(6, out, &failed), 0u);
    EXPECT_FALSE(failed) << "the end of the file is no failure";

    const std::array<std::uint8_t, 2> change = {'X', 'Y'};
    EXPECT_TRUE(WriteAllAt(file->Descriptor(), 2, change));
    EXPECT_TRUE(WriteAllAt(file->Descriptor(), 6, change)) << "appends at the end";
    const auto bytes = file->ReadAll(100);  // reads up to the size at the open
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "abXYef");
    EXPECT_EQ(file->ReadAt(6, out), 2u);
    EXPECT_EQ(out[0], 'X');
    EXPECT_FALSE(WriteAllAt(-1, 0, change));
}

// A file written to replace another keeps the other's permissions; a new one gets
// what the umask leaves of 0666 (not the 0600 of a temporary file).
#ifndef _WIN32  // Windows files have no mode bits
TEST(RegularFileTest, ReplacementTakesTheModeOfTheFileItReplaces) {
    test::TempDir dir;
    { std::ofstream(dir / "old.txt") << "x"; }
    ASSERT_EQ(::chmod((dir / "old.txt").c_str(), 0640), 0);
    const auto modeOf = [](int fd) {
        struct stat status {};
        return ::fstat(fd, &status) == 0 ? status.st_mode & 07777 : 0U;
    };
    std::string name = (dir / "tmp-XXXXXX").string();
    const int fd = ::mkstemp(name.data());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(modeOf(fd), 0600U);
    SetModeForReplacing(fd, dir / "old.txt");
    EXPECT_EQ(modeOf(fd), 0640U);
    const mode_t previous = ::umask(002);
    SetModeForReplacing(fd, dir / "missing.txt");
    EXPECT_EQ(modeOf(fd), 0664U);
    ::umask(022);
    SetModeForReplacing(fd, dir / "missing.txt");
    EXPECT_EQ(modeOf(fd), 0644U);
    ::umask(previous);
    ::close(fd);
}
#endif

// A FIFO would block a plain open until a writer appears; it must be refused at once.
#ifndef _WIN32  // FIFOs are POSIX only
TEST(RegularFileTest, RefusesSpecialFilesWithoutBlocking) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder");
    for (const char* name : {"pipe", "folder"}) {
        for (FileAccess access : {FileAccess::Read, FileAccess::ReadWrite}) {
            OpenFailure failure = OpenFailure::None;
            EXPECT_FALSE(RegularFile::Open(dir / name, access, &failure).has_value()) << name;
            EXPECT_EQ(failure, OpenFailure::NotRegular) << name;
        }
    }
    OpenFailure failure = OpenFailure::None;
    EXPECT_FALSE(RegularFile::Open("/dev/null", FileAccess::Read, &failure).has_value());
    EXPECT_EQ(failure, OpenFailure::NotRegular);
    EXPECT_FALSE(RegularFile::Open(dir / "missing", FileAccess::Read, &failure).has_value());
    EXPECT_EQ(failure, OpenFailure::NotFound);
}
#endif

}  // namespace
}  // namespace pictor
