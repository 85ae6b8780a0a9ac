#include "core/settings/profile_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/platform.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace pictor::settings {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class ProfileFileTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path path = dir / "Pictor.ini";
    ProfileFile file{path};
};

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(file.GetString("COMMON", "LCD_TYPE", "dflt"), "dflt");
    EXPECT_EQ(file.GetInt("COMMON", "MODEL_COUNT", 7), 7);
    WriteFile(path, "[COMMON]\nMODEL_COUNT=2\n");
    EXPECT_EQ(file.GetString("Other", "MODEL_COUNT", "x"), "x");
    EXPECT_EQ(file.GetInt("COMMON", "CURRENT_MODE", -3), -3);
    EXPECT_FALSE(std::filesystem::exists(dir / "nothing.ini"));
}

TEST_F(ProfileFileTest, NamesMatchWithoutRegardToAsciiCase) {
    WriteFile(path, "[common]\r\nmodel_name0 = First Model \r\n[Scom]\r\nCom=COM3\r\n");
    EXPECT_EQ(file.GetString("COMMON", "MODEL_NAME0", ""), "First Model");
    EXPECT_EQ(file.GetString("SCOM", "COM", ""), "COM3");
}

TEST_F(ProfileFileTest, IntegersReadTheLeadingDigitsOnly) {
    WriteFile(path,
              "[S]\nplain=42\nneg=-17\ntail=64Mbit\nnone=abc\nempty=\nspaced=  12 \n"
              "big=99999999999\n");
    EXPECT_EQ(file.GetInt("S", "plain", 0), 42);
    EXPECT_EQ(file.GetInt("S", "neg", 0), -17);
    EXPECT_EQ(file.GetInt("S", "tail", 0), 64);
    EXPECT_EQ(file.GetInt("S", "none", 5), 0);   // present without digits reads 0
    EXPECT_EQ(file.GetInt("S", "empty", 5), 0);  // present but empty is not missing
    EXPECT_EQ(file.GetInt("S", "spaced", 0), 12);
    EXPECT_EQ(file.GetInt("S", "big", 0), 2147483647);
}

TEST_F(ProfileFileTest, ValuesAreCutToTheBufferSize) {
    const std::string longValue(1500, 'x');
    WriteFile(path, "[COMMON]\nEXT_EDIT_EXE=" + longValue + "\n[Scom]\nCOM=" + longValue + "\n");
    EXPECT_EQ(file.GetString("COMMON", "EXT_EDIT_EXE", "").size(), 1023U);
    EXPECT_EQ(file.GetString("Scom", "COM", "", ProfileFile::kShortValue).size(), 99U);
    // A cut never splits a UTF-8 character: "图" is three bytes.
    WriteFile(path, "[S]\nk=ab图\n");
    EXPECT_EQ(file.GetString("S", "k", "", 4), "ab");
}

TEST_F(ProfileFileTest, WritesCreateFileSectionAndKey) {
    ASSERT_TRUE(file.WriteString("COMMON", "LCD_TYPE", "320x240"));
    EXPECT_EQ(ReadFile(path), "[COMMON]\nLCD_TYPE=320x240\n");
    ASSERT_TRUE(file.WriteString("COMMON", "MODEL_COUNT", "1"));
    ASSERT_TRUE(file.WriteString("Scom", "COM", "COM2"));
    EXPECT_EQ(ReadFile(path), "[COMMON]\nLCD_TYPE=320x240\nMODEL_COUNT=1\n[Scom]\nCOM=COM2\n");
    EXPECT_EQ(file.GetString("scom", "com", ""), "COM2");
}

TEST_F(ProfileFileTest, WritesKeepEveryOtherLineAsItWas) {
    const std::string before =
        "; settings of the line\r\n[COMMON]\r\nLCD_TYPE = 480x320\r\n\r\n; models\r\n"
        "MODEL_COUNT=1\r\n\r\n[Model A]\r\nCOLOR_DEPTH=16\r\n";
    WriteFile(path, before);
    ASSERT_TRUE(file.WriteString("common", "model_count", "2"));
    ASSERT_TRUE(file.WriteString("COMMON", "CURRENT_MODE", "1"));
    EXPECT_EQ(ReadFile(path),
              "; settings of the line\r\n[COMMON]\r\nLCD_TYPE = 480x320\r\n\r\n; models\r\n"
              "model_count=2\r\nCURRENT_MODE=1\r\n\r\n[Model A]\r\nCOLOR_DEPTH=16\r\n");
}

#ifndef _WIN32  // inode numbers and pread; RegularFileTest covers the Windows replacement
TEST_F(ProfileFileTest, AWriteReplacesTheFileAtomically) {
    WriteFile(path, "[S]\nk=1\n");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    // A reader that opened the file before the write keeps the old file whole:
    // the write made a new file and renamed it over the old name.
    const int reader = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);

    ASSERT_TRUE(file.WriteString("S", "k", "22"));

    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    char old[32] = {};
    EXPECT_EQ(::pread(reader, old, sizeof old, 0), 8);
    EXPECT_EQ(std::string(old), "[S]\nk=1\n");
    ::close(reader);
    // Nothing is left beside the file: the temporary was renamed over it.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(ReadFile(path), "[S]\nk=22\n");
}
#endif

