#include "core/device/download_job.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <future>

#include "core/device/device_link.h"
#include "fake_module.h"
#include "support/platform.h"
#include "support/temp_dir.h"

namespace pictor::device {
namespace {

using test::Bytes;
using test::FakeModule;
using test::Recorder;
using test::ScriptedLine;

using test::kDownloadSuccess;

Message Failure(const char* text) {
    return Message{text, "错误信息", MessageIcon::Stop};
}

struct JobFixture : ::testing::Test {
    ScriptedLine line;
    FakeModule module;
    CancelToken cancel;
    DeviceProtocol protocol{line, line, cancel};
    Recorder recorder;
    pictor::test::TempDir dir;

    void SetUp() override { module.Attach(line); }

    std::filesystem::path ImageFile(const Bytes& content, const char* name = "Icon.bin") {
        pictor::test::WriteFile(dir / name, std::string(content.begin(), content.end()));
        return dir / name;
    }
    DownloadResult Run(const std::filesystem::path& file) {
        DownloadRequest request;
        request.filePath = file;
        request.backupDirectory = dir.Path();
        return RunDownload(request, protocol, DeviceState{}, recorder, recorder);
    }
    Bytes FlashFrom(std::uint32_t sector, std::uint32_t count) const {
        return module.Read(sector, std::size_t{count} * 512);
    }
};

TEST_F(JobFixture, ModeOneDownloadsChecksAndBacksUp) {
    const Bytes content = test::Pattern(1000);
    module.strayBeforeReadBack = {0x55, 0x66, 0x77};
    const DownloadResult result = Run(ImageFile(content));
    ASSERT_EQ(result.outcome, Outcome::Ok);
    EXPECT_EQ(recorder.messages, std::vector<Message>{kDownloadSuccess});
    Bytes padded = content;
    padded.resize(1024);
    EXPECT_EQ(FlashFrom(4096, 2), padded);
    const std::string backup = pictor::test::ReadFile(dir / "BackUp_All.BIN");
    EXPECT_EQ(Bytes(backup.begin(), backup.end()), padded);
    // 64 Mbit: blocks 32..127, first percentage 25.
    ASSERT_EQ(module.erasedBlocks.size(), 96U);
    EXPECT_EQ(module.erasedBlocks.front(), 32U);
    EXPECT_EQ(module.erasedBlocks.back(), 127U);
    const std::vector<std::string> head(recorder.statuses.begin(), recorder.statuses.begin() + 5);
    EXPECT_EQ(head, (std::vector<std::string>{"连接设备", "读取Bin档", "擦除Flash",
                                              "擦除Flash...0 %", "擦除Flash...25 %"}));
    const std::vector<std::string> tail(recorder.statuses.end() - 10, recorder.statuses.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"写数据 0 %", "写数据0 %", "写数据...50 %",
                                        "写数据...100 %", "读数据0 %", "读数据0 %", "读数据...50 %",
                                        "读数据...100 %", "读数据90 %", "下载 Bin档100 %"}));
    EXPECT_EQ(recorder.statuses.back(), "下载 Bin档100 %");
    EXPECT_EQ(recorder.progress.back(), 100);
    // The first read-back request follows the stray bytes, which did not shift it.
    EXPECT_EQ(result.bytesWritten, 1024U);
}

TEST_F(JobFixture, ModeTwoSixteenMbitWritesFromOneMiB) {
    module.kind = 5;
    const Bytes content = test::Pattern(1536);
    ASSERT_EQ(Run(ImageFile(content)).outcome, Outcome::Ok);
    EXPECT_EQ(FlashFrom(2048, 3), content);
    EXPECT_EQ(module.erasedBlocks.front(), 16U);
    EXPECT_EQ(module.erasedBlocks.back(), 31U);
    EXPECT_FALSE(std::filesystem::exists(dir / "BackUp_All.BIN")) << "no read-back in mode 2";
    EXPECT_EQ(line.Writes()[17], (Bytes{0xAA, 0x08, 0x94, 0x00, 0x00, 0x08, 0x00, 0x02, 0x02}));
}

