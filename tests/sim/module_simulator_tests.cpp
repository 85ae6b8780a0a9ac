#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "core/device/crc16.h"
#include "sim/module_simulator.h"

namespace pictor::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;

constexpr std::size_t kMiB = 1024 * 1024;

Bytes WriteSectorFrame(std::uint32_t sector, std::size_t length) {
    return {0xAA,
            0x08,
            0x94,
            static_cast<std::uint8_t>(sector >> 24),
            static_cast<std::uint8_t>(sector >> 16),
            static_cast<std::uint8_t>(sector >> 8),
            static_cast<std::uint8_t>(sector),
            static_cast<std::uint8_t>(length >> 8),
            static_cast<std::uint8_t>(length)};
}

Bytes ReadSectorFrame(std::uint32_t sector) {
    Bytes frame = WriteSectorFrame(sector, 512);
    frame[2] = 0x95;
    return frame;
}

Bytes WithCrc(Bytes data) {
    const std::uint16_t crc = device::Crc16(data);
    data.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    data.push_back(static_cast<std::uint8_t>(crc >> 8));
    return data;
}

Bytes Pattern(std::uint8_t start) {
    Bytes data(512);
    std::iota(data.begin(), data.end(), start);
    return data;
}

Bytes Joined(const std::vector<ReplyChunk>& replies) {
    Bytes all;
    for (const ReplyChunk& reply : replies) {
        all.insert(all.end(), reply.bytes.begin(), reply.bytes.end());
    }
    return all;
}

class SimulatorTest : public ::testing::Test {
  protected:
    ModuleSimulator Make(SimulatorOptions options) {
        const std::size_t capacity = FlashCapacityForKind(options.kind);
        return ModuleSimulator(std::move(options), FlashMemory(capacity));
    }

    // Feeds `bytes` in pieces of `piece` bytes and returns everything answered.
    static Bytes FeedInPieces(ModuleSimulator& sim, const Bytes& bytes, std::size_t piece) {
        Bytes all;
        for (std::size_t offset = 0; offset < bytes.size(); offset += piece) {
            const auto count = std::min(piece, bytes.size() - offset);
            const Bytes got = Joined(sim.Feed(std::span(bytes).subspan(offset, count)));
            all.insert(all.end(), got.begin(), got.end());
        }
        return all;
    }

    static Bytes FlashAt(const ModuleSimulator& sim, std::size_t offset, std::size_t count) {
        const auto bytes = sim.Flash().Bytes().subspan(offset, count);
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(SimulatorTest, ConnectReportsTheFlashKind) {
    for (int kind = 1; kind <= 5; ++kind) {
        ModuleSimulator sim = Make({.kind = kind});
        EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x04, 0x90, 0x55, 0xAA})),
                  (Bytes{0x90, static_cast<std::uint8_t>(kind)}));
        EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x04, 0x90, 0x00, 0x00})),
                  (Bytes{0x90, static_cast<std::uint8_t>(kind)}));
    }
}

TEST_F(SimulatorTest, CapacityFollowsTheKind) {
    EXPECT_EQ(FlashCapacityForKind(1), 8 * kMiB);
    EXPECT_EQ(FlashCapacityForKind(2), 8 * kMiB);
    EXPECT_EQ(FlashCapacityForKind(3), 16 * kMiB);
    EXPECT_EQ(FlashCapacityForKind(4), 32 * kMiB);
    EXPECT_EQ(FlashCapacityForKind(5), 2 * kMiB);
    EXPECT_EQ(FlashCapacityForKind(6), 0U);
}

TEST_F(SimulatorTest, PlainSectorWriteProgramsAndReadsBack) {
    ModuleSimulator sim = Make({.kind = 1, .programDelay = milliseconds(7)});
    const Bytes data = Pattern(3);
    const auto header = sim.Feed(WriteSectorFrame(4096, 512));
    ASSERT_EQ(header.size(), 1U);
    EXPECT_EQ(header[0].bytes, (Bytes{0x94, 0x01}));
    EXPECT_EQ(header[0].delay, milliseconds(0));

    // 16 pieces of 32 bytes, as older hosts send the data.
    std::vector<ReplyChunk> ack;
    for (std::size_t offset = 0; offset < 512; offset += 32) {
        ack = sim.Feed(std::span(data).subspan(offset, 32));
        if (offset + 32 < 512) {
            EXPECT_TRUE(ack.empty());
        }
    }
    ASSERT_EQ(ack.size(), 1U);
    EXPECT_EQ(ack[0].bytes, (Bytes{0x92, 0x01}));
    EXPECT_EQ(ack[0].delay, milliseconds(7));
    EXPECT_EQ(FlashAt(sim, 2 * kMiB, 512), data);
    EXPECT_EQ(FlashAt(sim, 2 * kMiB + 512, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));

    Bytes expected = data;
    expected.push_back(0x95);
    expected.push_back(0x01);
    EXPECT_EQ(Joined(sim.Feed(ReadSectorFrame(4096))), expected);
}

