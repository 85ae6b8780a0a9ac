#include "core/device/download_plan.h"

#include <gtest/gtest.h>

#include "fake_module.h"

namespace pictor::device {
namespace {

using test::Bytes;

constexpr std::size_t kBlock = 65536;

std::vector<bool> Changed(const Bytes& newImage, const Bytes& oldImage) {
    return CompareBlocks(newImage, oldImage).changed;
}

TEST(BlockSelection, ComparesEachBlockOfTheNewImage) {
    const Bytes old = test::Pattern(3 * kBlock);
    auto with = [&old](std::size_t offset) {
        Bytes changed = old;
        changed[offset] ^= 0x01;
        return changed;
    };
    EXPECT_EQ(Changed(old, old), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(Changed(with(kBlock), old), (std::vector<bool>{false, true, false}))
        << "a block's first byte";
    EXPECT_EQ(Changed(with(2 * kBlock - 1), old), (std::vector<bool>{false, true, false}))
        << "a block's last byte";
    EXPECT_EQ(Changed(with(100), old), (std::vector<bool>{true, false, false}))
        << "the table sector only";
}

TEST(BlockSelection, BlocksPastEitherEnd) {
    const Bytes old = test::Pattern(2 * kBlock);
    // Longer: the block past the old image's end is new.
    Bytes longer = old;
    longer.resize(2 * kBlock + 512, 0x33);
    EXPECT_EQ(Changed(longer, old), (std::vector<bool>{false, false, true}));
    // The old image ends inside a block the new one fills: that block changed.
    const Bytes shortOld(old.begin(), old.begin() + kBlock + 1024);
    EXPECT_EQ(Changed(old, shortOld), (std::vector<bool>{false, true}));
    // Shorter: only the new image's blocks are looked at, and its last, partial
    // block is compared over its own length.
    const Bytes shorter(old.begin(), old.begin() + kBlock + 512);
    EXPECT_EQ(Changed(shorter, old), (std::vector<bool>{false, false}));
    // An empty old image: everything is new.
    EXPECT_EQ(Changed(old, {}), (std::vector<bool>{true, true}));
    EXPECT_TRUE(Changed({}, old).empty());
}

TEST(BlockSelection, CheckReadsTheTableAndEachUnchangedBlocksFirstSector) {
    BlockChanges changes{{true, false, true, false}};
    EXPECT_EQ(CheckSectors(changes, 4 * kBlock), (std::vector<std::uint32_t>{0, 128, 384}));
    changes.changed = {false, false};
    EXPECT_EQ(CheckSectors(changes, 2 * kBlock), (std::vector<std::uint32_t>{0, 128}))
        << "the table sector is read once";
    changes.changed = {true};
    EXPECT_TRUE(CheckSectors(changes, 0).empty()) << "nothing of an empty old image to check";
    EXPECT_EQ(changes.ChangedCount(), 1U);
}

TEST(DownloadPlans, WholeDownloadsEraseToTheEndOrTheImage) {
    const EraseRange toEnd{32, 128};
    // 129 sectors from 2 MiB reach into the second block.
    const DownloadPlan all = PlanWholeDownload(toEnd, 4096, 129, EraseScope::ToEnd, true);
    EXPECT_EQ(all.eraseBlocks.size(), 96U);
    EXPECT_EQ(all.eraseBlocks.front(), 32U);
    EXPECT_EQ(all.eraseBlocks.back(), 127U);
    EXPECT_TRUE(all.eraseToEnd);
    EXPECT_EQ(all.writeRuns, (std::vector<SectorRun>{{0, 129}}));
    EXPECT_EQ(all.readRuns, (std::vector<SectorRun>{{0, 129}}));

    const DownloadPlan image = PlanWholeDownload(toEnd, 4096, 129, EraseScope::Image, false);
    EXPECT_EQ(image.eraseBlocks, (std::vector<std::uint32_t>{32, 33}));
    EXPECT_FALSE(image.eraseToEnd);
    EXPECT_TRUE(image.readRuns.empty()) << "no read-back in mode 2";
    EXPECT_EQ(PlanWholeDownload(toEnd, 4096, 128, EraseScope::Image, false).eraseBlocks,
              (std::vector<std::uint32_t>{32}))
        << "an image that fills its block exactly";
}

TEST(DownloadPlans, ChangedBlocksSkipErasedSectorsButReadThemBack) {
    Bytes image = test::Pattern(2 * kBlock + 1024);
    // Sectors 130 and 131 are all 0xFF: an erase leaves them so.
    std::fill(image.begin() + 130 * 512, image.begin() + 132 * 512, 0xFF);
    const BlockChanges changes{{false, true, true}};
    const DownloadPlan plan = PlanChangedBlocks(changes, image, 2048, true);
    EXPECT_EQ(plan.eraseBlocks, (std::vector<std::uint32_t>{17, 18}));
    EXPECT_EQ(plan.writeRuns, (std::vector<SectorRun>{{128, 2}, {132, 126}}));
    EXPECT_EQ(plan.readRuns, (std::vector<SectorRun>{{128, 130}}));
    EXPECT_EQ(plan.SectorsToWrite(), 128U);
    EXPECT_EQ(plan.SectorsToRead(), 130U);
}

TEST(DownloadPlans, EstimateUsesWhatWasMeasuredElseTheLine) {
    const DownloadPlan whole = PlanWholeDownload({32, 128}, 4096, 4096, EraseScope::ToEnd, false);
    WorkTimes measured;
    measured.connect = std::chrono::milliseconds(100);
    measured.erase = std::chrono::milliseconds(500);
    measured.blocksErased = 2;
    measured.write = std::chrono::milliseconds(200);
    measured.sectorsWritten = 10;
    // 0.1 s + 96 × 0.25 s + 4096 × 0.02 s.
    EXPECT_NEAR(EstimateDuration(whole, measured, true, 256000).count(), 106.02, 1e-9);

    // Nothing measured: the 100 ms pause of every exchange and the line time of
    // its bytes at 256000 baud, in whole microseconds: the connect's 7 bytes
    // (70 bits, 274 µs) and one erase's 6 bytes (60 bits, 235 µs).
    const DownloadPlan oneBlock = PlanWholeDownload({32, 33}, 4096, 0, EraseScope::ToEnd, false);
    EXPECT_NEAR(EstimateDuration(oneBlock, {}, true, 256000).count(), 0.200509, 1e-9);
}

}  // namespace
}  // namespace pictor::device
