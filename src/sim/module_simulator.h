#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "core/device/device_frames.h"
#include "core/device/lcd_settings.h"
#include "sim/flash_memory.h"

namespace pictor::sim {

/// The module's own settings: the same five values the tool's settings frames carry.
using ModuleSettings = device::LcdSettings;

/// Command codes of the request frames (and 0x92, the final answer to a written
/// sector, which fault options may name like a command): the tool's own table.
namespace command = device::command;

/// How the simulated module behaves, faults included.
struct SimulatorOptions {
    int kind = 1;  ///< flash kind reported by connect; kind 1 takes plain sectors, 2..5 with CRC
    std::chrono::milliseconds eraseDelay{0};    ///< before each erase reply
    std::chrono::milliseconds programDelay{0};  ///< before each written sector's final answer

    /// Commands that get no answer at all. 0x94 silences both answers of a
    /// sector write; 0x92 only the final one (after the data).
    std::set<std::uint8_t> noReply{};
    /// Commands whose answer is cut short: only the first byte is sent; a sector
    /// read sends all but the last data byte and nothing after. 0x94 shortens the
    /// answer to the write-sector frame, 0x92 the final answer after the data.
    std::set<std::uint8_t> shortReply{};
    /// Sent instead of 90 <kind> when set (e.g. 91 07 or 90 07).
    std::optional<std::vector<std::uint8_t>> connectReply{};
    /// The first N sectors written with a CRC are answered 92 00 and not programmed.
    int crcRejections = 0;
    /// Absolute flash sector (byte address / 512) whose first byte is sent
    /// inverted whenever it is read; the flash itself stays intact.
    std::optional<std::uint32_t> corruptReadbackSector{};
    /// Noise bytes sent just before the first answer of the session: they arrive
    /// after the request, so they end up inside the reply the tool collects.
    int noiseBytes = 0;
    /// Stray bytes sent right after every answer to connect, erase and the settings
    /// frames: they arrive before the tool's next request, which must discard them.
    int strayBytes = 0;
    /// After this many sectors were programmed, the module hangs up: it answers
    /// nothing more and the line goes away.
    std::optional<int> hangUpAfterSectors{};
};

/// A reply the module sends, after it has spent `delay` on the request.
struct ReplyChunk {
    std::chrono::milliseconds delay{0};
    std::vector<std::uint8_t> bytes;

    friend bool operator==(const ReplyChunk&, const ReplyChunk&) = default;
};

/// The LCD module's side of the serial protocol, without any I/O or clock: bytes
/// go in through `Feed`, the answers come out with the time the module takes
/// before each. Requests may arrive in any pieces; bytes that do not form a valid
/// frame are skipped until the next 0xAA that starts one.
///
/// Frames answered: connect AA 04 90 M1 M2 -> 90 <kind>; erase AA 03 91 BB ->
/// 91 01 (91 00 for a block outside the flash); write sector AA 08 94 S3..S0 LH LL
/// -> 94 01, then LH LL data bytes (plain for kind 1; for kinds 2..5 the last two
/// are the CRC-16 of the rest, low byte first), programmed, -> 92 01 (92 00 on a
/// CRC mismatch or a range outside the flash, nothing programmed); read sector
/// AA 08 95 S3..S0 LH LL -> LH LL flash bytes then 95 01; write settings
/// AA 08 96 AD BR BL FG BG ED -> 96 01; read settings AA 03 97 ED ->
/// AA 08 97 00 AD BR BL FG BG.
///
/// Not thread-safe: one thread feeds it and sends its answers.
class ModuleSimulator {
  public:
    ModuleSimulator(SimulatorOptions options, FlashMemory flash, ModuleSettings settings = {});

    /// Takes bytes from the line and returns the answers they complete, in order.
    std::vector<ReplyChunk> Feed(std::span<const std::uint8_t> bytes);

    /// Called with every complete request frame (not sector data), e.g. for a log.
    void SetFrameObserver(std::function<void(std::span<const std::uint8_t>)> observer) {
        frameObserver_ = std::move(observer);
    }

    /// True while the data of a sector write is still expected.
    [[nodiscard]] bool ReceivingSectorData() const { return receiving_.has_value(); }

    /// Gives up a sector write whose data stopped arriving; the module then waits
    /// for a new frame. Nothing is programmed and nothing answered.
    void AbandonSectorData();

    /// True once the module hung up (fault injection); it then ignores all input.
    [[nodiscard]] bool HungUp() const { return hungUp_; }

    [[nodiscard]] const FlashMemory& Flash() const { return flash_; }
    [[nodiscard]] const ModuleSettings& Settings() const { return settings_; }
    [[nodiscard]] int ProgrammedSectors() const { return programmedSectors_; }

  private:
    struct SectorTransfer {
        std::uint32_t sector = 0;
        std::size_t length = 0;
        std::vector<std::uint8_t> data;
    };

    bool TakeFrame(std::vector<ReplyChunk>& out);
    void HandleFrame(std::span<const std::uint8_t> frame, std::vector<ReplyChunk>& out);
    void FinishSector(std::vector<ReplyChunk>& out);
    void Reply(std::uint8_t code, std::vector<std::uint8_t> bytes, std::chrono::milliseconds delay,
               std::vector<ReplyChunk>& out);
    [[nodiscard]] bool CrcMode() const { return options_.kind != 1; }

    SimulatorOptions options_;
    FlashMemory flash_;
    ModuleSettings settings_;
    std::function<void(std::span<const std::uint8_t>)> frameObserver_;
    std::vector<std::uint8_t> pending_;
    std::optional<SectorTransfer> receiving_;
    int crcRejectionsLeft_ = 0;
    int programmedSectors_ = 0;
    bool answeredOnce_ = false;
    bool hungUp_ = false;
};

/// The noise pattern: `count` bytes that never look like the start of an answer
/// (no byte in 0x90..0x97). Deterministic.
std::vector<std::uint8_t> NoiseBytes(int count);

}  // namespace pictor::sim
