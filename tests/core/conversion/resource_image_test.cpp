#include "core/conversion/resource_image.h"

#include <gtest/gtest.h>

#include <vector>

#include "conversion_test_support.h"
#include "support/recording_sink.h"

namespace pictor::conversion {
namespace {

using namespace testing;  // NOLINT: test helpers

using test::RecordingSink;

// Places a picture the way the convert operation does (align, sector rule, table
// entry, prefix, pixels) and returns the bytes placed.
struct Placer {
    settings::ModelProfile profile;
    ResourceImageLayout layout{profile};
    RecordingSink messages;
    std::size_t next = 0;

    explicit Placer(settings::ModelProfile p) : profile(std::move(p)), layout(profile) {}

    bool Place(const workspace::PixelImage& image, std::vector<std::uint8_t>& out,
               int seriesCount = 0) {
        layout.AlignToUnit(out);
        if (profile.avoidAcrossSector != 0 &&
            !layout.KeepInSector(SectorEstimate(profile, image.width, image.height), out,
                                 messages)) {
            return false;
        }
        layout.RecordBlockStart(next++);
        if (profile.saveWidthHeightToBin != 0) {
            layout.WriteSizePrefix(SizePrefixDimensions(profile, image.width, image.height),
                                   seriesCount, out);
        }
        return layout.WritePixels(image, out);
    }
};

settings::ModelProfile EightBit(int unit, bool prefix = false, bool sector = false) {
    auto profile = GreyProfile(8);
    profile.minAllocateSize = unit;
    profile.saveWidthHeightToBin = prefix ? 1 : 0;
    profile.avoidAcrossSector = sector ? 1 : 0;
    return profile;
}

TEST(ResourceImageLayout, UnitOneLeavesNoGaps) {
    Placer placer(EightBit(1));
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(placer.Place(MakeImage(3, 1), out));  // 3 bytes at 2048
    ASSERT_TRUE(placer.Place(MakeImage(5, 1), out));  // 5 bytes at 2051
    ASSERT_TRUE(placer.Place(MakeImage(1, 1), out));  // at 2056
    EXPECT_EQ(out.size(), 9u);
    EXPECT_EQ(placer.layout.Counter(), 2057u);
    EXPECT_EQ(placer.layout.Table()[0], 2048u);
    EXPECT_EQ(placer.layout.Table()[1], 2051u);
    EXPECT_EQ(placer.layout.Table()[2], 2056u);
    EXPECT_EQ(placer.layout.Table()[3], 0u);
}

TEST(ResourceImageLayout, UnitSixteenPadsToNextUnit) {
    Placer placer(EightBit(16));
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(placer.Place(MakeImage(37, 1, Grey(9)), out));  // ends at 2048 + 37
    ASSERT_TRUE(placer.Place(MakeImage(1, 1, Grey(7)), out));
    EXPECT_EQ(placer.layout.Table()[0], 128u);
    EXPECT_EQ(placer.layout.Table()[1], 131u);  // (2048 + 48) / 16
    ASSERT_EQ(out.size(), 49u);
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + 37, out.begin() + 48),
              std::vector<std::uint8_t>(11, 0));
    EXPECT_EQ(out[48], 7);
}

TEST(ResourceImageLayout, UnitFourPrefixHasNoFill) {
    Placer placer(EightBit(4, true));
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(placer.Place(MakeImage(3, 1, Grey(5)), out));  // 6 + 3 bytes
    ASSERT_TRUE(placer.Place(MakeImage(1, 1, Grey(6)), out));
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 9),
              Bytes({1, 3, 0, 0, 0, 0, 5, 5, 5}));
    EXPECT_EQ(out[9], 0);  // 2048 + 9 aligned to 2048 + 12
    EXPECT_EQ(placer.layout.Table()[1], (2048u + 12) / 4);
    EXPECT_EQ(out[12], 1);  // the second picture's prefix
}

TEST(ResourceImageLayout, UnitSixtyFourPrefixFillsTheUnit) {
    Placer placer(EightBit(64, true));
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(placer.Place(MakeImage(2, 1, Grey(9)), out, 3));
    ASSERT_EQ(out.size(), 66u);
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 6), Bytes({1, 2, 0, 0, 0, 3}));
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + 6, out.begin() + 64),
              std::vector<std::uint8_t>(58, 0));
    EXPECT_EQ(out[64], 9);
}