TEST_F(ProfileFileTest, AFailedWriteLeavesTheOldFileAndReportsIt) {
    PICTOR_SKIP_ON_WINDOWS("a read-only folder attribute does not stop writes");
    WriteFile(path, "[S]\nk=1\n");
    test::MakeReadOnlyFolder(dir.Path());
    // Run without root, which could write into the read-only folder.
    const int refused =
        test::RunUnprivileged([this] { return file.WriteString("S", "k", "2") ? 1 : 0; });
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(ReadFile(path), "[S]\nk=1\n");
}

TEST_F(ProfileFileTest, ALinkedFileStaysALinkAndItsTargetIsReplaced) {
    PICTOR_SKIP_ON_WINDOWS("symbolic links need privileges");
    std::filesystem::create_directory(dir / "real");
    WriteFile(dir / "real" / "shared.ini", "[S]\nk=1\n");
    std::filesystem::create_symlink("real/shared.ini", path);  // relative to the link

    ASSERT_TRUE(file.WriteString("S", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadFile(dir / "real" / "shared.ini"), "[S]\nk=2\n");
    EXPECT_EQ(file.GetString("S", "k", ""), "2");
    // The temporary was made beside the target, and nothing is left of it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "real"),
                            std::filesystem::directory_iterator()),
              1);

    // A link whose target does not exist yet: the first write creates the target.
    const std::filesystem::path dangling = dir / "other.ini";
    std::filesystem::create_symlink(dir / "real" / "new.ini", dangling);
    ProfileFile viaLink(dangling);
    ASSERT_TRUE(viaLink.WriteString("S", "k", "3"));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(ReadFile(dir / "real" / "new.ini"), "[S]\nk=3\n");
}

TEST_F(ProfileFileTest, NamesWithEdgeBlanksAreComparedAsTheLinesShowThem) {
    // A section written for " Colour" must be the section read for it.
    ASSERT_TRUE(file.WriteString(" Colour", "COLOR_DEPTH", "16"));
    ASSERT_TRUE(file.WriteString("Colour ", " COLOR_TYPE ", "1"));
    ASSERT_TRUE(file.WriteString(" Colour", "COLOR_DEPTH", "8"));
    EXPECT_EQ(ReadFile(path), "[Colour]\nCOLOR_DEPTH=8\nCOLOR_TYPE=1\n");
    EXPECT_EQ(file.GetInt(" Colour", "COLOR_DEPTH", 0), 8);
    EXPECT_EQ(file.GetInt("Colour", "color_type ", 0), 1);
}

TEST_F(ProfileFileTest, NamesAndValuesNoLineCouldHoldAreNeitherReadNorWritten) {
    const std::string content = "[A]\nk=1\n";
    WriteFile(path, content);
    // "[A]B]" would read back as section "A": a "]" in the name would mix models.
    EXPECT_FALSE(file.WriteString("A]B", "k", "2"));
    EXPECT_EQ(file.GetString("A]B", "k", "none"), "none");
    EXPECT_FALSE(file.WriteString("[A", "k", "2"));
    EXPECT_FALSE(file.WriteString("  ", "k", "2"));
    EXPECT_FALSE(file.WriteString("A", "k=x", "2"));
    EXPECT_FALSE(file.WriteString("A", "", "2"));
    // A line break in a value would add a line of its own.
    EXPECT_FALSE(file.WriteString("A", "k", "2\nCOLOR_DEPTH=24"));
    EXPECT_FALSE(file.WriteString("A", "k", "2\r"));
    EXPECT_EQ(ReadFile(path), content);
}

TEST_F(ProfileFileTest, AWriteThatCannotReplaceTheFileReportsFailure) {
    // Root cannot bypass these: the directory does not exist, or the target is a directory.
    ProfileFile nowhere(dir / "missing" / "Pictor.ini");
    EXPECT_FALSE(nowhere.WriteString("S", "k", "1"));
    std::filesystem::create_directory(dir / "adir");
    ProfileFile aDirectory(dir / "adir");
    EXPECT_FALSE(aDirectory.WriteString("S", "k", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "adir"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);  // no temporary left behind
}

TEST_F(ProfileFileTest, QuotedValuesLoseTheirQuotes) {
    WriteFile(path, "[S]\na=\"C:\\Program Files\\edit.exe\"\nb='x'\nc=\"half\n");
    EXPECT_EQ(file.GetString("S", "a", ""), "C:\\Program Files\\edit.exe");
    EXPECT_EQ(file.GetString("S", "b", ""), "x");
    EXPECT_EQ(file.GetString("S", "c", ""), "\"half");
}

}  // namespace
}  // namespace pictor::settings