TEST_F(SimulatorTest, ProgrammingOnlyClearsBitsUntilTheBlockIsErased) {
    ModuleSimulator sim = Make({.kind = 1, .eraseDelay = milliseconds(30)});
    const Bytes first(512, 0x0F);
    const Bytes second(512, 0xF3);
    Bytes request = WriteSectorFrame(4096, 512);
    request.insert(request.end(), first.begin(), first.end());
    sim.Feed(request);
    request = WriteSectorFrame(4096, 512);
    request.insert(request.end(), second.begin(), second.end());
    EXPECT_EQ(Joined(sim.Feed(request)), (Bytes{0x94, 0x01, 0x92, 0x01}));
    EXPECT_EQ(FlashAt(sim, 2 * kMiB, 512), Bytes(512, 0x03));  // 0x0F AND 0xF3

    // Block 32 holds 2 MiB .. 2 MiB + 64 KiB.
    const auto erased = sim.Feed(Bytes{0xAA, 0x03, 0x91, 0x20});
    ASSERT_EQ(erased.size(), 1U);
    EXPECT_EQ(erased[0].bytes, (Bytes{0x91, 0x01}));
    EXPECT_EQ(erased[0].delay, milliseconds(30));
    EXPECT_EQ(FlashAt(sim, 2 * kMiB, 512), Bytes(512, 0xFF));
    sim.Feed(request);
    EXPECT_EQ(FlashAt(sim, 2 * kMiB, 512), second);
}

TEST_F(SimulatorTest, EraseOutsideTheFlashChangesNothing) {
    ModuleSimulator sim = Make({.kind = 5});  // 2 MiB: blocks 0..31
    EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x03, 0x91, 0x1F})), (Bytes{0x91, 0x01}));
    EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x03, 0x91, 0x20})), (Bytes{0x91, 0x00}));
}

TEST_F(SimulatorTest, CrcSectorIsProgrammedOnlyWhenTheChecksumMatches) {
    ModuleSimulator sim = Make({.kind = 2});
    const Bytes good = WithCrc(Pattern(0x40));
    Bytes bad = good;
    bad[100] ^= 0x01;

    Bytes request = WriteSectorFrame(4096, 514);
    request.insert(request.end(), bad.begin(), bad.end());
    EXPECT_EQ(Joined(sim.Feed(request)), (Bytes{0x94, 0x01, 0x92, 0x00}));
    EXPECT_EQ(FlashAt(sim, 2 * kMiB, 512), Bytes(512, 0xFF));

    request = WriteSectorFrame(4096, 514);
    request.insert(request.end(), good.begin(), good.end());
    EXPECT_EQ(FeedInPieces(sim, request, 7), (Bytes{0x94, 0x01, 0x92, 0x01}));
    EXPECT_EQ(FlashAt(sim, 2 * kMiB, 512), Pattern(0x40));
    EXPECT_EQ(sim.ProgrammedSectors(), 1);
}

TEST_F(SimulatorTest, SettingsAreStoredAndReadBack) {
    ModuleSimulator sim = Make({});
    EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x03, 0x97, 0xED})),
              (Bytes{0xAA, 0x08, 0x97, 0x00, 0xFF, 0x03, 0x05, 0x04, 0x01}));
    EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x08, 0x96, 0x01, 0x06, 0x09, 0x00, 0x05, 0xED})),
              (Bytes{0x96, 0x01}));
    EXPECT_EQ(sim.Settings(), (ModuleSettings{1, 6, 9, 0, 5}));
    EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x03, 0x97, 0xED})),
              (Bytes{0xAA, 0x08, 0x97, 0x00, 0x01, 0x06, 0x09, 0x00, 0x05}));
}