TEST_F(JobFixture, TwoHundredFiftySixMbitStopsAtBlock255AndFourteenMiB) {
    module.kind = 4;
    ASSERT_EQ(Run(ImageFile(test::Pattern(512))).outcome, Outcome::Ok);
    EXPECT_EQ(module.erasedBlocks.front(), 32U);
    EXPECT_EQ(module.erasedBlocks.back(), 255U);
    EXPECT_EQ(module.erasedBlocks.size(), 224U);

    module.erasedBlocks.clear();
    recorder.messages.clear();
    const auto big = dir / "big.bin";
    std::filesystem::resize_file(ImageFile({}, "big.bin"), 14680065);
    EXPECT_EQ(Run(big).outcome, Outcome::Failed);
    EXPECT_EQ(recorder.messages,
              (std::vector<Message>{{"Bin文件超过14M 容量!!", "警告", MessageIcon::Information},
                                    Failure("读取 Bin 档失败!")}));
    EXPECT_TRUE(module.erasedBlocks.empty()) << "refused before anything is erased";
}

TEST_F(JobFixture, EachFailingStepEndsWithItsMessage) {
    const auto file = ImageFile(test::Pattern(1024));
    struct Case {
        const char* name;
        std::function<void(FakeModule&)> fault;
        const char* message;
        DownloadStep step;
    };
    const Bytes nak{0x92, 0x00};
    const Case cases[] = {
        {"no connect reply", [](FakeModule& m) { m.silenceAfterWrites = 0; }, "连接失败!",
         DownloadStep::Connect},
        {"unknown kind",
         [](FakeModule& m) {
             m.connectReply = {0x90, 0x07};
         },
         "连接失败!", DownloadStep::Connect},
        {"erase refused",
         [](FakeModule& m) {
             m.eraseReply = {0x00, 0x00};
         },
         "flash 删除失败!", DownloadStep::Erase},
        {"write stalls", [](FakeModule& m) { m.silenceAfterWrites = 1 + 96 + 2; },
         "下载 Bin档失败!", DownloadStep::Write},
        {"never acknowledged",
         [nak](FakeModule& m) {
             m.kind = 2;
             m.sectorAcks = {nak, nak, nak, nak, nak, nak};
         },
         "下载 Bin档失败!", DownloadStep::Write},
        {"read-back differs", [](FakeModule& m) { m.onWrite = [&m] { m.flash.erase(4097); }; },
         "检查 Bin档失败!", DownloadStep::Verify},
        {"read-back stalls", [](FakeModule& m) { m.silenceAfterWrites = 1 + 96 + 4 + 1; },
         "检查 Bin档失败!", DownloadStep::Verify},
    };
    for (const Case& c : cases) {
        FakeModule fresh;
        c.fault(fresh);
        fresh.Attach(line);
        recorder.messages.clear();
        DownloadRequest request;
        request.filePath = file;
        request.backupDirectory = dir.Path();
        const DownloadResult result = RunDownload(request, protocol, {}, recorder, recorder);
        EXPECT_EQ(result.outcome, Outcome::Failed) << c.name;
        EXPECT_EQ(result.step, c.step) << c.name;
        EXPECT_EQ(recorder.messages, std::vector<Message>{Failure(c.message)}) << c.name;
    }
}

TEST_F(JobFixture, ResourceVariantAndItsSettings) {
    DownloadRequest request;
    request.source = ImageSource::Resource;
    request.backupDirectory = dir.Path();
    EXPECT_EQ(RunDownload(request, protocol, {}, recorder, recorder).message,
              Failure("读取 Bin 档失败!"));

    request.image = LoadBinFile(ImageFile(test::Pattern(512)), 8, recorder);
    request.sendSettings = LcdSettings{};
    line.events.clear();
    EXPECT_EQ(RunDownload(request, protocol, {}, recorder, recorder).outcome, Outcome::Ok);
    const auto writes = line.Writes();
    EXPECT_EQ(writes.back(), (Bytes{0xAA, 0x08, 0x96, 0xFF, 0x03, 0x05, 0x04, 0x01, 0xED}));

    // A 16 Mbit module found by the connect is checked against its own 1 MiB.
    module.kind = 5;
    request.image = LoadBinFile(ImageFile(Bytes(1048577, 1)), 8, recorder);
    ASSERT_TRUE(request.image);
    recorder.messages.clear();
    EXPECT_EQ(RunDownload(request, protocol, {}, recorder, recorder).outcome, Outcome::Failed);
    EXPECT_EQ(recorder.messages.front().text, "Bin文件超过1M 容量!!");
}

