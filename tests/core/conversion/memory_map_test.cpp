// The memory map of the resource image: a hand-laid image with literal offsets,
// the map against the bytes of the Icon.bin the same conversion wrote (also over
// random small lists), C source output, the totals' texts and the CSV form.

#include "core/conversion/memory_map.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "conversion_test_support.h"
#include "core/conversion/convert_operation.h"
#include "support/bitmap_files.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace pictor::conversion {
namespace {

using namespace testing;  // NOLINT: test helpers
namespace fs = std::filesystem;

using test::RecordingSink;

workspace::ImageEntry Entry(const std::string& name, int width, int height) {
    workspace::ImageEntry entry;
    entry.width = width;
    entry.height = height;
    entry.bitmap = std::make_shared<const workspace::PixelImage>(
        MakeImage(width, height, Grey(static_cast<std::uint32_t>(0x40 + name.size()))));
    entry.name = name;
    entry.path = "/pictures/" + name + ".bmp";
    return entry;
}

struct Converted {
    ConvertResult result;
    std::string bin;
};

Converted ConvertAll(const std::vector<workspace::ImageEntry>& entries,
                     const settings::ModelProfile& profile, const fs::path& dir,
                     std::uint64_t capacity = kLargestFlashBytes) {
    workspace::PictureList list;
    for (const auto& entry : entries) {
        list.Append(entry);
    }
    ConvertOptions options;
    options.outputDir = dir;
    options.writeTrailers = false;
    options.jobs = 2;
    options.flashCapacity = capacity;
    RecordingSink sink;
    Converted out;
    out.result = Convert(list, profile, options, sink);
    if (out.result.success) {
        out.bin = test::ReadFile(out.result.dataPath);
    }
    return out;
}

std::uint32_t TableEntry(const std::string& bin, std::size_t index) {
    std::uint32_t value = 0;
    for (std::size_t b = 0; b < 4; ++b) {
        value |= std::uint32_t{static_cast<unsigned char>(bin[index * 4 + b])} << (8 * b);
    }
    return value;
}

// Everything a map must agree on with the file it describes.
void ExpectMapMatchesFile(const MemoryMap& map, const std::string& bin,
                          const settings::ModelProfile& profile) {
    const std::uint64_t unit = static_cast<std::uint64_t>(std::max(profile.minAllocateSize, 1));
    const MemoryMapTotals& totals = map.totals;
    ASSERT_EQ(totals.imageBytes, bin.size());
    EXPECT_EQ(totals.tableBytes + totals.prefixBytes + totals.pixelBytes + totals.alignmentPadding +
                  totals.sectorPadding,
              totals.imageBytes);
    ASSERT_FALSE(map.rows.empty());
    std::uint64_t end = kTableBytes;
    for (std::size_t i = 0; i < map.rows.size(); ++i) {
        const MemoryMapRow& row = map.rows[i];
        SCOPED_TRACE("picture " + std::to_string(i));
        EXPECT_EQ(row.index, i);
        EXPECT_EQ(row.offset, std::uint64_t{TableEntry(bin, i)} * unit);
        EXPECT_EQ(row.offset % unit, 0U);
        EXPECT_GE(row.offset, end);  // no overlap with the block before
        ASSERT_LE(row.offset + row.storedSize, bin.size());
        for (std::uint64_t at = end; at < row.offset; ++at) {
            ASSERT_EQ(bin[at], '\0') << "padding byte " << at;
        }
        end = row.offset + row.storedSize;
        if (i + 1 < map.rows.size()) {
            EXPECT_EQ(end + row.paddingAfter, map.rows[i + 1].offset);
        } else {
            EXPECT_EQ(row.paddingAfter, 0U);
        }
        EXPECT_EQ(row.firstSector, row.offset / 512);
        EXPECT_EQ(row.crossesSector, row.firstSector != row.lastSector);
        if (profile.avoidAcrossSector != 0) {
            EXPECT_FALSE(row.crossesSector);
        }
        if (profile.saveWidthHeightToBin != 0) {
            // The block starts with its size prefix: v low, h low, v high, h high.
            const auto prefix = SizePrefixDimensions(profile, row.width, row.height);
            const auto byte = [&](std::uint64_t k) {
                return static_cast<int>(static_cast<unsigned char>(bin[row.offset + k]));
            };
            EXPECT_EQ(byte(0) | byte(2) << 8, prefix.v);
            EXPECT_EQ(byte(1) | byte(3) << 8, prefix.h);
        }
    }
    EXPECT_EQ(end, bin.size());  // the file ends with the last block
    for (std::size_t i = map.rows.size(); i < kTableEntries; ++i) {
        ASSERT_EQ(TableEntry(bin, i), 0U);
    }
}

// Unit 8 (a prefix of 6 bytes plus 2 fill), the sector rule, 8-bit pixels:
//   a 10x10: 2048..2156 (108 bytes);   4 bytes to align b
//   b 20x10: 2160..2368 (208);         c (258) does not fit the 192 left of sector 4
//   c 25x10: 2560..2818 (258);         6 bytes to align d
//   d  3x1 : 2824..2835 (11)
TEST(MemoryMap, HandLaidImageHasLiteralOffsetsAndMatchesTheFile) {
    test::TempDir temp;
    auto profile = GreyProfile(8);
    profile.minAllocateSize = 8;
    profile.avoidAcrossSector = 1;
    profile.saveWidthHeightToBin = 1;
    // Given out of order: the map follows the sorted list, as Icon.h does.
    const Converted out =
        ConvertAll({Entry("d", 3, 1), Entry("b", 20, 10), Entry("a", 10, 10), Entry("c", 25, 10)},
                   profile, temp.Path(), 8192);
    ASSERT_TRUE(out.result.success);
    ASSERT_TRUE(out.result.map.has_value());
    const MemoryMap& map = *out.result.map;

    struct Expected {
        const char* symbol;
        std::uint64_t offset, stored, padding, first, last;
    };
    const Expected expected[] = {
        {"A", 2048, 108, 4, 4, 4},
        {"B", 2160, 208, 192, 4, 4},
        {"C", 2560, 258, 6, 5, 5},
        {"D", 2824, 11, 0, 5, 5},
    };
    ASSERT_EQ(map.rows.size(), 4U);
    for (std::size_t i = 0; i < 4; ++i) {
        const MemoryMapRow& row = map.rows[i];
        EXPECT_EQ(row.symbol, expected[i].symbol);
        EXPECT_EQ(row.sourceFile, std::string("/pictures/") + static_cast<char>('a' + i) + ".bmp");
        EXPECT_EQ(row.offset, expected[i].offset) << i;
        EXPECT_EQ(row.storedSize, expected[i].stored) << i;
        EXPECT_EQ(row.paddingAfter, expected[i].padding) << i;
        EXPECT_EQ(row.firstSector, expected[i].first) << i;
        EXPECT_EQ(row.lastSector, expected[i].last) << i;
        EXPECT_FALSE(row.crossesSector);
    }
    EXPECT_EQ(map.rows[2].width, 25);
    EXPECT_EQ(map.rows[2].height, 10);

    const MemoryMapTotals& totals = map.totals;
    EXPECT_EQ(totals.pictures, 4U);
    EXPECT_EQ(totals.pixelBytes, 553U);
    EXPECT_EQ(totals.prefixBytes, 32U);
    EXPECT_EQ(totals.alignmentPadding, 10U);
    EXPECT_EQ(totals.sectorPadding, 192U);
    EXPECT_EQ(totals.tableBytes, 2048U);
    EXPECT_EQ(totals.imageBytes, 2835U);
    EXPECT_EQ(totals.flashCapacity, 8192U);
    EXPECT_EQ(MemoryMapSummary(totals),
              (std::vector<std::string>{
                  "pictures: 4", "pixel data: 553 bytes", "size prefixes: 32 bytes",
                  "padding: 202 bytes (allocation unit 10, sector rule 192)", "table: 2048 bytes",
                  "image: 2835 bytes", "flash: 8192 bytes, 34.61 % used"}));

    ExpectMapMatchesFile(map, out.bin, profile);
}

// Without the sector rule a block runs over a boundary; a large unit pads the
// table's end to the first block.
TEST(MemoryMap, BlocksCrossingSectorsAndALargeUnit) {
    test::TempDir temp;
    auto profile = GreyProfile(8);
    profile.minAllocateSize = 4;
    // a: 2048..2348, b: 2348..2648 runs from sector 4 into sector 5.
    Converted out = ConvertAll({Entry("a", 30, 10), Entry("b", 30, 10)}, profile, temp.Path());
    ASSERT_TRUE(out.result.map.has_value());
    EXPECT_EQ(out.result.map->rows[1].offset, 2348U);
    EXPECT_EQ(out.result.map->rows[1].firstSector, 4U);
    EXPECT_EQ(out.result.map->rows[1].lastSector, 5U);
    EXPECT_TRUE(out.result.map->rows[1].crossesSector);
    EXPECT_FALSE(out.result.map->rows[0].crossesSector);
    ExpectMapMatchesFile(*out.result.map, out.bin, profile);

    profile.minAllocateSize = 4096;
    out = ConvertAll({Entry("a", 2, 2), Entry("b", 1, 1)}, profile, temp.Path());
    ASSERT_TRUE(out.result.map.has_value());
    EXPECT_EQ(out.result.map->rows[0].offset, 4096U);
    EXPECT_EQ(out.result.map->rows[0].paddingAfter, 4092U);
    EXPECT_EQ(out.result.map->rows[1].offset, 8192U);
    EXPECT_EQ(out.result.map->totals.alignmentPadding, 2048U + 4092U);
    ExpectMapMatchesFile(*out.result.map, out.bin, profile);
}

// Unit 1, 8-bit pixels: a block that ends exactly on a sector boundary lies in
// one sector; one byte more reaches into the next.
//   a 32x16: 2048..2560 (512 bytes), all of sector 4
//   b 27x19: 2560..3073 (513 bytes), sector 5 and the first byte of sector 6
//   c  1x1 : 3073..3074, in sector 6
TEST(MemoryMap, BlocksEndingOnASectorBoundaryAndOneBytePastIt) {
    test::TempDir temp;
    auto profile = GreyProfile(8);
    profile.minAllocateSize = 1;
    Converted out = ConvertAll({Entry("a", 32, 16), Entry("b", 27, 19), Entry("c", 1, 1)}, profile,
                               temp.Path());
    ASSERT_TRUE(out.result.map.has_value());
    struct Expected {
        std::uint64_t offset, stored, first, last;
        bool crosses;
    };
    const Expected expected[] = {
        {2048, 512, 4, 4, false},
        {2560, 513, 5, 6, true},
        {3073, 1, 6, 6, false},
    };
    ASSERT_EQ(out.result.map->rows.size(), 3U);
    for (std::size_t i = 0; i < 3; ++i) {
        const MemoryMapRow& row = out.result.map->rows[i];
        EXPECT_EQ(row.offset, expected[i].offset) << i;
        EXPECT_EQ(row.storedSize, expected[i].stored) << i;
        EXPECT_EQ(row.firstSector, expected[i].first) << i;
        EXPECT_EQ(row.lastSector, expected[i].last) << i;
        EXPECT_EQ(row.crossesSector, expected[i].crosses) << i;
    }
    ExpectMapMatchesFile(*out.result.map, out.bin, profile);

    // Under the sector rule the 512-byte block keeps the sector it starts, and the
    // next block follows it at the boundary without any fill.
    profile.avoidAcrossSector = 1;
    out = ConvertAll({Entry("a", 32, 16), Entry("c", 1, 1)}, profile, temp.Path());
    ASSERT_TRUE(out.result.map.has_value());
    EXPECT_EQ(out.result.map->rows[0].offset, 2048U);
    EXPECT_EQ(out.result.map->rows[0].lastSector, 4U);
    EXPECT_EQ(out.result.map->rows[1].offset, 2560U);
    EXPECT_EQ(out.result.map->rows[1].firstSector, 5U);
    EXPECT_EQ(out.result.map->totals.sectorPadding, 0U);
    ExpectMapMatchesFile(*out.result.map, out.bin, profile);
}

TEST(MemoryMap, RandomListsMapTheirOwnFiles) {
    test::TempDir temp;
    std::mt19937 random(20261207);  // fixed start value: the same lists on every run
    const int depths[] = {1, 2, 4, 8, 16, 24};
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        settings::ModelProfile profile;
        const int depth = depths[random() % 6];
        profile = depth == 16   ? ColourProfile(static_cast<int>(random() % 2))
                  : depth == 24 ? TrueColourProfile()
                                : GreyProfile(depth);
        profile.convertDirection = static_cast<int>(random() % 2);
        profile.avoidAcrossSector = static_cast<int>(random() % 2);
        profile.saveWidthHeightToBin = static_cast<int>(random() % 2);
        // Units above 64 leave no room for a prefixed block inside one sector.
        profile.minAllocateSize = 1 << (random() % (profile.avoidAcrossSector != 0 ? 7 : 13));
        std::vector<workspace::ImageEntry> entries;
        const std::size_t count = 1 + random() % 12;
        for (std::size_t i = 0; i < count; ++i) {
            // At most 12x12 at 24 bits plus a 64-byte prefix: always fits a sector.
            entries.push_back(Entry("p" + std::to_string(100 + i),
                                    1 + static_cast<int>(random() % 12),
                                    1 + static_cast<int>(random() % 12)));
        }
        const Converted out = ConvertAll(entries, profile, temp.Path());
        ASSERT_TRUE(out.result.success);
        ASSERT_TRUE(out.result.map.has_value());
        ASSERT_EQ(out.result.map->rows.size(), count);
        ExpectMapMatchesFile(*out.result.map, out.bin, profile);
    }
}