TEST_F(SimulatorTest, ResynchronisesAfterGarbageAndSplitFrames) {
    ModuleSimulator sim = Make({.kind = 3});
    const Bytes stream = {
        0x00, 0x13, 0xAA, 0x55,                       // junk, and a 0xAA that starts nothing
        0xAA, 0x08, 0xAA,                             // a length with an unknown command
        0xAA, 0x04, 0x90, 0x55, 0xAA,                 // connect
        0xAA, 0x08, 0x96, 1,    2,    3, 4, 5, 0x00,  // settings frame without its end byte
        0xAA, 0x03, 0x97, 0xED,                       // read settings
    };
    const Bytes expected = {0x90, 0x03, 0xAA, 0x08, 0x97, 0x00, 0xFF, 0x03, 0x05, 0x04, 0x01};
    EXPECT_EQ(FeedInPieces(sim, stream, stream.size()), expected);
    ModuleSimulator byteWise = Make({.kind = 3});
    EXPECT_EQ(FeedInPieces(byteWise, stream, 1), expected);
    EXPECT_EQ(byteWise.Settings(), ModuleSettings{});
}

TEST_F(SimulatorTest, FrameObserverSeesRequestFramesOnly) {
    ModuleSimulator sim = Make({.kind = 1});
    std::vector<Bytes> frames;
    sim.SetFrameObserver(
        [&](std::span<const std::uint8_t> f) { frames.emplace_back(f.begin(), f.end()); });
    Bytes request = {0x01, 0xAA, 0x04, 0x90, 0x55, 0xAA};
    const Bytes write = WriteSectorFrame(4096, 512);
    request.insert(request.end(), write.begin(), write.end());
    request.resize(request.size() + 512, 0xAA);  // data bytes that look like frame starts
    sim.Feed(request);
    ASSERT_EQ(frames.size(), 2U);
    EXPECT_EQ(frames[0], (Bytes{0xAA, 0x04, 0x90, 0x55, 0xAA}));
    EXPECT_EQ(frames[1], write);
}

