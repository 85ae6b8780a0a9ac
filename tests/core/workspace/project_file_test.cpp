#include "core/workspace/project_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/common/regular_file.h"
#include "core/workspace/test_files.h"
#include "support/platform.h"
#include "support/recording_sink.h"

namespace pictor::workspace {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::SolidBitmap;
using testing::TempDir;
using testing::WriteFile;

using test::RecordingSink;

void WriteText(const fs::path& path, const std::string& text) {
    test::WriteFile(path, text);
}

Bytes WithTrailer(Bytes bitmap, std::uint8_t left, std::uint8_t top) {
    bitmap.insert(bitmap.end(), {0x61, 0x56, 0x61, 0x56, left, top});
    return bitmap;
}

// Pictures in an order that is not the name order, in a subfolder and in a folder
// beside the project's, with non-ASCII and space names.
Project SampleProject(const fs::path& root) {
    Project project;
    project.model = "Model 7";
    project.outputDir = root / "proj" / "out dir";
    project.pictures = {
        {root / "proj" / "pics" / "zeta pic.bmp", true, ProjectPosition{10, -3}, {}},
        {root / "shared" / PathFromUtf8("图标.bmp"), false, std::nullopt, {}},
        {root / "proj" / "alpha.bmp", true, ProjectPosition{0, 200}, {}},
    };
    return project;
}

TEST(ProjectFile, SavesReadableRelativeTextAndReadsItBack) {
    const TempDir dir;
    fs::create_directories(dir / "proj");
    const Project project = SampleProject(dir.Path());
    const fs::path file = dir / "proj" / "demo.pictor";
    std::string error;
    ASSERT_TRUE(SaveProject(file, project, &error)) << error;
    EXPECT_EQ(test::ReadFile(file),
              "# Pictor project\n"
              "version = 1\n"
              "model = Model 7\n"
              "output-dir = out dir\n"
              "\n[picture]\nfile = pics/zeta pic.bmp\nshown = yes\nposition = 10,-3\n"
              "\n[picture]\nfile = ../shared/图标.bmp\nshown = no\n"
              "\n[picture]\nfile = alpha.bmp\nshown = yes\nposition = 0,200\n");

    const ProjectLoadResult loaded = LoadProject(file);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.project, project);
    EXPECT_EQ(loaded.missing.size(), 3U);  // none of the pictures was created
}

TEST(ProjectFile, MovedProjectFolderKeepsItsPictures) {
    const TempDir dir;
    fs::create_directories(dir / "a" / "pics");
    Project project;
    project.pictures = {{dir / "a" / "pics" / "p.bmp", false, std::nullopt, {}}};
    ASSERT_TRUE(SaveProject(dir / "a" / "x.pictor", project));
    WriteFile(dir / "a" / "pics" / "p.bmp", SolidBitmap(1, 1, 0));
    fs::rename(dir / "a", dir / "b");

    const ProjectLoadResult loaded = LoadProject(dir / "b" / "x.pictor");
    ASSERT_TRUE(loaded.ok) << loaded.error;
    ASSERT_EQ(loaded.project.pictures.size(), 1U);
    EXPECT_EQ(loaded.project.pictures[0].path, dir / "b" / "pics" / "p.bmp");
    EXPECT_TRUE(loaded.missing.empty());
}

TEST(ProjectFile, AwkwardPathCharactersSurviveTheRoundTrip) {
    const TempDir dir;
    Project project;
    for (const std::string name : {" lead.bmp", "trail.bmp ", "back\\slash.bmp", "two\nlines.bmp",
                                   "tab\there.bmp", "eq = sign [x].bmp", "#hash.bmp"}) {
        project.pictures.push_back({dir / name, false, std::nullopt, {}});
    }
    project.model = "  spaced model ";
    const std::string text = FormatProject(project, dir.Path());
    const ProjectLoadResult loaded = ParseProject(text, dir.Path(), "t");
    ASSERT_TRUE(loaded.ok) << loaded.error << "\n" << text;
    EXPECT_EQ(loaded.project, project);
}

