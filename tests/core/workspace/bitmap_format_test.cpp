// The direct bitmap decoder against Qt's, and the checks that keep damaged or lying
// bitmaps (and files that are not regular) out of the conversion.

#include "core/workspace/bitmap_format.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/workspace/picture_loader.h"
#include "core/workspace/test_files.h"
#include "support/platform.h"

namespace pictor::workspace {
namespace {

using testing::AppendLe32;
using testing::BitmapLayout;
using testing::BuildBitmap;
using testing::Bytes;
using testing::PatternPalette;
using testing::PatternRows;
using testing::TempDir;
using testing::WriteFile;

void PutLe32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Inserts `count` bytes at `at` (inside the headers or before the pixels) and moves
// the data offset and the file size behind them.
Bytes InsertBytes(Bytes bytes, std::size_t at, std::size_t count, std::uint8_t fill = 0x5A) {
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), count, fill);
    const std::uint32_t offset =
        bytes[10] | (bytes[11] << 8) | (bytes[12] << 16) | (bytes[13] << 24);
    PutLe32(bytes, 10, offset + static_cast<std::uint32_t>(count));
    PutLe32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

// A 108-byte (V4) info header in place of the 40-byte one; the extra fields are zero.
Bytes WithV4Header(const Bytes& plain) {
    Bytes bytes = InsertBytes(plain, 54, 68, 0);
    PutLe32(bytes, 14, 108);
    return bytes;
}

struct VariantCase {
    std::string label;
    Bytes file;
    bool direct;  // expected on the direct path
};

// Every layout the direct path takes, bottom-up and top-down, plus the odd ones it
// leaves to Qt; 5 x 3 pixels so rows need padding.
std::vector<VariantCase> Variants() {
    std::vector<VariantCase> cases;
    const auto add = [&cases](const std::string& label, BitmapLayout layout, bool direct) {
        for (const bool topDown : {false, true}) {
            BitmapLayout copy = layout;
            copy.height = topDown ? -copy.height : copy.height;
            cases.push_back({label + (topDown ? " top-down" : ""), BuildBitmap(copy), direct});
        }
    };
    add("1bpp", {5, 3, 1, 0, {}, PatternPalette(2), PatternRows(5, 3, 1)}, true);
    add("4bpp", {5, 3, 4, 0, {}, PatternPalette(16), PatternRows(5, 3, 4)}, true);
    add("8bpp", {5, 3, 8, 0, {}, PatternPalette(256), PatternRows(5, 3, 8)}, true);
    // Indexes beyond a short palette.
    add("4bpp short palette", {5, 3, 4, 0, {}, PatternPalette(3), PatternRows(5, 3, 4)}, true);
    add("8bpp short palette", {5, 3, 8, 0, {}, PatternPalette(7), PatternRows(5, 3, 8)}, true);
    add("16bpp 555", {5, 3, 16, 0, {}, {}, PatternRows(5, 3, 16)}, true);
    add("16bpp 555 bitfields", {5, 3, 16, 3, {0x7C00, 0x03E0, 0x001F}, {}, PatternRows(5, 3, 16)},
        true);
    add("16bpp 565 bitfields", {5, 3, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, PatternRows(5, 3, 16)},
        true);
    add("24bpp", {5, 3, 24, 0, {}, {}, PatternRows(5, 3, 24)}, true);
    add("32bpp", {5, 3, 32, 0, {}, {}, PatternRows(5, 3, 32)}, true);
    add("32bpp bitfields", {5, 3, 32, 3, {0xFF0000, 0x00FF00, 0x0000FF}, {}, PatternRows(5, 3, 32)},
        true);
    // Odd layouts: Qt decodes them.
    add("16bpp 444 bitfields", {5, 3, 16, 3, {0x0F00, 0x00F0, 0x000F}, {}, PatternRows(5, 3, 16)},
        false);
    add("32bpp swapped bitfields",
        {5, 3, 32, 3, {0x0000FF, 0x00FF00, 0xFF0000}, {}, PatternRows(5, 3, 32)}, false);
    add("1bpp one colour", {5, 3, 1, 0, {}, PatternPalette(1), PatternRows(5, 3, 1)}, false);

    // A gap between the palette and the pixels, and a V4 header.
    cases.push_back(
        {"8bpp gap before pixels",
         InsertBytes(BuildBitmap({5, 3, 8, 0, {}, PatternPalette(4), PatternRows(5, 3, 8)}),
                     54 + 16, 10),
         true});
    cases.push_back({"24bpp V4 header",
                     WithV4Header(BuildBitmap({5, 3, 24, 0, {}, {}, PatternRows(5, 3, 24)})),
                     true});
    cases.push_back(
        {"8bpp V4 header",
         WithV4Header(BuildBitmap({5, 3, 8, 0, {}, PatternPalette(9), PatternRows(5, 3, 8)})),
         true});
    return cases;
}

TEST(DirectBitmap, GivesWhatQtGivesForEveryVariant) {
    const TempDir dir;
    for (const VariantCase& c : Variants()) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DirectBitmap::Open(c.file).has_value(), c.direct);
        WriteFile(dir / "p.bmp", c.file);
        const auto direct = LoadPicture(dir / "p.bmp");
        const auto general = LoadPicture(dir / "p.bmp", true);
        ASSERT_TRUE(general.has_value());
        ASSERT_TRUE(direct.has_value());
        EXPECT_EQ(direct->width, general->width);
        EXPECT_EQ(direct->height, general->height);
        EXPECT_FALSE(direct->hasAlpha);
        EXPECT_EQ(direct->pixels, general->pixels);