TEST_F(SimulatorTest, AbandonedSectorDataLetsTheNextFrameThrough) {
    ModuleSimulator sim = Make({.kind = 1});
    sim.Feed(WriteSectorFrame(4096, 512));
    sim.Feed(Bytes(100, 0x00));
    EXPECT_TRUE(sim.ReceivingSectorData());
    sim.AbandonSectorData();
    EXPECT_FALSE(sim.ReceivingSectorData());
    EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x04, 0x90, 0x00, 0x00})), (Bytes{0x90, 0x01}));
    EXPECT_EQ(FlashAt(sim, 2 * kMiB, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

// Each fault option, with the answers to one request sequence.
TEST_F(SimulatorTest, InjectedFaults) {
    const Bytes connect = {0xAA, 0x04, 0x90, 0x55, 0xAA};
    const Bytes erase = {0xAA, 0x03, 0x91, 0x20};
    Bytes writeSector = WriteSectorFrame(4096, 512);
    const Bytes data = Pattern(1);
    writeSector.insert(writeSector.end(), data.begin(), data.end());

    struct Case {
        const char* name;
        SimulatorOptions options;
        Bytes request;
        Bytes expected;
    };
    Bytes readBack = data;
    readBack.push_back(0x95);
    readBack.push_back(0x01);
    Bytes shortRead(data.begin(), data.end() - 1);

    const std::vector<Case> cases = {
        {"no reply to connect", {.noReply = {0x90}}, connect, {}},
        {"no reply to erase", {.noReply = {0x91}}, erase, {}},
        {"no reply to a sector write", {.noReply = {0x94}}, writeSector, {}},
        {"no final answer", {.noReply = {0x92}}, writeSector, {0x94, 0x01}},
        {"short connect", {.shortReply = {0x90}}, connect, {0x90}},
        {"short sector header", {.shortReply = {0x94}}, writeSector, {0x94, 0x92, 0x01}},
        {"short final answer", {.shortReply = {0x92}}, writeSector, {0x94, 0x01, 0x92}},
        {"wrong connect kind", {.connectReply = Bytes{0x90, 0x07}}, connect, {0x90, 0x07}},
        {"wrong connect code", {.connectReply = Bytes{0x91, 0x01}}, connect, {0x91, 0x01}},
        {"noise",
         {.noiseBytes = 3},
         connect,
         Bytes{NoiseBytes(3)[0], NoiseBytes(3)[1], NoiseBytes(3)[2], 0x90, 0x01}},
        {"stray after erase",
         {.strayBytes = 2},
         erase,
         {0x91, 0x01, NoiseBytes(2)[0], NoiseBytes(2)[1]}},
        {"no stray after sector answers", {.strayBytes = 2}, writeSector, {0x94, 0x01, 0x92, 0x01}},
        {"hang-up at once", {.hangUpAfterSectors = 0}, writeSector, {}},
    };
    for (const Case& c : cases) {
        ModuleSimulator sim = Make(c.options);
        EXPECT_EQ(Joined(sim.Feed(c.request)), c.expected) << c.name;
    }

    // Read-back faults need a written sector first.
    ModuleSimulator shortReader = Make({.shortReply = {0x95}});
    shortReader.Feed(writeSector);
    EXPECT_EQ(Joined(shortReader.Feed(ReadSectorFrame(4096))), shortRead);

    ModuleSimulator corrupting = Make({.corruptReadbackSector = 4097});
    corrupting.Feed(writeSector);
    EXPECT_EQ(Joined(corrupting.Feed(ReadSectorFrame(4096))), readBack);
    Bytes next = writeSector;
    next[6] = 0x01;  // sector 4097
    corrupting.Feed(next);
    Bytes corrupted = readBack;
    corrupted[0] = static_cast<std::uint8_t>(~corrupted[0]);
    EXPECT_EQ(Joined(corrupting.Feed(ReadSectorFrame(4097))), corrupted);
    EXPECT_EQ(FlashAt(corrupting, 2 * kMiB + 512, 512), data);  // the flash itself is intact
}

TEST_F(SimulatorTest, NoiseComesOnlyBeforeTheFirstAnswer) {
    ModuleSimulator sim = Make({.noiseBytes = 4});
    EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x04, 0x90, 0x55, 0xAA})).size(), 6U);
    EXPECT_EQ(Joined(sim.Feed(Bytes{0xAA, 0x04, 0x90, 0x55, 0xAA})), (Bytes{0x90, 0x01}));
    for (const std::uint8_t b : NoiseBytes(1000)) {
        ASSERT_TRUE(b < 0x90 || b > 0x97);
    }
}

TEST_F(SimulatorTest, CrcRejectionsComeFirstThenSectorsAreAccepted) {
    ModuleSimulator sim = Make({.kind = 5, .crcRejections = 2});
    Bytes request = WriteSectorFrame(2048, 514);
    const Bytes chunk = WithCrc(Pattern(9));
    request.insert(request.end(), chunk.begin(), chunk.end());
    EXPECT_EQ(Joined(sim.Feed(request)), (Bytes{0x94, 0x01, 0x92, 0x00}));
    EXPECT_EQ(Joined(sim.Feed(request)), (Bytes{0x94, 0x01, 0x92, 0x00}));
    EXPECT_EQ(FlashAt(sim, kMiB, 2), (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(Joined(sim.Feed(request)), (Bytes{0x94, 0x01, 0x92, 0x01}));
    EXPECT_EQ(FlashAt(sim, kMiB, 512), Pattern(9));
}

TEST_F(SimulatorTest, HangsUpAfterTheGivenNumberOfSectors) {
    ModuleSimulator sim = Make({.kind = 1, .hangUpAfterSectors = 2});
    for (std::uint32_t sector = 4096; sector < 4098; ++sector) {
        Bytes request = WriteSectorFrame(sector, 512);
        request.resize(request.size() + 512, 0x11);
        EXPECT_EQ(Joined(sim.Feed(request)), (Bytes{0x94, 0x01, 0x92, 0x01}));
    }
    EXPECT_FALSE(sim.HungUp());
    EXPECT_TRUE(sim.Feed(WriteSectorFrame(4098, 512)).empty());
    EXPECT_TRUE(sim.HungUp());
    EXPECT_TRUE(sim.Feed(Bytes{0xAA, 0x04, 0x90, 0x55, 0xAA}).empty());
}

}  // namespace
}  // namespace pictor::sim
