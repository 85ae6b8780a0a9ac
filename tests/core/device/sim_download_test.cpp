// Downloads over a real pseudo-terminal into pictor-sim, the simulated module.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "core/device/device_link.h"
#include "core/device/serial_port.h"
#include "fake_module.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

#ifdef PICTOR_SIM_PATH

namespace pictor::device {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::Recorder;

/// The protocol's pauses cut to 1 ms: the simulator does not need them, and the
/// tests would otherwise spend minutes in the 100 ms after every erase request.
/// The real pauses are checked by the unit tests and kept by one download here.
class ShortPauser final : public Pauser {
  public:
    void Pause(std::chrono::milliseconds) override { std::this_thread::sleep_for(1ms); }
};

Bytes ReadBytes(const std::filesystem::path& path, std::uint64_t offset, std::size_t count) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    Bytes out(count);
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(count));
    out.resize(static_cast<std::size_t>(in.gcount()));
    return out;
}

struct SimRun {
    DownloadResult result;
    std::vector<Message> messages;
};

class SimDownload : public ::testing::Test {
  protected:
    pictor::test::TempDir dir;

    std::filesystem::path Image(const Bytes& content, const std::string& name = "Icon.bin") {
        pictor::test::WriteFile(dir / name, std::string(content.begin(), content.end()));
        return dir / name;
    }

    /// Starts the simulator with `args`, downloads `image` and stops it again.
    SimRun Download(std::vector<std::string> args, const std::filesystem::path& image,
                    std::unique_ptr<Pauser> pauser = std::make_unique<ShortPauser>(),
                    std::optional<LcdSettings> sendSettings = std::nullopt, int baud = 256000) {
        args.insert(args.end(), {"--erase-ms", "0", "--flash", (dir / "flash.img").string()});
        pictor::test::SimProcess sim(PICTOR_SIM_PATH, args);
        EXPECT_FALSE(sim.Port().empty()) << "pictor-sim did not start";
        auto port = std::make_unique<SerialPort>();
        EXPECT_TRUE(port->Open(sim.Port(), baud));
        DeviceLink link(DeviceState{}, std::move(pauser));
        Recorder recorder;
        link.AttachLine(std::move(port), recorder);
        DownloadRequest request;
        request.filePath = image;
        request.backupDirectory = dir.Path();
        request.sendSettings = sendSettings;
        EXPECT_TRUE(link.StartDownload(request, recorder, recorder));
        SimRun run{*link.Wait(), {}};
        run.messages = recorder.messages;
        return run;
    }
};

Message Failure(const char* text) {
    return Message{text, "错误信息", MessageIcon::Stop};
}

TEST_F(SimDownload, AtTwelveHundredBaudEveryAnswerIsWaitedFor) {
    // A sector with its checksum takes 4.3 s on the line at 1200 baud, longer
    // than the 2 s an answer gets on a fast line. Kind 5 erases only 16 blocks,
    // so the whole download stays within a few seconds.
    const Bytes content = test::Pattern(300);
    const SimRun run = Download({"--kind", "5", "--line-rate", "1200"}, Image(content),
                                std::make_unique<ShortPauser>(), std::nullopt, 1200);
    ASSERT_EQ(run.result.outcome, Outcome::Ok) << run.result.message.text;
    Bytes padded = content;
    padded.resize(512);
    EXPECT_EQ(ReadBytes(dir / "flash.img", std::uint64_t{2048} * 512, 512), padded);
}

TEST_F(SimDownload, EveryFlashKindEndsWithThePaddedImageInFlash) {
    struct Case {
        int kind;
        int mode;
        std::uint32_t startSector;
    };
    for (const Case c : {Case{1, 1, 4096}, Case{2, 2, 4096}, Case{3, 2, 4096}, Case{4, 2, 4096},
                         Case{5, 2, 2048}}) {
        SCOPED_TRACE("kind " + std::to_string(c.kind));
        std::filesystem::remove(dir / "flash.img");
        std::filesystem::remove(dir / "BackUp_All.BIN");
        // The second download goes over the first: it only comes out right when
        // the flash was erased in between (the simulator's flash can only clear bits).
        for (const std::uint8_t start : {std::uint8_t{1}, std::uint8_t{0x80}}) {
            const Bytes content = test::Pattern(5000, start);
            const SimRun run = Download({"--kind", std::to_string(c.kind)}, Image(content));
            ASSERT_EQ(run.result.outcome, Outcome::Ok) << run.result.message.text;
            EXPECT_EQ(run.result.transferMode, c.mode);
            Bytes padded = content;
            padded.resize(5120);
            const std::uint64_t offset = std::uint64_t{c.startSector} * 512;
            EXPECT_EQ(ReadBytes(dir / "flash.img", offset, padded.size()), padded);
            EXPECT_EQ(ReadBytes(dir / "flash.img", offset + 5120, 512), Bytes(512, 0xFF));
            if (c.mode == 1) {
                const std::string backup = pictor::test::ReadFile(dir / "BackUp_All.BIN");
                EXPECT_EQ(Bytes(backup.begin(), backup.end()), padded);
            } else {
                EXPECT_FALSE(std::filesystem::exists(dir / "BackUp_All.BIN"));
            }
        }
    }
}

