#include <gtest/gtest.h>

#include "core/device/device_protocol.h"
#include "fake_module.h"

namespace pictor::device {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::FakeModule;
using test::LineEvent;
using test::Recorder;
using test::ScriptedLine;

struct ProtocolFixture : ::testing::Test {
    ScriptedLine line;
    FakeModule module;
    CancelToken cancel;
    DeviceProtocol protocol{line, line, cancel};
    Recorder recorder;

    void SetUp() override { module.Attach(line); }
};

TEST_F(ProtocolFixture, ConnectAppliesTheFlashKindTable) {
    struct Case {
        Bytes reply;
        Outcome outcome;
        ConnectFailure failure;
        int mode;
        std::uint32_t start;
        int sizeCode;
        const char* entry;
    };
    const Case cases[] = {
        {{0x90, 0x01}, Outcome::Ok, ConnectFailure::None, 1, 4096, 8, "64Mbit"},
        {{0x90, 0x02}, Outcome::Ok, ConnectFailure::None, 2, 4096, 8, "64Mbit"},
        {{0x90, 0x03}, Outcome::Ok, ConnectFailure::None, 2, 4096, 16, "128Mbit"},
        {{0x90, 0x04}, Outcome::Ok, ConnectFailure::None, 2, 4096, 32, "256Mbit"},
        {{0x90, 0x05}, Outcome::Ok, ConnectFailure::None, 2, 2048, 2, "16Mbit"},
        // Wrong replies reset the state to the 64 Mbit defaults and still fail.
        {{0x90, 0x07}, Outcome::Failed, ConnectFailure::UnknownKind, 1, 4096, 8, "64Mbit"},
        {{0x90, 0x00}, Outcome::Failed, ConnectFailure::UnknownKind, 1, 4096, 8, "64Mbit"},
        {{0x91, 0x01}, Outcome::Failed, ConnectFailure::UnknownKind, 1, 4096, 8, "64Mbit"},
        // Missing bytes change nothing.
        {{}, Outcome::Failed, ConnectFailure::NoReply, 2, 2048, 2, "16Mbit"},
        {{0x90}, Outcome::Failed, ConnectFailure::ShortReply, 2, 2048, 2, "16Mbit"},
    };
    for (const Case& c : cases) {
        DeviceState state{2, 2048, 2, "128Mbit", "16Mbit"};
        module.connectReply = c.reply.empty() ? Bytes{} : c.reply;
        if (c.reply.empty()) {
            line.respond = [](std::span<const std::uint8_t>) { return Bytes{}; };
        } else {
            module.Attach(line);
        }
        const ConnectResult result = protocol.ConnectDevice(state, false);
        const std::string name = ::testing::PrintToString(c.reply);
        EXPECT_EQ(result.outcome, c.outcome) << name;
        EXPECT_EQ(result.failure, c.failure) << name;
        EXPECT_EQ(state.transferMode, c.mode) << name;
        EXPECT_EQ(state.imageStartSector, c.start) << name;
        EXPECT_EQ(state.flashSizeCode, c.sizeCode) << name;
        EXPECT_EQ(state.selectedFlashType, c.entry) << name;
        EXPECT_EQ(state.flashTypeText, "128Mbit") << "a connect never changes the stored text";
    }
}

TEST_F(ProtocolFixture, ConnectIsASingleExchange) {
    DeviceState state;
    ASSERT_EQ(protocol.ConnectDevice(state, true).outcome, Outcome::Ok);
    ASSERT_GE(line.events.size(), 4U);
    EXPECT_EQ(line.events[0].kind, LineEvent::Kind::Purge);
    EXPECT_EQ(line.events[1].bytes, (Bytes{0xAA, 0x04, 0x90, 0x55, 0xAA}));
    EXPECT_EQ(line.events[2].kind, LineEvent::Kind::Pause);
    EXPECT_EQ(line.events[2].time, 100ms);
    EXPECT_EQ(line.events[3].kind, LineEvent::Kind::Read);
    EXPECT_EQ(line.events[3].time, 500ms);
}

TEST_F(ProtocolFixture, ConnectOnAClosedLineFailsWithoutChanges) {
    line.open = false;
    DeviceState state{2, 2048, 2, "16Mbit", "16Mbit"};
    const DeviceState before = state;
    EXPECT_EQ(protocol.ConnectDevice(state, false).failure, ConnectFailure::NotWritten);
    EXPECT_EQ(state, before);
}

TEST_F(ProtocolFixture, EraseJudgesEitherReplyByte) {
    struct Case {
        Bytes reply;
        Outcome outcome;
    };
    const Case cases[] = {{{0x91, 0x01}, Outcome::Ok},
                          {{0x91, 0x00}, Outcome::Ok},
                          {{0x00, 0x01}, Outcome::Ok},
                          {{0x00, 0x00}, Outcome::Failed},
                          {{0x91}, Outcome::Failed}};
    for (const Case& c : cases) {
        module.eraseReply = c.reply;
        EXPECT_EQ(protocol.EraseFlashBlock(40), c.outcome) << ::testing::PrintToString(c.reply);
    }
    EXPECT_EQ(line.events.back().time, 5000ms);
}

TEST_F(ProtocolFixture, EraseNeverWrapsBlockNumbers) {
    EXPECT_EQ(protocol.EraseFlashBlock(255), Outcome::Ok);
    EXPECT_EQ(protocol.EraseFlashBlock(256), Outcome::Failed);
    EXPECT_EQ(protocol.EraseFlashBlock(300), Outcome::Failed);
    EXPECT_EQ(module.erasedBlocks, (std::vector<std::uint32_t>{255}));
}

TEST_F(ProtocolFixture, ModeTwoSendsEachChunkWithItsChecksumLowByteFirst) {
    const Bytes image = test::Pattern(1024);
    ASSERT_EQ(protocol.WriteImageCrc(image, 4096, recorder), Outcome::Ok);
    const auto writes = line.Writes();
    ASSERT_EQ(writes.size(), 4U);
    EXPECT_EQ(writes[0], (Bytes{0xAA, 0x08, 0x94, 0x00, 0x00, 0x10, 0x00, 0x02, 0x02}));
    EXPECT_EQ(writes[2], (Bytes{0xAA, 0x08, 0x94, 0x00, 0x00, 0x10, 0x01, 0x02, 0x02}));
    ASSERT_EQ(writes[1].size(), 514U);
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 512, writes[1].begin()));
    // CRC-16/XMODEM of the first sector of the pattern is 0x7946 (worked out apart
    // from the code under test); it goes out low byte first.
    EXPECT_EQ(writes[1][512], 0x46);
    EXPECT_EQ(writes[1][513], 0x79);
    EXPECT_EQ(module.checksumErrors, 0);
    EXPECT_EQ(module.flash.at(4097), Bytes(image.begin() + 512, image.end()));
    // Data then a 10 ms pause then the answer; no pause between frame and header reply.
    std::vector<LineEvent::Kind> kinds;
    for (const auto& e : line.events) {
        kinds.push_back(e.kind);
    }
    using K = LineEvent::Kind;
    const std::vector<K> expected{K::Purge, K::Write, K::Read,  K::Write, K::Pause, K::Read,
                                  K::Write, K::Read,  K::Write, K::Pause, K::Read};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(line.events[4].time, 10ms);
    EXPECT_EQ(recorder.statuses,
              (std::vector<std::string>{"写数据 0 %", "写数据 50 %", "写数据 100 %"}));
    EXPECT_EQ(recorder.progress, (std::vector<int>{0, 50, 100}));
}

