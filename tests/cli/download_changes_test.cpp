// pictor-cli download --since and --erase against pictor-sim holding a prepared
// flash file.
#include <gtest/gtest.h>

#include "device_cli_fixture.h"

#if defined(PICTOR_SIM_PATH) && defined(PICTOR_CLI_PATH)

namespace pictor::cli {
namespace {

using test::CliRun;
using test::Contains;

constexpr std::size_t kBlock = 65536;
constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kFlash16Mbit = 2 * kMiB;  // kind 5, the image from 1 MiB on
constexpr std::size_t kFlash64Mbit = 8 * kMiB;  // kind 1, the image from 2 MiB on

std::string Pattern(std::size_t size, int start) {
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<char>(start + i * 13 + i / 512);
    }
    return out;
}

std::string Padded(std::string image) {
    image.resize((image.size() + 511) / 512 * 512, '\0');
    return image;
}

/// The erase frames the simulator logged, as their block bytes ("11" for block 17).
std::vector<std::string> Erases(const std::string& log) {
    std::vector<std::string> blocks;
    for (std::size_t at = log.find("AA 03 91 "); at != std::string::npos;
         at = log.find("AA 03 91 ", at + 1)) {
        blocks.push_back(log.substr(at + 9, 2));
    }
    return blocks;
}

class DownloadChanges : public test::DeviceCommands {
  protected:
    // Two blocks and a sector: the image's blocks 0 and 1.
    const std::string old = Pattern(kBlock + 512, 1);

