#include "core/workspace/position_trailer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <sstream>
#include <string>

#include "core/workspace/picture_loader.h"
#include "core/workspace/test_files.h"
#include "support/unprivileged.h"

namespace pictor::workspace {
namespace {

using testing::Bytes;
using testing::ReadFile;
using testing::SolidBitmap;
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
        {"seven bytes, a trailer at the end",
         {0, 0x61, 0x56, 0x61, 0x56, 7, 8},
         TrailerPosition{7, 8}},
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
    const Bytes bitmap = SolidBitmap(2, 2, 0x112233);
    WriteFile(path, bitmap);
    ASSERT_TRUE(WriteTrailer(path, 300, -1));  // low 8 bits: 44 and 255
    Bytes expected = bitmap;
    expected.insert(expected.end(), {0x61, 0x56, 0x61, 0x56, 44, 0xFF});
    EXPECT_EQ(ReadFile(path), expected);
    ASSERT_TRUE(WriteTrailer(path, 10, 20));
    expected.resize(expected.size() - 2);
    expected.insert(expected.end(), {10, 20});
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_TRUE(LoadPicture(path));

    EXPECT_FALSE(WriteTrailer(dir / "missing", 1, 1));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(PositionTrailer, FilesAroundTheTrailerSizeAreNeverGivenOne) {
    // 5, 6 and 7 bytes: none is a picture, so none gets a trailer, and a 6-byte
    // file that is exactly a trailer keeps its one.
    const TempDir dir;
    const Bytes files[] = {
        {0x61, 0x56, 0x61, 0x56, 1},
        {0x61, 0x56, 0x61, 0x56, 1, 2},
        {'B', 0x61, 0x56, 0x61, 0x56, 1, 2},
    };
    for (const Bytes& bytes : files) {
        SCOPED_TRACE(bytes.size());
        WriteFile(dir / "f", bytes);
        EXPECT_FALSE(WriteTrailer(dir / "f", 3, 4));
        EXPECT_EQ(ReadFile(dir / "f"), bytes);
    }
}

TEST(PositionTrailer, NoTrailerGoesWhereThePictureWouldNoLongerLoad) {
    const TempDir dir;
    // A PNG cut inside its end checksum still loads, but the appended bytes would
    // be read as that checksum and break it.
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));
    const Bytes cut(png.begin(), png.end() - 2);
    const auto path = dir / "cut.png";
    WriteFile(path, cut);
    ASSERT_TRUE(LoadPicture(path)) << "the cut PNG loads as it is";
    EXPECT_FALSE(WriteTrailer(path, 1, 2));
    EXPECT_EQ(ReadFile(path), cut);
    EXPECT_TRUE(LoadPicture(path));

    // A run-length bitmap without its end mark loads, but its decoder would read the
    // trailer as more runs and change the picture: no trailer either.
    pictor::test::BitmapLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bitCount = 8;
    layout.compression = 1;  // BI_RLE8
    layout.palette = {0x00FF00, 0xFF0000};
    layout.pixels = {3, 0, 0, 0, 3, 1};  // a row of index 0, end of line, a row of index 1
    const Bytes open = pictor::test::BuildBitmap(layout);
    WriteFile(dir / "open.bmp", open);
    ASSERT_TRUE(LoadPicture(dir / "open.bmp")) << "the bitmap loads as it is";
    EXPECT_FALSE(WriteTrailer(dir / "open.bmp", 44, 7));
    EXPECT_EQ(ReadFile(dir / "open.bmp"), open);

    // Bytes that are no picture at all get no trailer either, nor does an empty file.
    WriteFile(dir / "text.bmp", {'B', 'M', 1, 2});
    EXPECT_FALSE(WriteTrailer(dir / "text.bmp", 1, 2));
    EXPECT_EQ(ReadFile(dir / "text.bmp"), (Bytes{'B', 'M', 1, 2}));
    WriteFile(dir / "empty.bmp", {});
    EXPECT_FALSE(WriteTrailer(dir / "empty.bmp", 1, 2));
    EXPECT_TRUE(ReadFile(dir / "empty.bmp").empty());
    // The check leaves nothing behind beside the picture.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              4);
}

#ifndef _WIN32  // FIFOs are POSIX only
TEST(PositionTrailer, AFifoIsNeitherReadNorWrittenAndNeverBlocks) {
    const TempDir dir;
    const auto fifo = dir / "pipe.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Nobody writes to the FIFO: a blocking open would never return.
    EXPECT_EQ(ReadTrailer(fifo), std::nullopt);
    EXPECT_FALSE(WriteTrailer(fifo, 1, 2));
}
#endif

TEST(PositionTrailer, WriteFailsOnReadOnlyFile) {
    PICTOR_SKIP_ON_WINDOWS("no user without the rights of the file owner");
    const TempDir dir;
    test::OpenToEveryone(dir.Path());
    const auto path = dir / "ro.bmp";
    const Bytes bitmap = SolidBitmap(1, 1, 0x010203);
    WriteFile(path, bitmap);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    // Without root, which could write the read-only file.
    EXPECT_EQ(test::RunUnprivileged([&path] { return WriteTrailer(path, 1, 2) ? 1 : 0; }), 0);
    EXPECT_EQ(ReadFile(path), bitmap);
}

}  // namespace
}  // namespace pictor::workspace