TEST(ProjectFile, UnknownKeysAndSectionsAreKeptWhenRewritten) {
    const TempDir dir;
    const std::string text =
        "\xEF\xBB\xBF# written by a later version\r\n"
        "version = 1\r\n"
        "theme = dark\r\n"
        "model = M\r\n"
        "\r\n"
        "[picture]\r\n"
        "note = keep me \\s\r\n"
        "file = a.bmp\r\n"
        "shown = no\r\n"
        "[view]\r\n"
        "zoom = 2\r\r\r\n";  // the extra carriage returns are the line end's too
    const ProjectLoadResult loaded = ParseProject(text, dir.Path(), "t");
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(FormatProject(loaded.project, dir.Path()),
              "# Pictor project\n"
              "version = 1\n"
              "model = M\n"
              "theme = dark\n"
              "\n[picture]\nfile = a.bmp\nshown = no\nnote = keep me \\s\n"
              "\n[view]\nzoom = 2\n");

    // The GUI rebuilds the project from its list; the unknown keys stay.
    PictureList list;
    ImageEntry entry;
    entry.path = (dir / "a.bmp").string();
    entry.left = 4;
    entry.top = 5;
    list.Append(entry);
    const Project rebuilt = ProjectFromList(list, "M", {}, loaded.project);
    ASSERT_EQ(rebuilt.pictures.size(), 1U);
    EXPECT_EQ(rebuilt.pictures[0].otherKeys, loaded.project.pictures[0].otherKeys);
    EXPECT_EQ(rebuilt.pictures[0].position, (ProjectPosition{4, 5}));
    EXPECT_EQ(rebuilt.otherKeys, loaded.project.otherKeys);
    EXPECT_EQ(rebuilt.otherSections, loaded.project.otherSections);
}

TEST(ProjectFile, MalformedTextIsRefusedWithItsLine) {
    struct Case {
        const char* text;
        const char* expected;  // a part of the message
    };
    const Case cases[] = {
        {"", "no \"version\" line"},
        {"model = M\n", "no \"version\" line"},
        {"version = 2\n", "line 1: written in project format 2"},
        {"version = one\n", "line 1: the version must be"},
        {"version = 1\nversion = 1\n", "line 2: \"version\" appears twice"},
        {"version = 1\njust text\n", "line 2: expected \"key = value\""},
        {"version = 1\n= value\n", "line 2: a key is missing"},
        {"version = 1\n[picture\n", "line 2: a section line"},
        // A blank name would be saved as "[]", which does not load again.
        {"version = 1\n[ ]\n", "line 2: a section line"},
        {"version = 1\n[\r\r\t]\n", "line 2: a section line"},
        {"version = 1\n[picture]\nshown = yes\n", "line 2: the picture has no \"file\" line"},
        {"version = 1\n[picture]\nfile =\n", "line 3: the picture's file is empty"},
        {"version = 1\n[picture]\nfile = a\nshown = maybe\n", "line 4: \"shown\" must be"},
        {"version = 1\n[picture]\nfile = a\nposition = 3\n", "line 4: \"position\" must be"},
        {"version = 1\n[picture]\nfile = a\nposition = 3,4x\n", "line 4: \"position\" must be"},
        {"version = 1\n[picture]\nfile = a\nposition = 9999999999,0\n",
         "line 4: \"position\" must be"},
        {"version = 1\n[picture]\nfile = a\nfile = b\n", "line 4: \"file\" appears twice"},
        {"\x89PNG\r\n\x1a\n\x00\x00", "line 1: expected"},
    };
    for (const Case& c : cases) {
        const ProjectLoadResult result = ParseProject(c.text, "/base", "p.pictor");
        EXPECT_FALSE(result.ok) << c.text;
        EXPECT_NE(result.error.find(c.expected), std::string::npos)
            << c.text << " gave: " << result.error;
        EXPECT_EQ(result.error.rfind("p.pictor: ", 0), 0U) << result.error;
        EXPECT_TRUE(result.project.pictures.empty());
    }
    // A NUL would cut a path short where the system sees it: a save would make the
    // project name another picture ("a.bmp" here).
    constexpr char kNul[] = "version = 1\n[picture]\nfile = a.bmp\0/b.bmp\n";
    const ProjectLoadResult result =
        ParseProject(std::string(kNul, sizeof kNul - 1), "/base", "p.pictor");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "p.pictor: line 3: the line holds a NUL character");
}

TEST(ProjectFile, UnreadableFilesGiveAMessage) {
    const TempDir dir;
    EXPECT_NE(LoadProject(dir / "none.pictor").error.find("no such file"), std::string::npos);
    fs::create_directory(dir / "folder.pictor");
    EXPECT_NE(LoadProject(dir / "folder.pictor").error.find("not a regular file"),
              std::string::npos);
}

