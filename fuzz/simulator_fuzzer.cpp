// The simulated module's request parser: any bytes from the line, with any fault
// options. Requests may arrive in pieces of any size, so the same bytes fed at
// once and fed in small pieces must give the same answers (with the same delays),
// the same flash and the same settings. Also asserts that the flash keeps its size.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "sim/flash_memory.h"
#include "sim/module_simulator.h"

namespace {

using pictor::fuzz::Require;
using namespace pictor::sim;

// Two erase blocks: big enough for addresses inside and outside the flash.
constexpr std::size_t kFlashBytes = 2 * kEraseBlockSize;

constexpr std::uint8_t kCodes[] = {
    command::kConnect,    command::kEraseBlock,    command::kSectorAck,   command::kWriteSector,
    command::kReadSector, command::kWriteSettings, command::kReadSettings};

SimulatorOptions OptionsFrom(FuzzedDataProvider& input) {
    SimulatorOptions options;
    options.kind = input.ConsumeIntegralInRange(0, 6);
    options.eraseDelay = std::chrono::milliseconds(input.ConsumeIntegralInRange(0, 3));
    options.programDelay = std::chrono::milliseconds(input.ConsumeIntegralInRange(0, 3));
    const auto silent = input.ConsumeIntegral<std::uint8_t>();
    const auto cut = input.ConsumeIntegral<std::uint8_t>();
    for (std::size_t i = 0; i < std::size(kCodes); ++i) {
        if ((silent >> i & 1U) != 0 && (silent & 0x80U) != 0) {
            options.noReply.insert(kCodes[i]);
        }
        if ((cut >> i & 1U) != 0 && (cut & 0x80U) != 0) {
            options.shortReply.insert(kCodes[i]);
        }
    }
    if (input.ConsumeBool()) {
        options.connectReply = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 3));
    }
    options.crcRejections = input.ConsumeIntegralInRange(0, 3);
    if (input.ConsumeBool()) {
        options.corruptReadbackSector = input.ConsumeIntegralInRange<std::uint32_t>(0, 600);
    }
    options.noiseBytes = input.ConsumeIntegralInRange(0, 8);
    options.strayBytes = input.ConsumeIntegralInRange(0, 8);
    if (input.ConsumeBool()) {
        options.hangUpAfterSectors = input.ConsumeIntegralInRange(0, 4);
    }
    return options;
}

std::vector<ReplyChunk> FeedInPieces(ModuleSimulator& module, std::span<const std::uint8_t> bytes) {
    std::vector<ReplyChunk> out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        // Piece sizes from 1 to 13 bytes, chosen by the bytes themselves.
        const std::size_t piece = std::min<std::size_t>(1 + bytes[at] % 13, bytes.size() - at);
        const auto chunks = module.Feed(bytes.subspan(at, piece));
        out.insert(out.end(), chunks.begin(), chunks.end());
        at += piece;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const SimulatorOptions options = OptionsFrom(input);
    const std::vector<std::uint8_t> line = input.ConsumeRemainingBytes<std::uint8_t>();

    ModuleSimulator whole(options, FlashMemory(kFlashBytes));
    ModuleSimulator pieces(options, FlashMemory(kFlashBytes));
    const std::vector<ReplyChunk> wholeAnswers = whole.Feed(line);
    const std::vector<ReplyChunk> pieceAnswers = FeedInPieces(pieces, line);

    Require(wholeAnswers == pieceAnswers, "answers do not depend on how the requests were cut");
    Require(whole.Flash().Capacity() == kFlashBytes, "the flash keeps its size");
    Require(std::equal(whole.Flash().Bytes().begin(), whole.Flash().Bytes().end(),
                       pieces.Flash().Bytes().begin(), pieces.Flash().Bytes().end()),
            "the flash does not depend on how the requests were cut");
    Require(whole.Settings() == pieces.Settings() &&
                whole.ProgrammedSectors() == pieces.ProgrammedSectors() &&
                whole.HungUp() == pieces.HungUp() &&
                whole.ReceivingSectorData() == pieces.ReceivingSectorData(),
            "the module's state does not depend on how the requests were cut");

    // A module that gave up a sector write takes a new request afterwards.
    if (pieces.ReceivingSectorData()) {
        pieces.AbandonSectorData();
        Require(!pieces.ReceivingSectorData(), "an abandoned sector write is over");
        const std::uint8_t readSettings[] = {0xAA, 0x03, command::kReadSettings, 0xED};
        const auto answers = pieces.Feed(readSettings);
        Require(
            pieces.HungUp() || options.noReply.contains(command::kReadSettings) || !answers.empty(),
            "after an abandoned sector write the next request is answered");
    }
    return 0;
}