TEST_F(JobFixture, AnEmptyImageIsRefusedBeforeAnythingIsSent) {
    const Message refused = Failure("the image is empty; nothing was erased");
    const DownloadResult fromFile = Run(ImageFile({}));
    EXPECT_EQ(fromFile.outcome, Outcome::Failed);
    EXPECT_EQ(fromFile.step, DownloadStep::LoadImage);
    EXPECT_EQ(fromFile.loadFailure, LoadFailure::Empty);
    EXPECT_EQ(recorder.messages, std::vector<Message>{refused});

    // The resource dialog's path: an empty file loads, the job refuses it.
    DownloadRequest request;
    request.source = ImageSource::Resource;
    request.image = LoadBinFile(ImageFile({}, "empty.bin"), 8, recorder);
    ASSERT_TRUE(request.image);
    recorder.messages.clear();
    EXPECT_EQ(RunDownload(request, protocol, {}, recorder, recorder).outcome, Outcome::Failed);
    EXPECT_EQ(recorder.messages, std::vector<Message>{refused});

    EXPECT_TRUE(line.Writes().empty()) << "not even the connect went out";
    EXPECT_TRUE(module.erasedBlocks.empty());
}

#ifndef _WIN32  // FIFOs are POSIX only
TEST_F(JobFixture, AFifoAsTheImageIsRefusedWithoutBlocking) {
    const auto fifo = dir / "image.bin";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    LoadFailure why = LoadFailure::None;
    // Nobody writes to the FIFO: a blocking open would never return.
    EXPECT_FALSE(LoadBinFile(fifo, 8, recorder, &why));
    EXPECT_EQ(why, LoadFailure::CannotOpen);
    EXPECT_FALSE(LoadBinFile(dir.Path(), 8, recorder, &why));
    EXPECT_EQ(why, LoadFailure::CannotOpen);

    const DownloadResult result = Run(fifo);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.loadFailure, LoadFailure::CannotOpen);
    EXPECT_EQ(recorder.messages, std::vector<Message>{Failure("读取 Bin 档失败!")});
    EXPECT_TRUE(module.erasedBlocks.empty());
}
#endif

TEST_F(JobFixture, SettingsThatWereNotWrittenAreWarnedAboutAfterTheSuccess) {
    module.settingsWriteReply = {};  // the module never answers 0x96
    DownloadRequest request;
    request.filePath = ImageFile(test::Pattern(512));
    request.backupDirectory = dir.Path();
    request.sendSettings = LcdSettings{};
    const DownloadResult result = RunDownload(request, protocol, {}, recorder, recorder);
    EXPECT_EQ(result.outcome, Outcome::Ok);
    EXPECT_EQ(result.settingsWritten, false);
    EXPECT_EQ(
        recorder.messages,
        (std::vector<Message>{kDownloadSuccess,
                              {"the image was downloaded, but the LCD settings were not written",
                               "警告", MessageIcon::Exclamation}}));

    module.settingsWriteReply = {0x00, 0x00};  // any two bytes count as written
    recorder.messages.clear();
    EXPECT_EQ(RunDownload(request, protocol, {}, recorder, recorder).settingsWritten, true);
    EXPECT_EQ(recorder.messages, std::vector<Message>{kDownloadSuccess});

    request.sendSettings.reset();
    EXPECT_EQ(RunDownload(request, protocol, {}, recorder, recorder).settingsWritten, std::nullopt);
}

TEST_F(JobFixture, AFailedConnectKeepsTheBytesTheModuleSent) {
    module.connectReply = {0x91, 0x07};
    const DownloadResult result = Run(ImageFile(test::Pattern(512)));
    EXPECT_EQ(result.connectFailure, ConnectFailure::UnknownKind);
    EXPECT_EQ(result.connectReply, (std::array<std::uint8_t, 2>{0x91, 0x07}));
}

TEST_F(JobFixture, ABackupThatCannotBeWrittenFailsTheCheck) {
    PICTOR_SKIP_ON_WINDOWS("no /dev/full to write to");
    std::filesystem::create_symlink("/dev/full", dir / "BackUp_All.BIN");
    const DownloadResult result = Run(ImageFile(test::Pattern(1024)));
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.step, DownloadStep::Verify);
    EXPECT_EQ(recorder.messages.back(), Failure("检查 Bin档失败!"));
}

TEST_F(JobFixture, BackupThatCannotBeCreatedFailsTheCheck) {
    DownloadRequest request;
    request.filePath = ImageFile(test::Pattern(512));
    request.backupDirectory = dir / "missing-dir";
    const DownloadResult result = RunDownload(request, protocol, {}, recorder, recorder);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    ASSERT_EQ(recorder.messages.size(), 2U);
    EXPECT_EQ(recorder.messages[0].text,
              "打开文件失败" + (dir / "missing-dir" / "BackUp_All.BIN").string());
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(recorder.messages[1], Failure("检查 Bin档失败!"));
}

