#include "core/common/regular_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <span>
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

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Line ends and a 0x1A byte would be changed or cut by a text-mode descriptor on
// Windows; every write and read here must be byte-exact.
TEST(RegularFileTest, WritesAndReadsBytesUnchanged) {
    test::TempDir dir;
    const std::string content("a\nb\r\nc\x1a\0d", 10);
    const int fd = OpenForWriting(dir / "raw.bin", WriteOpen::CreateNew);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(WriteAll(fd, Bytes(content)));
    EXPECT_TRUE(SyncFileData(fd));
    EXPECT_TRUE(CloseFile(fd));
    EXPECT_EQ(test::ReadFile(dir / "raw.bin"), content);
    auto file = RegularFile::Open(dir / "raw.bin", FileAccess::Read);
    ASSERT_TRUE(file.has_value());
    const auto bytes = file->ReadAll(100);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), content);
}

// A write at an offset leaves the position of the sequential writes alone, as
// pwrite does: an output patched in the middle goes on where it was.
TEST(RegularFileTest, WritingAtAnOffsetKeepsTheSequentialPosition) {
    test::TempDir dir;
    const int fd = OpenForWriting(dir / "out.bin", WriteOpen::Truncate);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(WriteAll(fd, Bytes("abcdef")));
    EXPECT_TRUE(WriteAllAt(fd, 1, Bytes("XY")));
    EXPECT_TRUE(WriteAll(fd, Bytes("gh")));
    EXPECT_TRUE(CloseFile(fd));
    EXPECT_EQ(test::ReadFile(dir / "out.bin"), "aXYdefgh");
}

TEST(RegularFileTest, CreatingANewFileNeverTakesAnExistingOne) {
    test::TempDir dir;
    test::WriteFile(dir / "taken", "keep");
    errno = 0;
    EXPECT_LT(OpenForWriting(dir / "taken", WriteOpen::CreateNew), 0);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(test::ReadFile(dir / "taken"), "keep");

    std::filesystem::path first;
    std::filesystem::path second;
    const int a = CreateUniqueFile(dir.Path(), "t-", first);
    const int b = CreateUniqueFile(dir.Path(), "t-", second);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_TRUE(CloseFile(a));
    EXPECT_TRUE(CloseFile(b));
    EXPECT_NE(first, second);
    EXPECT_EQ(first.parent_path(), dir.Path());
    EXPECT_EQ(Utf8FromPath(first.filename()).substr(0, 2), "t-");
}

// The replacement takes the place of an existing file in one step; a failed one
// leaves the target as it was.
TEST(RegularFileTest, ReplacementSwapsInTheNewFile) {
    test::TempDir dir;
    test::WriteFile(dir / "target", "old");
    test::WriteFile(dir / "new", "new!");
#ifndef _WIN32
    // A reader of the old file keeps reading it. (Windows refuses to replace a
    // file that is open, so there a write fails while another program holds it.)
    auto reader = RegularFile::Open(dir / "target", FileAccess::Read);
    ASSERT_TRUE(reader.has_value());
#endif

    std::error_code error;
    ASSERT_TRUE(ReplaceFileAtomically(dir / "new", dir / "target", error)) << error.message();
    EXPECT_FALSE(error);
    EXPECT_EQ(test::ReadFile(dir / "target"), "new!");
    EXPECT_FALSE(std::filesystem::exists(dir / "new"));
#ifndef _WIN32
    std::array<std::uint8_t, 3> old{};
    EXPECT_EQ(reader->ReadAt(0, old), 3u);
    EXPECT_EQ(std::string(old.begin(), old.end()), "old");
#endif

    EXPECT_FALSE(ReplaceFileAtomically(dir / "gone", dir / "target", error));
    EXPECT_TRUE(error);
    EXPECT_EQ(test::ReadFile(dir / "target"), "new!");
}

// File names outside the ANSI code page (Chinese ones on a Western Windows) must
// reach the file system intact from UTF-8 text and come back as the same text.
TEST(RegularFileTest, Utf8NamesSurviveTheWayToTheFileSystemAndBack) {
    test::TempDir dir;
    const std::string name = "\xE5\x9B\xBE\xE7\x89\x87 \xC3\xA9.bmp";  // 图片 é.bmp
    const std::filesystem::path path = dir.Path() / PathFromUtf8(name);
    const int fd = OpenForWriting(path, WriteOpen::Truncate);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(CloseFile(fd));
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        EXPECT_EQ(Utf8FromPath(entry.path().filename()), name);
        ++found;
    }
    EXPECT_EQ(found, 1);
    EXPECT_TRUE(RegularFile::Open(path, FileAccess::Read).has_value());
    EXPECT_EQ(Utf8FromPath(PathFromUtf8("")), "");
}

// A folder and a device are never read as data; a missing file says so.
TEST(RegularFileTest, RefusesFoldersAndDevices) {
    test::TempDir dir;
    OpenFailure failure = OpenFailure::None;
    EXPECT_FALSE(RegularFile::Open(dir.Path(), FileAccess::Read, &failure).has_value());
    EXPECT_EQ(failure, OpenFailure::NotRegular);
#ifdef _WIN32
    const std::filesystem::path device = "NUL";
#else
    const std::filesystem::path device = "/dev/null";
#endif
    EXPECT_FALSE(RegularFile::Open(device, FileAccess::Read, &failure).has_value());
    EXPECT_EQ(failure, OpenFailure::NotRegular);
    EXPECT_FALSE(RegularFile::Open(dir / "missing", FileAccess::Read, &failure).has_value());
    EXPECT_EQ(failure, OpenFailure::NotFound);
}

}  // namespace
}  // namespace pictor
