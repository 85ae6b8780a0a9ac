#include "core/common/save_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cerrno>
#include <string>
#include <vector>

#include "support/platform.h"
#include "support/recording_save_calls.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace pictor {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::RecordingSaveCalls;
using test::WriteFile;

std::size_t EntryCount(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(SaveFile, DataIsSyncedBeforeTheRenameAndTheFolderAfterIt) {
    const test::TempDir dir;
    WriteFile(dir / "Pictor.ini", "old");
    RecordingSaveCalls calls;
    std::error_code error;
    ASSERT_TRUE(SaveFileContent(dir / "Pictor.ini", std::string_view("new"), error, calls));
    EXPECT_EQ(calls.calls, (std::vector<std::string>{
                               "create .Pictor.ini.tmp",
                               "write .Pictor.ini.tmp",
                               "sync .Pictor.ini.tmp",
                               "close .Pictor.ini.tmp",
                               "replace .Pictor.ini.tmp Pictor.ini",
                               "syncdir " + dir.Path().filename().string(),
                           }));
    EXPECT_EQ(ReadFile(dir / "Pictor.ini"), "new");
}

TEST(SaveFile, AFailureAtAnyStepKeepsTheOldFileAndLeavesNothingBehind) {
    const test::TempDir dir;
    const fs::path path = dir / "Icon.h";
    for (const char* step : {"create", "write", "sync", "close", "replace"}) {
        SCOPED_TRACE(step);
        WriteFile(path, "old");
        RecordingSaveCalls calls;
        calls.failKind = step;
        calls.failErrno = EACCES;
        std::error_code error;
        EXPECT_FALSE(SaveFileContent(path, std::string_view("new content"), error, calls));
        EXPECT_EQ(error, std::errc::permission_denied);
        EXPECT_EQ(ReadFile(path), "old");
        EXPECT_EQ(EntryCount(dir.Path()), 1U);
        EXPECT_TRUE(calls.Only({"replace"}).empty() || std::string(step) == "replace");
    }
}

TEST(SaveFile, ADeviceThatFillsUpFailsTheSaveWhereverTheWriteStops) {
    // Buffered writes reach the device in Finish, large ones at once: a full device
    // is noticed either way, and the file is never published.
    const test::TempDir dir;
    const fs::path path = dir / "Icon.bin";
    for (const std::uint64_t room : {0ULL, 100ULL, 300000ULL}) {
        SCOPED_TRACE(room);
        WriteFile(path, "old");
        RecordingSaveCalls calls;
        calls.writeBudget = room;
        std::error_code error;
        const std::unique_ptr<SaveFile> file = SaveFile::Begin(path, error, calls);
        ASSERT_NE(file, nullptr);
        file->Write(std::string(200, 'a'));
        file->Write(std::string(400 * 1024, 'b'));  // more than the write buffer
        file->Write(std::string(10, 'c'));
        EXPECT_FALSE(file->Commit());
        EXPECT_EQ(file->Error(), std::errc::no_space_on_device);
        EXPECT_TRUE(calls.Only({"replace"}).empty());
        EXPECT_EQ(ReadFile(path), "old");
    }
    EXPECT_EQ(EntryCount(dir.Path()), 1U);
}

TEST(SaveFile, LargeWritesAndAnOverwriteLandInTheFile) {
    const test::TempDir dir;
    std::error_code error;
    const std::unique_ptr<SaveFile> file = SaveFile::Begin(dir / "out.bin", error);
    ASSERT_NE(file, nullptr) << error.message();
    const std::string big(700 * 1024, 'x');  // larger than the write buffer
    ASSERT_TRUE(file->Write(std::string_view("head")));
    ASSERT_TRUE(file->Write(big));
    ASSERT_TRUE(file->Write(std::string_view("tail")));
    const std::uint8_t patch[] = {'H', 'E'};
    ASSERT_TRUE(file->Overwrite(0, patch));
    EXPECT_FALSE(fs::exists(dir / "out.bin"));  // not before it is published
    ASSERT_TRUE(file->Commit());
    EXPECT_EQ(ReadFile(dir / "out.bin"), "HEad" + big + "tail");
    EXPECT_EQ(EntryCount(dir.Path()), 1U);
}

TEST(SaveFile, AnUnpublishedSaveRemovesItsTemporaryFile) {
    const test::TempDir dir;
    WriteFile(dir / "Icon.h", "old");
    std::error_code error;
    {
        const std::unique_ptr<SaveFile> file = SaveFile::Begin(dir / "Icon.h", error);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->TemporaryPath().parent_path(), dir.Path());
        file->Write(std::string_view("partial"));
        ASSERT_TRUE(file->Finish());  // finished but never published
    }
    EXPECT_EQ(ReadFile(dir / "Icon.h"), "old");
    EXPECT_EQ(EntryCount(dir.Path()), 1U);
}

TEST(SaveFile, AMissingOrReadOnlyFolderFailsAtTheStart) {
    PICTOR_SKIP_ON_WINDOWS("a read-only folder attribute does not stop writes");
    const test::TempDir dir;
    std::error_code error;
    EXPECT_EQ(SaveFile::Begin(dir / "missing" / "Icon.bin", error), nullptr);
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    test::MakeReadOnlyFolder(dir.Path());
    // Without root, which could create files in the read-only folder.
    EXPECT_EQ(test::RunUnprivileged([&] {
                  std::error_code denied;
                  return SaveFile::Begin(dir / "Icon.bin", denied) == nullptr &&
                                 denied == std::errc::permission_denied
                             ? 0
                             : 1;
              }),
              0);
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(EntryCount(dir.Path()), 0U);
}

#ifndef _WIN32  // no mode bits, and symbolic links need privileges
TEST(SaveFile, KeepsTheModeAndWritesThroughALink) {
    const test::TempDir dir;
    fs::create_directory(dir / "real");
    WriteFile(dir / "real" / "Icon.h", "old");
    ASSERT_EQ(::chmod((dir / "real" / "Icon.h").c_str(), 0600), 0);
    fs::create_symlink("real/Icon.h", dir / "Icon.h");  // relative to the link's folder
    RecordingSaveCalls calls;
    std::error_code error;
    ASSERT_TRUE(SaveFileContent(dir / "Icon.h", std::string_view("new"), error, calls));
    EXPECT_TRUE(fs::is_symlink(dir / "Icon.h"));
    EXPECT_EQ(ReadFile(dir / "real" / "Icon.h"), "new");
    struct stat status {};
    ASSERT_EQ(::stat((dir / "real" / "Icon.h").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600U);
    // The target's folder is the one that holds the temporary file and is synced.
    EXPECT_EQ(calls.Only({"syncdir"}), std::vector<std::string>{"syncdir real"});
    EXPECT_EQ(EntryCount(dir / "real"), 1U);
    EXPECT_EQ(SaveTarget(dir / "Icon.h"), dir / "real" / "Icon.h");
}
#endif

}  // namespace
}  // namespace pictor