TEST(DeviceLinkTest, CancelAndBusyRefusal) {
    pictor::test::TempDir dir;
    auto line = std::make_unique<ScriptedLine>();
    FakeModule module;
    module.Attach(*line);
    std::promise<void> erasing;
    std::promise<void> proceed;
    std::shared_future<void> proceedFuture = proceed.get_future().share();
    int writes = 0;
    module.onWrite = [&] {
        if (++writes == 2) {  // the first erase frame
            erasing.set_value();
            proceedFuture.wait();
        }
    };
    class NoPause final : public Pauser {
      public:
        void Pause(std::chrono::milliseconds) override {}
    };
    DeviceLink link(DeviceState{}, std::make_unique<NoPause>());
    Recorder ui;
    ASSERT_TRUE(link.AttachLine(std::move(line), ui));
    Recorder jobSink;
    pictor::test::WriteFile(dir / "a.bin", std::string(2048, 'a'));
    DownloadRequest request;
    request.filePath = dir / "a.bin";
    request.backupDirectory = dir.Path();
    ASSERT_TRUE(link.StartDownload(request, jobSink, jobSink));
    erasing.get_future().wait();

    const Message busy{kDeviceBusyText, "错误信息", MessageIcon::Exclamation};
    EXPECT_TRUE(link.IsRunning());
    EXPECT_FALSE(link.StartDownload(request, ui, ui));
    EXPECT_FALSE(link.Connect(ui));
    LcdSettingsReply reply;
    EXPECT_FALSE(link.ReadSettings(reply, ui));
    EXPECT_FALSE(link.WriteSettings(LcdSettings{}, ui));
    EXPECT_EQ(link.DetachLine(ui), nullptr);
    EXPECT_EQ(ui.messages, std::vector<Message>(5, busy));
    EXPECT_EQ(jobSink.messages.size(), 0U);

    link.Cancel();
    proceed.set_value();
    const auto result = link.Wait();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, Outcome::Cancelled);
    EXPECT_EQ(jobSink.messages, std::vector<Message>{Failure("下载已取消")});
    EXPECT_LT(module.erasedBlocks.size(), 3U);

    // The link took over what the job's connect found (kind 1: 64 Mbit, mode 1).
    EXPECT_EQ(link.State().transferMode, 1);
    EXPECT_EQ(link.State().imageStartSector, 4096U);
    // The port is usable afterwards: the connect learns the kind again.
    EXPECT_FALSE(link.IsRunning());
    const auto connect = link.Connect(ui);
    ASSERT_TRUE(connect);
    EXPECT_EQ(connect->outcome, Outcome::Ok);
    EXPECT_EQ(link.State().transferMode, 1);
    ASSERT_TRUE(link.StartDownload(request, jobSink, jobSink));
    EXPECT_EQ(link.Wait()->outcome, Outcome::Ok);
}

TEST(DeviceLinkTest, AfterADownloadTheLinkHoldsWhatTheJobsConnectFound) {
    pictor::test::TempDir dir;
    auto line = std::make_unique<ScriptedLine>();
    FakeModule module;
    module.kind = 5;  // 16 Mbit, sectors with CRC from 1 MiB on
    module.Attach(*line);
    class NoPause final : public Pauser {
      public:
        void Pause(std::chrono::milliseconds) override {}
    };
    // The link starts from other values, as read from the settings file.
    DeviceState start;
    start.flashTypeText = "128Mbit";
    start.selectedFlashType = "128Mbit";
    start.flashSizeCode = 16;
    start.imageStartSector = 12288;
    DeviceLink link(start, std::make_unique<NoPause>());
    Recorder sink;
    ASSERT_TRUE(link.AttachLine(std::move(line), sink));
    pictor::test::WriteFile(dir / "a.bin", std::string(1024, 'a'));
    DownloadRequest request;
    request.filePath = dir / "a.bin";
    request.backupDirectory = dir.Path();
    ASSERT_TRUE(link.StartDownload(request, sink, sink));
    ASSERT_EQ(link.Wait()->outcome, Outcome::Ok);

    const DeviceState after = link.State();
    EXPECT_EQ(after.transferMode, 2);
    EXPECT_EQ(after.flashSizeCode, 2);
    EXPECT_EQ(after.imageStartSector, 2048U);
    EXPECT_EQ(after.selectedFlashType, "16Mbit");
    EXPECT_EQ(after.flashTypeText, "128Mbit") << "the user's pick is not the connect's";
}

}  // namespace
}  // namespace pictor::device
