#include "core/workspace/picture_import.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/workspace/test_files.h"
#include "support/recording_sink.h"
#include "support/unprivileged.h"

namespace pictor::workspace {
namespace {

using testing::Bytes;
using testing::SolidBitmap;
using testing::TempDir;
using testing::WriteFile;

using test::RecordingSink;

Message Exclamation(std::string text) {
    return Message{std::move(text), std::string(), MessageIcon::Exclamation};
}

std::vector<std::string> Names(const PictureList& list) {
    std::vector<std::string> names;
    for (const ImageEntry& entry : list.Entries()) {
        names.push_back(entry.name);
    }
    return names;
}

TEST(PictureImport, LoadsSortsAndSelectsTheLast) {
    const TempDir dir;
    Bytes alpha = SolidBitmap(3, 2, 0x112233);
    alpha.insert(alpha.end(), {0x61, 0x56, 0x61, 0x56, 0x0A, 0x14});
    WriteFile(dir / "Alpha.bmp", alpha);
    WriteFile(dir / "beta.bmp", SolidBitmap(5, 4, 0x445566));
    WriteFile(dir / "gamma.x.bmp", SolidBitmap(1, 1, 0));
    const std::vector<std::string> paths = {
        (dir / "beta.bmp").string(), (dir / "Alpha.bmp").string(), (dir / "gamma.x.bmp").string()};
    PictureList list;
    RecordingSink sink;
    EXPECT_EQ(ImportPictures(list, paths, sink), 3);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Alpha", "beta", "gamma.x"}));
    EXPECT_EQ(list.CurrentIndex(), 2);

    const ImageEntry& first = list.At(0);
    EXPECT_EQ(first.path, paths[1]);
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(first.width, 3);
    EXPECT_EQ(first.height, 2);
    EXPECT_EQ(first.left, 10);
    EXPECT_EQ(first.top, 20);
    EXPECT_FALSE(first.shown);
    ASSERT_NE(first.bitmap, nullptr);
    EXPECT_EQ(first.bitmap->At(2, 1), 0xFF112233U);
    ASSERT_NE(first.thumbnail, nullptr);
    EXPECT_EQ(first.thumbnail->width, 96);
    EXPECT_EQ(first.thumbnail->At(95, 95), 0xFF112233U);
    EXPECT_EQ(list.At(1).left, 0);  // no trailer
    EXPECT_EQ(list.At(1).top, 0);

    // A second import of the same file adds an independent entry and re-sorts everything.
    EXPECT_EQ(ImportPictures(list, {paths[1]}, sink), 1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Alpha", "Alpha", "beta", "gamma.x"}));
    EXPECT_EQ(list.CurrentIndex(), 3);
    list.At(0).left = 99;
    EXPECT_EQ(list.At(1).left, 10);
    EXPECT_EQ(list.At(3).index, 3);
}

TEST(PictureImport, ReportsAndSkipsFailingFiles) {
    const TempDir dir;
    WriteFile(dir / "icon.ico",
              {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 22, 0, 0, 0});
    WriteFile(dir / "good.bmp", SolidBitmap(2, 2, 0xABCDEF));
    const std::vector<std::string> paths = {
        (dir / "icon.ico").string(), (dir / "missing.bmp").string(), (dir / "good.bmp").string()};
    PictureList list;
    RecordingSink sink;
    EXPECT_EQ(ImportPictures(list, paths, sink), 1);
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{Exclamation("加载图片 " + paths[0] + " 错误 !"),
                                    Exclamation("加载图片 " + paths[1] + " 错误 !")}));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"good"}));

    // Only failing files: the list is still sorted and its last picture made current.
    list.Append(list.At(0));
    list.At(1).name = "a";
    list.Select(-1);
    sink.messages.clear();
    EXPECT_EQ(ImportPictures(list, {paths[0]}, sink), 0);
    EXPECT_EQ(sink.messages.size(), 1U);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "good"}));
    EXPECT_EQ(list.CurrentIndex(), 1);

    PictureList empty;
    EXPECT_EQ(ImportPictures(empty, {paths[0]}, sink), 0);
    EXPECT_EQ(empty.CurrentIndex(), -1);
}

TEST(PictureImport, ReadOnlyFileFailsOnlyWhenOpenedForWriting) {
    PICTOR_SKIP_ON_WINDOWS("no user without the rights of the file owner");
    const TempDir dir;
    pictor::test::OpenToEveryone(dir.Path());
    const auto path = dir / "locked.bmp";
    WriteFile(path, SolidBitmap(1, 1, 0x010203));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);

    // The imports run without root, which could open the file for writing. The
    // child reports each failed expectation as one bit of its exit code.
    const int failures = pictor::test::RunUnprivileged([&path] {
        int bits = 0;
        PictureList list;
        RecordingSink sink;
        if (ImportPictures(list, {path.string()}, sink) != 0 || !list.Empty()) {
            bits |= 1;
        }
        if (sink.messages !=
            std::vector<Message>{Exclamation("打开 " + path.string() + " 错误 !")}) {
            bits |= 2;
        }
        sink.messages.clear();
        if (ImportPictures(list, {path.string()}, sink, ImportOptions{.openForWriting = false}) !=
                1 ||
            !sink.messages.empty() || Names(list) != std::vector<std::string>{"locked"}) {
            bits |= 4;
        }
        return bits;
    });
    EXPECT_EQ(failures, 0);
}

TEST(PictureImport, ImportsTheExamplePictures) {
    const std::filesystem::path dir(PICTOR_EXAMPLES_DIR "/pictures");
    std::vector<std::string> paths;
    for (const char* file : {"run02.bmp", "logo.bmp", "run01.bmp", "background.bmp",
                             "ok_button.bmp", "battery.bmp", "run03.bmp"}) {
        paths.push_back((dir / file).string());
    }
    PictureList list;
    RecordingSink sink;
    EXPECT_EQ(ImportPictures(list, paths, sink, ImportOptions{.openForWriting = false}), 7);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(Names(list), (std::vector<std::string>{"background", "battery", "logo", "ok_button",
                                                     "run01", "run02", "run03"}));
    for (const ImageEntry& entry : list.Entries()) {
        EXPECT_GT(entry.width, 0);
        EXPECT_EQ(entry.bitmap->pixels.size(),
                  static_cast<std::size_t>(entry.width) * static_cast<std::size_t>(entry.height));
    }
}

}  // namespace
}  // namespace pictor::workspace