TEST_F(SimDownload, FirstFramesAndRealPauses) {
    const auto log = dir / "frames.log";
    const SimRun run =
        Download({"--kind", "5", "--log", log.string()}, Image(test::Pattern(1000)), nullptr);
    ASSERT_EQ(run.result.outcome, Outcome::Ok);
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    ASSERT_GE(lines.size(), 1U + 16 + 2);
    EXPECT_EQ(lines[0], "AA 04 90 55 AA");
    EXPECT_EQ(lines[1], "AA 03 91 10");
    EXPECT_EQ(lines[16], "AA 03 91 1F");
    EXPECT_EQ(lines[17].substr(0, 26), "AA 08 94 00 00 08 00 02 02");
    // 16 erase exchanges with their 100 ms pause each.
    EXPECT_GE(run.result.totalTime, 1600ms);
}

TEST_F(SimDownload, ModeTwoResendsAndGivesUp) {
    const auto image = Image(test::Pattern(2048));
    EXPECT_EQ(Download({"--kind", "5", "--crc-reject", "5"}, image).result.outcome, Outcome::Ok);
    const SimRun failed = Download({"--kind", "5", "--crc-reject", "6"}, image);
    EXPECT_EQ(failed.result.outcome, Outcome::Failed);
    EXPECT_EQ(failed.messages, std::vector<Message>{Failure("下载 Bin档失败!")});
}

TEST_F(SimDownload, InjectedFaultsEndInTheirMessage) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--kind", "5", "--no-reply", "90"}, "连接失败!"},
        {{"--kind", "5", "--short-reply", "90"}, "连接失败!"},
        {{"--kind", "5", "--connect-reply", "9107"}, "连接失败!"},
        {{"--kind", "5", "--noise", "5"}, "连接失败!"},
        {{"--kind", "5", "--no-reply", "91"}, "flash 删除失败!"},
        {{"--kind", "5", "--connect-reply", "9005", "--short-reply", "91"}, "flash 删除失败!"},
        {{"--kind", "5", "--no-reply", "94"}, "下载 Bin档失败!"},
        {{"--kind", "5", "--no-reply", "92"}, "下载 Bin档失败!"},
        {{"--kind", "5", "--hangup-after", "2"}, "下载 Bin档失败!"},
        {{"--kind", "1", "--corrupt-readback", "4097"}, "检查 Bin档失败!"},
        {{"--kind", "1", "--short-reply", "95"}, "检查 Bin档失败!"},
        {{"--kind", "1", "--no-reply", "95"}, "检查 Bin档失败!"},
    };
    const auto image = Image(test::Pattern(2048));
    for (const Case& c : cases) {
        std::filesystem::remove(dir / "flash.img");
        const SimRun run = Download(c.args, image);
        const std::string name = ::testing::PrintToString(c.args);
        EXPECT_EQ(run.result.outcome, Outcome::Failed) << name;
        ASSERT_FALSE(run.messages.empty()) << name;
        EXPECT_EQ(run.messages.back(), Failure(c.message)) << name;
    }
}

TEST_F(SimDownload, StrayBytesAndSettingsAfterTheImage) {
    const SimRun run = Download({"--kind", "1", "--stray", "7"}, Image(test::Pattern(3000)),
                                std::make_unique<ShortPauser>(), LcdSettings{9, 6, 2, 3, 5});
    ASSERT_EQ(run.result.outcome, Outcome::Ok) << run.result.message.text;
    // The simulator keeps its settings beside the flash file: read them back.
    pictor::test::SimProcess sim(PICTOR_SIM_PATH,
                                 {"--kind", "1", "--flash", (dir / "flash.img").string()});
    auto port = std::make_unique<SerialPort>();
    ASSERT_TRUE(port->Open(sim.Port(), 256000));
    DeviceLink link(DeviceState{}, std::make_unique<ShortPauser>());
    Recorder recorder;
    link.AttachLine(std::move(port), recorder);
    LcdSettingsReply reply;
    ASSERT_EQ(link.ReadSettings(reply, recorder), Outcome::Ok);
    EXPECT_EQ(reply, (LcdSettingsReply{9, 6, 2, 3, 5}));
}

}  // namespace
}  // namespace pictor::device

#endif  // PICTOR_SIM_PATH