TEST_F(ProtocolFixture, ReplyTimeOutsIncludeTheLineTimeOfTheData) {
    // At 1200 baud a sector takes seconds on the line: the answer's time-out is
    // 2 s plus twice the line time of what crosses the line before it is complete.
    line.baud = 1200;
    ASSERT_EQ(protocol.WriteImageCrc(test::Pattern(512), 4096, recorder), Outcome::Ok);
    std::vector<std::chrono::milliseconds> timeouts;
    for (const auto& e : line.events) {
        if (e.kind == LineEvent::Kind::Read) {
            timeouts.push_back(e.time);
        }
    }
    // Header: 9 + 2 bytes = 91.7 ms, twice 183.3, up to 184. Data: 514 + 2 bytes =
    // 4300 ms, twice 8600.
    EXPECT_EQ(timeouts, (std::vector<std::chrono::milliseconds>{2184ms, 10600ms}));
}

TEST_F(ProtocolFixture, ModeTwoResendsUpToFiveTimesPerChunk) {
    const Bytes nak{0x92, 0x00};
    const Bytes ack{0x92, 0x01};
    // Five rejections of chunk 1, then five of chunk 2: the count starts anew.
    module.sectorAcks = {nak, nak, nak, nak, nak, ack, nak, nak, nak, nak, nak, ack};
    EXPECT_EQ(protocol.WriteImageCrc(test::Pattern(1024), 4096, recorder), Outcome::Ok);
    EXPECT_EQ(protocol.ResendCount(), 10);
    EXPECT_EQ(line.Writes().size(), 24U);
    EXPECT_EQ(line.Writes()[10], line.Writes()[0]) << "a resend repeats the same frame";
}

TEST_F(ProtocolFixture, ModeTwoFailsAChunkNeverAcknowledged) {
    const Bytes nak{0x92, 0x00};
    module.sectorAcks = {nak, nak, nak, nak, nak, nak};
    EXPECT_EQ(protocol.WriteImageCrc(test::Pattern(1024), 4096, recorder), Outcome::Failed);
    EXPECT_EQ(line.Writes().size(), 12U) << "six tries of the first chunk, nothing after it";
    EXPECT_EQ(recorder.progress, (std::vector<int>{0}));
}