        // Row by row for the encoder: the same pixels.
        auto rows = OpenPictureRows(dir / "p.bmp");
        ASSERT_TRUE(rows.has_value());
        EXPECT_EQ(rows->Decoded() == nullptr, c.direct);
        if (rows->Decoded() == nullptr) {
            std::vector<std::uint32_t> all(general->pixels.size());
            for (int y = 0; y < rows->Height(); ++y) {
                rows->DecodeRow(y, all.data() + static_cast<std::size_t>(y * rows->Width()));
            }
            EXPECT_EQ(all, general->pixels);
        }
        const auto size = ProbePicture(dir / "p.bmp");
        ASSERT_TRUE(size.has_value());
        EXPECT_EQ(size->width, 5);
        EXPECT_EQ(size->height, 3);
    }
}

TEST(DirectBitmap, MalformedHeadersGetWhatQtGives) {
    // Header fields a writer may get wrong: both decoders must accept or refuse
    // alike, and give the same pixels when they accept.
    const Bytes plain = BuildBitmap({5, 3, 8, 0, {}, PatternPalette(4), PatternRows(5, 3, 8)});
    const auto patched = [&plain](std::size_t at, std::uint32_t value, int bytes = 4) {
        Bytes file = plain;
        for (int i = 0; i < bytes; ++i) {
            file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        return file;
    };
    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"planes 0", patched(26, 0, 2)},
        {"planes 3", patched(26, 3, 2)},
        {"image size wrong", patched(34, 7)},
        {"colours used 300", patched(46, 300)},
        {"colours used 0", patched(46, 0)},
        {"data offset 0", patched(10, 0)},
        {"data offset inside palette", patched(10, 54 + 8)},
        {"file size field wrong", patched(2, 9)},
        {"24 bits with bit fields", patched(28, 24, 2)},
    };
    const TempDir dir;
    for (const auto& [label, file] : cases) {
        SCOPED_TRACE(label);
        WriteFile(dir / "odd.bmp", file);
        const auto direct = LoadPicture(dir / "odd.bmp");
        const auto general = LoadPicture(dir / "odd.bmp", true);
        EXPECT_EQ(direct.has_value(), general.has_value());
        if (direct && general) {
            EXPECT_EQ(direct->pixels, general->pixels);
        }
    }
}

TEST(DirectBitmap, ShortPaletteIndexesReadBlack) {
    // Index 5 of a 2-entry palette; a hand-made value, not the decoder's own table.
    const Bytes file = BuildBitmap({1, 1, 8, 0, {}, {0x112233, 0x445566}, {5, 0, 0, 0}});
    const auto bitmap = DirectBitmap::Open(file);
    ASSERT_TRUE(bitmap.has_value());
    std::uint32_t pixel = 0;
    bitmap->DecodeRow(0, &pixel);
    EXPECT_EQ(pixel, 0xFF000000U);
}

// The run-length variants of the loader's own cases plus every uncompressed one.
std::vector<VariantCase> AllVariants() {
    std::vector<VariantCase> cases = Variants();
    // 4 x 2 RLE8: bottom row 3 x 1, 1 x 2, end of line; top row absolute 0 1 2 (padded),
    // 1 x 2, end of bitmap.
    cases.push_back(
        {"RLE8",
         BuildBitmap(
             {4, 2, 8, 1, {}, PatternPalette(4), {3, 1, 1, 2, 0, 0, 0, 3, 0, 1, 2, 0, 1, 2, 0, 1}}),
         false});
    // 7 x 2 RLE4: a run of 7 on each row, end of line, end of bitmap.
    cases.push_back(
        {"RLE4", BuildBitmap({7, 2, 4, 2, {}, PatternPalette(4), {7, 0x12, 0, 0, 7, 0x30, 0, 1}}),
         false});
    return cases;
}