// C source output has no binary layout, so it has no map.
TEST(MemoryMap, CSourceOutputHasNone) {
    test::TempDir temp;
    auto profile = GreyProfile(8);
    profile.outDataType = 1;
    const Converted out = ConvertAll({Entry("a", 2, 2)}, profile, temp.Path());
    ASSERT_TRUE(out.result.success);
    EXPECT_FALSE(out.result.map.has_value());
}

TEST(MemoryMap, FlashShareIsRoundedHundredths) {
    EXPECT_EQ(FlashShareText(2835, 8192), "34.61 %");  // 34.6069...
    EXPECT_EQ(FlashShareText(1, 3), "33.33 %");
    EXPECT_EQ(FlashShareText(2, 3), "66.67 %");
    EXPECT_EQ(FlashShareText(1, 200000), "0.00 %");
    EXPECT_EQ(FlashShareText(9, 8), "112.50 %");
    EXPECT_EQ(FlashShareText(std::uint64_t{32} << 20, std::uint64_t{32} << 20), "100.00 %");
    EXPECT_EQ(FlashShareText(5, 0), "-");
}

TEST(MemoryMap, CsvQuotesFieldsThatNeedIt) {
    EXPECT_EQ(CsvField("LOGO_01"), "LOGO_01");
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvField("cr\r"), "\"cr\r\"");
    EXPECT_EQ(CsvField(" edge"), "\" edge\"");
    EXPECT_EQ(CsvField("图标"), "图标");

    MemoryMap map;
    MemoryMapRow row;
    row.index = 3;
    row.symbol = "A,\"B\"";
    row.sourceFile = "/p/a,\"b\".bmp";
    row.width = 7;
    row.height = 5;
    row.offset = 2560;
    row.storedSize = 600;
    row.paddingAfter = 2;
    row.firstSector = 5;
    row.lastSector = 6;
    row.crossesSector = true;
    map.rows.push_back(row);
    EXPECT_EQ(MemoryMapCsv(map),
              "index,symbol,source_file,width,height,offset,stored_size,padding_after,"
              "first_sector,last_sector,crosses_sector\n"
              "3,\"A,\"\"B\"\"\",\"/p/a,\"\"b\"\".bmp\",7,5,2560,600,2,5,6,yes\n");
}

TEST(MemoryMap, CsvFileIsReplacedWholeOrNotAtAll) {
    test::TempDir temp;
    MemoryMap map;
    map.rows.push_back({});
    const fs::path path = temp.Path() / "map.csv";
    ASSERT_TRUE(WriteMemoryMapCsv(map, path));
    EXPECT_EQ(test::ReadFile(path), MemoryMapCsv(map));
    // A directory where the file should go, or a missing folder: false, nothing left.
    fs::create_directory(temp.Path() / "dir.csv");
    EXPECT_FALSE(WriteMemoryMapCsv(map, temp.Path() / "dir.csv"));
    EXPECT_FALSE(WriteMemoryMapCsv(map, temp.Path() / "missing" / "map.csv"));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& item : fs::directory_iterator(temp.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 2U);  // map.csv and dir.csv
}

}  // namespace
}  // namespace pictor::conversion