TEST_F(ProtocolFixture, ModeOneWritesPlainSectorsAndIgnoresAnswers) {
    module.sectorAcks = {{0x00, 0x00}};  // content is not examined in mode 1
    const Bytes image = test::Pattern(1536);
    ASSERT_EQ(protocol.WriteImagePlain(image, 2048, recorder), Outcome::Ok);
    const auto writes = line.Writes();
    ASSERT_EQ(writes.size(), 6U);
    EXPECT_EQ(writes[0], (Bytes{0xAA, 0x08, 0x94, 0x00, 0x00, 0x08, 0x00, 0x02, 0x00}));
    EXPECT_EQ(writes[1], Bytes(image.begin(), image.begin() + 512));
    EXPECT_EQ(recorder.statuses, (std::vector<std::string>{"写数据0 %", "写数据...33 %",
                                                           "写数据...66 %", "写数据...100 %"}));
}

TEST_F(ProtocolFixture, WriteRunsFailOnAMissingAnswer) {
    module.silenceAfterWrites = 3;  // frame+data of sector 1, frame of sector 2
    EXPECT_EQ(protocol.WriteImagePlain(test::Pattern(1024), 4096, recorder), Outcome::Failed);
    EXPECT_EQ(recorder.progress, (std::vector<int>{0, 50}));
}

TEST_F(ProtocolFixture, EmptyImagesSucceedWithoutSectorFrames) {
    EXPECT_EQ(protocol.WriteImagePlain({}, 4096, recorder), Outcome::Ok);
    EXPECT_EQ(protocol.WriteImageCrc({}, 4096, recorder), Outcome::Ok);
    EXPECT_TRUE(line.Writes().empty());
}

TEST_F(ProtocolFixture, CancelStopsAtTheNextChunk) {
    int writes = 0;
    module.onWrite = [&] {
        if (++writes == 4) {
            cancel.Cancel();
        }
    };
    EXPECT_EQ(protocol.WriteImageCrc(test::Pattern(512 * 4), 4096, recorder), Outcome::Cancelled);
    EXPECT_EQ(line.Writes().size(), 4U);
    DeviceState state;
    EXPECT_EQ(protocol.ConnectDevice(state, false).outcome, Outcome::Cancelled);
    EXPECT_EQ(protocol.EraseFlashBlock(32), Outcome::Cancelled);
    EXPECT_EQ(line.Writes().size(), 4U);
}

TEST(RunPercent, MatchesTheThirtyTwoBitFormulaForAcceptedSizes) {
    EXPECT_EQ(DeviceProtocol::RunPercent(1024, 512), 50);
    EXPECT_EQ(DeviceProtocol::RunPercent(1536, 1024), 33);
    EXPECT_EQ(DeviceProtocol::RunPercent(1536, 0), 100);
    // 14 MiB, one sector written: 14680064*100 - 14679552*100 = 51200; /14680064 = 0.
    EXPECT_EQ(DeviceProtocol::RunPercent(14680064, 14679552), 0);
    // 14 MiB, one sector left: 1467955200 / 14680064 = 99.99… → 99.
    EXPECT_EQ(DeviceProtocol::RunPercent(14680064, 512), 99);
}

TEST_F(ProtocolFixture, SettingsExchanges) {
    ASSERT_EQ(protocol.WriteSettings(LcdSettings{}), Outcome::Ok);
    EXPECT_EQ(line.Writes().back(), (Bytes{0xAA, 0x08, 0x96, 0xFF, 0x03, 0x05, 0x04, 0x01, 0xED}));
    module.settingsReply = {0xAA, 0x08, 0x97, 0x00, 0x01, 0x06, 0x09, 0x00, 0x05};
    LcdSettingsReply reply;
    ASSERT_EQ(protocol.ReadSettings(reply), Outcome::Ok);
    EXPECT_EQ(reply, (LcdSettingsReply{1, 6, 9, 0, 5}));
    module.settingsReply = {0, 0, 0, 0, 1};  // short
    EXPECT_EQ(protocol.ReadSettings(reply), Outcome::Failed);
}

TEST(LcdSettingsReply, OutOfRangeValuesAreNotTaken) {
    LcdSettingsRejects rejects;
    const LcdSettings taken = ApplySettingsReply(LcdSettings{}, {1, 6, 9, 0, 5}, &rejects);
    EXPECT_EQ(taken, (LcdSettings{1, 6, 9, 0, 5}));
    EXPECT_FALSE(rejects.Any());
    const LcdSettings partly = ApplySettingsReply(LcdSettings{}, {7, 7, 10, 6, 2}, &rejects);
    EXPECT_EQ(partly, (LcdSettings{7, 3, 5, 4, 2}));
    EXPECT_TRUE(rejects.baudIndex && rejects.backlight && rejects.foreground);
    EXPECT_FALSE(rejects.background);
}

}  // namespace
}  // namespace pictor::device