TEST(PictureLoader, RefusesEveryVariantCutShort) {
    const TempDir dir;
    for (const VariantCase& c : AllVariants()) {
        SCOPED_TRACE(c.label);
        const std::uint32_t offset = c.file[10] | (c.file[11] << 8);
        const std::size_t pixelBytes = c.file.size() - offset;
        // Half the pixel data, and all of it but one byte (the last row's padding for
        // uncompressed rows; the end-of-bitmap mark's second byte for run lengths,
        // which leaves the last row unfinished).
        for (const std::size_t keep : {pixelBytes / 2, pixelBytes - 3}) {
            const Bytes cut(c.file.begin(),
                            c.file.begin() + static_cast<std::ptrdiff_t>(offset + keep));
            WriteFile(dir / "cut.bmp", cut);
            EXPECT_FALSE(LoadPicture(dir / "cut.bmp").has_value()) << keep;
            EXPECT_FALSE(ProbePicture(dir / "cut.bmp").has_value()) << keep;
            EXPECT_FALSE(OpenPictureRows(dir / "cut.bmp").has_value()) << keep;
        }
    }
}

TEST(PictureLoader, RefusesHeadersThatClaimMoreThanTheFileHolds) {
    const TempDir dir;
    // 118 bytes declaring 8192 x 8192 at 24 bits: refused from the size alone.
    BitmapLayout huge{8192, 8192, 24, 0, {}, {}, Bytes(64, 0x7F)};
    Bytes file = BuildBitmap(huge);
    ASSERT_EQ(file.size(), 118U);
    WriteFile(dir / "huge.bmp", file);
    EXPECT_FALSE(LoadPicture(dir / "huge.bmp").has_value());
    EXPECT_FALSE(ProbePicture(dir / "huge.bmp").has_value());

    // A palette declared longer than the file.
    file = BuildBitmap({2, 1, 8, 0, {}, PatternPalette(2), {0, 1, 0, 0}});
    PutLe32(file, 46, 200);
    WriteFile(dir / "palette.bmp", file);
    EXPECT_FALSE(LoadPicture(dir / "palette.bmp").has_value());

    // A data offset beyond the end of the file.
    file = BuildBitmap({1, 1, 24, 0, {}, {}, {1, 2, 3, 0}});
    PutLe32(file, 10, 4000);
    WriteFile(dir / "offset.bmp", file);
    EXPECT_FALSE(LoadPicture(dir / "offset.bmp").has_value());

    // Run-length streams that stop before the last row: an end-of-bitmap mark on the
    // first of two rows, and an absolute run whose bytes are missing.
    WriteFile(dir / "eob.bmp", BuildBitmap({2, 2, 8, 1, {}, PatternPalette(2), {2, 1, 0, 1}}));
    EXPECT_FALSE(LoadPicture(dir / "eob.bmp").has_value());
    WriteFile(dir / "absolute.bmp",
              BuildBitmap({8, 1, 8, 1, {}, PatternPalette(2), {0, 8, 1, 1, 1, 1}}));
    EXPECT_FALSE(LoadPicture(dir / "absolute.bmp").has_value());
}

TEST(PictureLoader, RunLengthSkipsAreTheSameOnEveryLoad) {
    const TempDir dir;
    // 4 x 2: a delta moves from (0, 0) to (2, 1), which leaves five pixels unwritten,
    // then a run of 2 and the end of the bitmap on the last row.
    WriteFile(dir / "skip.bmp",
              BuildBitmap({4, 2, 8, 1, {}, {0x000000, 0x00FF00}, {0, 2, 2, 1, 2, 1, 0, 1}}));
    const auto first = LoadPicture(dir / "skip.bmp");
    ASSERT_TRUE(first.has_value());
    for (int run = 0; run < 3; ++run) {
        const auto again = LoadPicture(dir / "skip.bmp");
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(again->pixels, first->pixels);
    }
    // Top row (stored last): two skipped pixels, then the run of index 1.
    EXPECT_EQ(first->At(2, 0), 0xFF00FF00U);
    EXPECT_EQ(first->At(3, 0), 0xFF00FF00U);
}

#ifndef _WIN32  // FIFOs are POSIX only
TEST(PictureLoader, RefusesSpecialFilesWithoutBlocking) {
    PICTOR_SKIP_ON_WINDOWS("symbolic links need privileges");
    const TempDir dir;
    // Opening a FIFO for reading blocks until a writer comes, unless the loader
    // refuses it first; nobody ever writes to this one.
    ASSERT_EQ(::mkfifo((dir / "pipe.bmp").c_str(), 0600), 0);
    EXPECT_FALSE(LoadPicture(dir / "pipe.bmp").has_value());
    EXPECT_FALSE(ProbePicture(dir / "pipe.bmp").has_value());
    EXPECT_FALSE(OpenPictureRows(dir / "pipe.bmp").has_value());
    EXPECT_FALSE(LoadPicture("/dev/zero").has_value());
    EXPECT_FALSE(LoadPicture(dir.Path()).has_value());
    // A link to a regular picture loads.
    WriteFile(dir / "real.bmp", testing::SolidBitmap(2, 2, 0x123456));
    std::filesystem::create_symlink(dir / "real.bmp", dir / "link.bmp");
    const auto linked = LoadPicture(dir / "link.bmp");
    ASSERT_TRUE(linked.has_value());
    EXPECT_EQ(linked->At(1, 1), 0xFF123456U);
}
#endif

}  // namespace
}  // namespace pictor::workspace
