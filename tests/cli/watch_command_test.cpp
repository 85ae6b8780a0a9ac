// pictor-cli watch, run as a process against pictor-sim: rounds after pictures
// are rewritten, replaced, deleted, and after the project changes; Ctrl-C.
#include <gtest/gtest.h>

#include <thread>

#include "device_cli_fixture.h"
#include "support/bitmap_files.h"

#if defined(PICTOR_SIM_PATH) && defined(PICTOR_CLI_PATH)

namespace pictor::cli {
namespace {

using namespace std::chrono_literals;
using test::CliRun;
using test::Contains;
namespace fs = std::filesystem;

constexpr std::size_t kMiB = 1024 * 1024;

class WatchCommand : public test::DeviceCommands {
  protected:
    void SetUp() override {
        environment = "PICTOR_LANG=en";
        pictor::test::WriteFile(dir / "Pictor.ini",
                                "[COMMON]\nMODEL_COUNT=1\nMODEL_NAME0=Colour\nCURRENT_MODE=0\n"
                                "[Colour]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\n");
        // Three 128x128 pictures of 32 KiB each after the 2 KiB table: a and b
        // in the image's block 0 (b reaching into block 1), c in block 1 only.
        for (const char* name : {"a", "b", "c"}) {
            Picture(name, 0x102030);
        }
        WriteProject({"a", "b", "c"});
    }
    void Picture(const std::string& name, std::uint32_t colour) {
        ASSERT_TRUE(pictor::test::WriteBytes(dir / (name + ".bmp"),
                                             pictor::test::SolidBitmap(128, 128, colour)));
    }
    void WriteProject(const std::vector<std::string>& pictures) {
        std::string text = "version = 1\n";
        for (const std::string& name : pictures) {
            text += "[picture]\nfile = " + name + ".bmp\n";
        }
        // Written beside and renamed over, as the desktop saves it.
        pictor::test::WriteFile(dir / "p.tmp", text);
        fs::rename(dir / "p.tmp", dir / "p.pictor");
    }
    std::unique_ptr<pictor::test::ChildProcess> Watch(std::vector<std::string> extra = {}) {
        sim_ = NewSim({"--kind", "5", "--flash", (dir / "flash.img").string()});
        std::vector<std::string> args{"watch",      "--project", "p.pictor", "--port",
                                      sim_->Port(), "--erase",   "image"};
        args.insert(args.end(), extra.begin(), extra.end());
        return Start(args);
    }
    /// Waits (bounded) for a line of stdout that starts with `start`; returns it.
    std::string Round(const std::string& start) {
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string out = pictor::test::ReadFile(dir / "out.txt");
            const std::size_t at = out.find(start);
            const std::size_t end = at == std::string::npos ? at : out.find('\n', at);
            if (end != std::string::npos) {
                return out.substr(at, end - at);
            }
            std::this_thread::sleep_for(20ms);
        }
        ADD_FAILURE() << "no line '" << start << "' in:\n"
                      << pictor::test::ReadFile(dir / "out.txt") << "\nstderr:\n"
                      << pictor::test::ReadFile(dir / "err.txt");
        return {};
    }
    /// True when the module's flash holds the last Icon.bin at 1 MiB.
    bool ModuleHoldsIconBin() {
        const std::string image = pictor::test::ReadFile(dir / "Icon.bin");
        const std::string flash = pictor::test::ReadFile(dir / "flash.img");
        return !image.empty() && flash.size() > kMiB && flash.substr(kMiB, image.size()) == image;
    }
    int Stop(pictor::test::ChildProcess& watch) {
        watch.Signal(SIGINT);
        return watch.WaitForExit(30s);
    }