TEST(ResourceImageLayout, SizePrefixBytes) {
    // 300 x 2, 16-bit, direction 0: v = 2, h = 300 = 0x012C; series count 0x0102.
    ResourceImageLayout layout(ColourProfile(1));
    std::vector<std::uint8_t> out;
    layout.WriteSizePrefix(SizePrefixDimensions(ColourProfile(1), 300, 2), 0x0102, out);
    EXPECT_EQ(out, Bytes({2, 44, 0, 1, 1, 2}));
    EXPECT_EQ(layout.Counter(), 2054u);
}

TEST(ResourceImageLayout, PrefixDimensionsCountWholeBytes) {
    EXPECT_EQ(SizePrefixDimensions(GreyProfile(1, 0), 64, 10), (PrefixDimensions{10, 8}));
    EXPECT_EQ(SizePrefixDimensions(GreyProfile(1, 1), 64, 10), (PrefixDimensions{1, 64}));
    EXPECT_EQ(SizePrefixDimensions(GreyProfile(4, 0), 5, 3), (PrefixDimensions{3, 2}));
    EXPECT_EQ(SizePrefixDimensions(ColourProfile(0, 1), 7, 9), (PrefixDimensions{9, 7}));
}

TEST(ResourceImageLayout, SectorRuleMovesBlockToNextSector) {
    auto profile = ColourProfile(1);
    profile.avoidAcrossSector = 1;
    Placer placer(profile);
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(placer.Place(MakeImage(250, 1), out));  // 500 bytes: counter 2048 + 500
    ASSERT_TRUE(placer.Place(MakeImage(4, 4), out));    // 32 bytes do not fit the 12 left
    EXPECT_EQ(placer.layout.Table()[1], 2048u + 512);
    EXPECT_EQ(out.size(), 500u + 12 + 32);
    EXPECT_TRUE(placer.messages.messages.empty());
}

TEST(ResourceImageLayout, SectorRuleFitsExactlyAndRefusesOneByteMore) {
    auto profile = ColourProfile(1);
    profile.avoidAcrossSector = 1;
    Placer exact(profile);
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(exact.Place(MakeImage(16, 16), out));  // 512 bytes on a boundary
    EXPECT_EQ(out.size(), 512u);

    profile.saveWidthHeightToBin = 1;
    Placer withPrefix(profile);
    out.clear();
    EXPECT_FALSE(withPrefix.Place(MakeImage(16, 16), out));
    ASSERT_EQ(withPrefix.messages.messages.size(), 1u);
    EXPECT_EQ(withPrefix.messages.messages[0],
              (Message{"单个图片尺寸大于1 sector!", "", MessageIcon::Exclamation}));
}

TEST(ResourceImageLayout, SectorEstimate) {
    auto profile = GreyProfile(1);
    EXPECT_EQ(SectorEstimate(profile, 10, 3), 4u);  // 30 bits
    profile.saveWidthHeightToBin = 1;
    profile.minAllocateSize = 16;
    EXPECT_EQ(SectorEstimate(profile, 10, 3), 20u);
    EXPECT_EQ(SectorEstimate(TrueColourProfile(), 4, 4), 48u);
}

TEST(ResourceImageLayout, TableIsLittleEndianWithZerosAfterLastEntry) {
    std::array<std::uint32_t, kTableEntries> entries{};
    entries[0] = 0x01020304u;
    entries[1] = 131;
    entries[2] = 0xFFFFFFFFu;
    const auto bytes = EncodeIndexTable(entries);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 12),
              Bytes({4, 3, 2, 1, 131, 0, 0, 0, 255, 255, 255, 255}));
    EXPECT_TRUE(std::all_of(bytes.begin() + 12, bytes.end(), [](auto b) { return b == 0; }));
    // Reading the entries back gives the values written.
    EXPECT_EQ(TableEntry(bytes, 0), 0x01020304u);
    EXPECT_EQ(TableEntry(bytes, 1), 131u);
    EXPECT_EQ(TableEntry(bytes, 2), 0xFFFFFFFFu);
    EXPECT_EQ(TableEntry(bytes, kTableEntries - 1), 0u);
}

}  // namespace
}  // namespace pictor::conversion