TEST(ProjectFile, SaveWritesThroughASymlinkAndKeepsIt) {
    PICTOR_SKIP_ON_WINDOWS("symbolic links need privileges");
    const TempDir dir;
    fs::create_directories(dir / "real");
    WriteText(dir / "real" / "p.pictor", "old");
    fs::create_symlink("real/p.pictor", dir / "link.pictor");
    Project project;
    project.pictures = {{dir / "real" / "a.bmp", false, std::nullopt, {}}};
    ASSERT_TRUE(SaveProject(dir / "link.pictor", project));

    EXPECT_TRUE(fs::is_symlink(dir / "link.pictor"));
    // Paths are relative to the file the link names.
    EXPECT_NE(test::ReadFile(dir / "real" / "p.pictor").find("file = a.bmp\n"), std::string::npos);
    const ProjectLoadResult loaded = LoadProject(dir / "link.pictor");
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.project.pictures[0].path, dir / "real" / "a.bmp");
}

TEST(ProjectFile, FailedSaveLeavesNothingBehind) {
    const TempDir dir;
    std::string error;
    EXPECT_FALSE(SaveProject(dir / "missing" / "p.pictor", Project{}, &error));
    EXPECT_NE(error.find("p.pictor: cannot be written"), std::string::npos) << error;

    // The rename onto a folder fails after the temporary file was written.
    fs::create_directory(dir / "taken.pictor");
    EXPECT_FALSE(SaveProject(dir / "taken.pictor", Project{}, &error));
    EXPECT_TRUE(fs::is_directory(dir / "taken.pictor"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

#ifdef _WIN32
// Windows refuses to replace a project another program holds open; the message
// keeps that reason instead of a bare I/O error, and the old project stays.
TEST(ProjectFile, FailedSaveOnWindowsSaysWhy) {
    const TempDir dir;
    WriteText(dir / "p.pictor", "version = 1\n");
    HANDLE held = ::CreateFileW((dir / "p.pictor").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string error;
    const bool saved = SaveProject(dir / "p.pictor", Project{}, &error);
    ::CloseHandle(held);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(error.find("access denied") != std::string::npos ||
                error.find("in use by another program") != std::string::npos)
        << error;
    EXPECT_EQ(test::ReadFile(dir / "p.pictor"), "version = 1\n");
}
#endif

TEST(ProjectFile, BuildsTheListInProjectOrderWithFlagsAndPositions) {
    const TempDir dir;
    WriteFile(dir / "b.bmp", WithTrailer(SolidBitmap(2, 2, 0), 7, 8));
    WriteFile(dir / "a.bmp", WithTrailer(SolidBitmap(3, 1, 0), 30, 40));
    WriteFile(dir / "broken.bmp", Bytes{'B', 'M', 0});
    WriteText(dir / "p.pictor",
              "version = 1\n"
              "[picture]\nfile = b.bmp\nshown = yes\n"  // no position: the trailer's
              "[picture]\nfile = gone.bmp\nshown = yes\n"
              "[picture]\nfile = broken.bmp\n"
              "[picture]\nfile = a.bmp\nposition = -5,300\n");
    const ProjectLoadResult loaded = LoadProject(dir / "p.pictor");
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.missing, std::vector<fs::path>{dir / "gone.bmp"});
    EXPECT_EQ(loaded.project.pictures.size(), 4U);

    RecordingSink sink;
    int added = -1;
    const PictureList list = BuildPictureList(loaded.project, sink, {}, &added);
    EXPECT_EQ(added, 2);
    ASSERT_EQ(list.Size(), 2U);
    EXPECT_EQ(list.At(0).name, "b");
    EXPECT_TRUE(list.At(0).shown);
    EXPECT_EQ(list.At(0).left, 7);
    EXPECT_EQ(list.At(0).top, 8);
    EXPECT_EQ(list.At(1).name, "a");
    EXPECT_EQ(list.At(1).index, 1);
    EXPECT_FALSE(list.At(1).shown);
    EXPECT_EQ(list.At(1).left, -5);
    EXPECT_EQ(list.At(1).top, 300);
    EXPECT_EQ(list.CurrentIndex(), -1);
    // The broken picture gets the import's own message; the missing one none.
    ASSERT_EQ(sink.messages.size(), 1U);
    EXPECT_EQ(sink.messages[0].text, "加载图片 " + (dir / "broken.bmp").string() + " 错误 !");
}

}  // namespace
}  // namespace pictor::workspace