    std::unique_ptr<pictor::test::SimProcess> sim_;
};

TEST_F(WatchCommand, EachKindOfChangeMakesOneRound) {
    auto watch = Watch();
    EXPECT_TRUE(Contains(Round("round 1 "), "round 1 (start): whole image, 2 blocks sent in "));
    EXPECT_TRUE(ModuleHoldsIconBin());

    Picture("c", 0x405060);  // rewritten in place
    EXPECT_TRUE(Contains(Round("round 2 "), "round 2 (changed: c.bmp): 1 of 2 blocks sent in "));
    EXPECT_TRUE(ModuleHoldsIconBin());

    // Replaced by a rename, as editors save.
    ASSERT_TRUE(pictor::test::WriteBytes(dir / "b.new", pictor::test::SolidBitmap(128, 128, 0x7F)));
    fs::rename(dir / "b.new", dir / "b.bmp");
    EXPECT_TRUE(Contains(Round("round 3 "), "round 3 (changed: b.bmp): 2 of 2 blocks sent in "));
    EXPECT_TRUE(ModuleHoldsIconBin());

    const std::string flashBefore = pictor::test::ReadFile(dir / "flash.img");
    fs::remove(dir / "a.bmp");
    EXPECT_EQ(Round("round 4 "),
              "round 4 (changed: a.bmp (deleted)): conversion failed; the module was left as it "
              "was");
    EXPECT_EQ(pictor::test::ReadFile(dir / "flash.img"), flashBefore) << "nothing was sent";

    // The project changes: a is dropped, d is added.
    Picture("d", 0x00FF00);
    WriteProject({"b", "c", "d"});
    EXPECT_TRUE(Contains(Round("round 5 "), "round 5 (changed: p.pictor): "));
    EXPECT_TRUE(ModuleHoldsIconBin());

    // A burst of writes to one picture and another is one round.
    for (int i = 0; i < 5; ++i) {
        Picture("d", 0x010101U * static_cast<std::uint32_t>(i + 1));
        Picture("b", 0x020202U * static_cast<std::uint32_t>(i + 1));
    }
    EXPECT_TRUE(Contains(Round("round 6 "), "round 6 (changed: b.bmp, d.bmp): "));
    EXPECT_TRUE(ModuleHoldsIconBin());
    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(Contains(pictor::test::ReadFile(dir / "out.txt"), "round 7 "));

    EXPECT_EQ(Stop(*watch), kExitCancelled);
}

TEST_F(WatchCommand, ErrorsAreReportedAndTheNextRoundTriesAgain) {
    // The first sector is answered 92 00 six times: round 1's download fails.
    sim_ = NewSim({"--kind", "5", "--flash", (dir / "flash.img").string(), "--crc-reject", "6"});
    auto watch = Start({"watch", "--project", "p.pictor", "--port", sim_->Port()});
    EXPECT_EQ(Round("round 1 "),
              "round 1 (start): download failed; the next round downloads the whole image");
    Picture("c", 0x405060);
    EXPECT_TRUE(Contains(Round("round 2 "), "round 2 (changed: c.bmp): whole image, 2 blocks sent"))
        << "after a failure the module's content is not known";
    EXPECT_TRUE(ModuleHoldsIconBin());
    EXPECT_EQ(Stop(*watch), kExitCancelled);
}

TEST_F(WatchCommand, AProjectThatDoesNotConvertIsWaitedFor) {
    fs::remove(dir / "c.bmp");
    auto watch = Watch();
    EXPECT_TRUE(Contains(Round("round 1 "), "conversion failed; the module was left as it was"));
    Picture("c", 0x102030);
    EXPECT_TRUE(
        Contains(Round("round 2 "), "round 2 (changed: c.bmp): whole image, 2 blocks sent"));
    EXPECT_EQ(Stop(*watch), kExitCancelled);
}

TEST_F(WatchCommand, CtrlCDuringADownloadEndsWith130AndSaysWhatTheModuleHolds) {
    // At 256000 baud the first download's 196 sectors take seconds.
    sim_ = NewSim({"--kind", "5", "--line-rate", "256000"});
    auto watch = Start({"watch", "--project", "p.pictor", "--port", sim_->Port()});
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!Contains(pictor::test::ReadFile(dir / "err.txt"), "Writing data 1 %") &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_EQ(Stop(*watch), kExitCancelled);
    const std::string err = pictor::test::ReadFile(dir / "err.txt");
    EXPECT_TRUE(Contains(err, "the module holds a partly written image")) << err;
    EXPECT_EQ(pictor::test::ReadFile(dir / "out.txt"), "round 1 (start): download cancelled\n");
}

TEST_F(WatchCommand, BadUsageExitsTwo) {
    EXPECT_EQ(Cli({"watch"}).exitCode, kExitUsage);
    EXPECT_EQ(Cli({"watch", "--project", "p.pictor", "--erase", "some"}).exitCode, kExitUsage);
}

}  // namespace
}  // namespace pictor::cli

#endif