    void SetUp() override {
        environment = "PICTOR_LANG=en";
        pictor::test::WriteFile(dir / "old.bin", old);
    }
    /// Starts a simulator of `kind` whose flash holds `held` at the image start.
    pictor::test::SimProcess Module(const std::string& kind, const std::string& held,
                                    std::vector<std::string> extra = {}) {
        const bool small = kind == "5";
        test::WriteFlashFile(dir / "flash.img", small ? kFlash16Mbit : kFlash64Mbit, held,
                             small ? kMiB : 2 * kMiB);
        std::vector<std::string> args{"--kind",  kind,
                                      "--flash", (dir / "flash.img").string(),
                                      "--log",   (dir / "frames.log").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return Sim(args);
    }
    std::string FlashAt(std::size_t offset, std::size_t count) {
        return pictor::test::ReadFile(dir / "flash.img").substr(offset, count);
    }
    std::string Log() { return pictor::test::ReadFile(dir / "frames.log"); }
};

TEST_F(DownloadChanges, OnlyTheChangedBlockGoesOut) {
    std::string next = old;
    next[kBlock + 3] = static_cast<char>(next[kBlock + 3] ^ 0x40);
    pictor::test::WriteFile(dir / "new.bin", next);
    for (const std::string kind : {"5", "1"}) {
        auto sim = Module(kind, old);
        const CliRun run = Cli({"download", "--port", sim.Port(), "--since", "old.bin", "new.bin"});
        ASSERT_EQ(run.exitCode, kExitOk) << kind << run.err;
        EXPECT_TRUE(Contains(run.err, "1 of 2 blocks changed")) << run.err;
        EXPECT_TRUE(Contains(run.err, "changes only: 1 of 2 blocks changed, 512 bytes sent in "))
            << run.err;
        EXPECT_TRUE(Contains(run.err, "a whole download would take about ")) << run.err;
        const std::size_t start = kind == "5" ? kMiB : 2 * kMiB;
        EXPECT_EQ(Erases(Log()), std::vector<std::string>{kind == "5" ? "11" : "21"}) << kind;
        EXPECT_EQ(FlashAt(start, next.size()), next) << kind;
        if (kind == "1") {
            // The backup holds the whole image: block 0 kept, block 1 read back.
            EXPECT_EQ(pictor::test::ReadFile(dir / "BackUp_All.BIN"), Padded(next));
        }
    }
}

TEST_F(DownloadChanges, AModuleHoldingSomethingElseGetsTheWholeImage) {
    std::string next = old;
    next[kBlock] = static_cast<char>(next[kBlock] ^ 0x01);
    pictor::test::WriteFile(dir / "new.bin", next);
    // Block 0 is unchanged, but the module's copy of it differs in every sector.
    std::string blockDiffers = old;
    for (std::size_t sector = 0; sector < kBlock; sector += 512) {
        blockDiffers[sector + 5] = static_cast<char>(blockDiffers[sector + 5] ^ 0x10);
    }
    for (const std::string& held : {Pattern(old.size(), 77), blockDiffers}) {
        // Something after the image that --erase image leaves alone.
        std::string withTail = held;
        withTail.resize(4 * kBlock, '\xFF');
        withTail += "tail";
        auto sim = Module("5", withTail);
        const CliRun run = Cli({"download", "--port", sim.Port(), "--erase", "image", "--since",
                                "old.bin", "new.bin"});
        ASSERT_EQ(run.exitCode, kExitOk) << run.err;
        EXPECT_TRUE(Contains(
            run.err, "Warning: the module does not hold old.bin; downloading the whole image"))
            << run.err;
        EXPECT_FALSE(Contains(run.err, "changes only")) << run.err;
        EXPECT_EQ(Erases(Log()), (std::vector<std::string>{"10", "11"}));
        EXPECT_EQ(FlashAt(kMiB, next.size()), next);
        EXPECT_EQ(FlashAt(kMiB + 4 * kBlock, 4), "tail");
    }
}

TEST_F(DownloadChanges, NoAnswerToTheCheckReadErasesNothing) {
    pictor::test::WriteFile(dir / "new.bin", Pattern(old.size(), 9));
    auto sim = Module("5", old, {"--no-reply", "95"});
    const CliRun run = Cli({"download", "--port", sim.Port(), "--since", "old.bin", "new.bin"});
    EXPECT_EQ(run.exitCode, kExitFailed);
    EXPECT_TRUE(Contains(run.err, "Checking the image failed!")) << run.err;
    EXPECT_TRUE(
        Contains(run.err, "no answer to the check read of image sector 0; nothing was erased"))
        << run.err;
    EXPECT_TRUE(Erases(Log()).empty());
    EXPECT_EQ(FlashAt(kMiB, old.size()), old);
}

TEST_F(DownloadChanges, EraseImageTouchesOnlyTheImagesBlocks) {
    pictor::test::WriteFile(dir / "new.bin", old);
    auto sim = Module("5", std::string(3 * kBlock, 'x'));
    const CliRun run = Cli({"download", "--port", sim.Port(), "--erase", "image", "new.bin"});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(Erases(Log()), (std::vector<std::string>{"10", "11"}));
    EXPECT_EQ(FlashAt(kMiB, old.size()), old);
    EXPECT_EQ(FlashAt(kMiB + old.size(), 1), "\xFF") << "the rest of block 17 is erased";
    EXPECT_EQ(FlashAt(kMiB + 2 * kBlock, 3 * kBlock - 2 * kBlock), std::string(kBlock, 'x'))
        << "block 18 keeps what it held";
}

TEST_F(DownloadChanges, UnreadableOldImageOrBadEraseChoice) {
    pictor::test::WriteFile(dir / "new.bin", old);
    auto sim = Module("5", old);
    const CliRun missing =
        Cli({"download", "--port", sim.Port(), "--since", "missing.bin", "new.bin"});
    EXPECT_EQ(missing.exitCode, kExitFailed);
    EXPECT_TRUE(Contains(missing.err, "cannot read the old image missing.bin; nothing was sent"))
        << missing.err;
    EXPECT_EQ(Log(), "") << "not even the connect went out";
    EXPECT_EQ(Cli({"download", "--port", sim.Port(), "--erase", "all", "new.bin"}).exitCode,
              kExitUsage);
}

}  // namespace
}  // namespace pictor::cli

#endif
