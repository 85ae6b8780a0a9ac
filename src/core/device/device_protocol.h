#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

#include "core/common/progress.h"
#include "core/device/device_frames.h"
#include "core/device/device_state.h"
#include "core/device/lcd_settings.h"
#include "core/device/serial_line.h"

namespace pictor::device {

/// How a protocol step ended. `Cancelled` means the cancel token was set when the
/// step reached an exchange boundary; nothing was sent after that.
enum class Outcome { Ok, Failed, Cancelled };

/// Why a connect failed, for callers that explain it (the messages stay theirs).
enum class ConnectFailure {
    None,
    NotWritten,   // the request frame did not go out whole (closed or stuck line)
    NoReply,      // not a single byte came back
    ShortReply,   // one byte came back
    UnknownKind,  // two bytes, but not 0x90 followed by a known flash kind
    Cancelled,
};

struct ConnectResult {
    Outcome outcome = Outcome::Failed;
    ConnectFailure failure = ConnectFailure::NotWritten;
    std::array<std::uint8_t, 2> reply{};  // valid for UnknownKind and success
    std::optional<FlashKind> kind;        // set on success
    /// True when the reply was applied to the state (success or a wrong reply).
    [[nodiscard]] bool StateApplied() const {
        return failure == ConnectFailure::None || failure == ConnectFailure::UnknownKind;
    }
};

/// The host side of the module protocol over one `SerialLine`: every exchange,
/// its pauses and time-outs, and the two sector-write runs.
///
/// Exchanges: a single exchange (connect, erase, settings) discards pending input,
/// writes the whole frame, pauses 100 ms and then waits for the fixed-length
/// reply: 500 ms for the connect reply, 5 s for an erase reply, and otherwise 2 s
/// plus twice the line time of the bytes that must cross the line before the reply
/// is complete (a write may return while the driver is still sending). A missing
/// reply fails its step. Every step first checks the cancel token.
///
/// This is the newest host generation: every sector's data (and its checksum)
/// goes out in one write.
///
/// Not thread-safe: one thread drives one protocol object, and nothing else may
/// use the line meanwhile (`DeviceLink` sees to that).
class DeviceProtocol {
  public:
    static constexpr std::chrono::milliseconds kExchangePause{100};
    static constexpr std::chrono::milliseconds kSectorDataPause{10};
    /// A mode-2 chunk not acknowledged with 92 01 is sent again at most this many
    /// times; the count starts anew for every chunk.
    static constexpr int kMaxResendsPerChunk = 5;
    /// Erase frames address blocks 0..255 only.
    static constexpr std::uint32_t kAddressableBlocks = 256;

    DeviceProtocol(SerialLine& line, Pauser& pauser, CancelToken cancel = {});

    /// The connect exchange (AA 04 90 with 55 AA or 00 00, 2-byte reply). A reply
    /// 90 <kind 1..5> applies that flash kind to `state` and succeeds; any other
    /// two bytes set mode 1, start 4096, size code 8 and entry "64Mbit" and fail;
    /// a frame not written or fewer than 2 bytes leave `state` unchanged and fail.
    ConnectResult ConnectDevice(DeviceState& state, bool withMagic);

    /// Erases 64 KiB block `block`. Succeeds when the reply's byte 0 is 0x91 or its
    /// byte 1 is 0x01. Blocks from 256 on cannot be addressed and fail without
    /// anything being sent (the low byte would name another block).
    Outcome EraseFlashBlock(std::uint32_t block);

    /// Mode-1 run: writes `image` (whole 512-byte sectors) from `startSector` on,
    /// plain. Progress: 0 and "写数据%d %%" with 0, then after each sector the
    /// percentage and "写数据...%d %%". An empty image succeeds without a frame.
    Outcome WriteImagePlain(std::span<const std::uint8_t> image, std::uint32_t startSector,
                            ProgressSink& progress);

    /// Mode-2 run: every sector goes out with its CRC-16 (low byte first) and must
    /// be acknowledged with 92 01; a chunk answered otherwise is sent again, up to
    /// `kMaxResendsPerChunk` times, and then fails the run. Progress: 0 and
    /// "写数据 %d %%" with 0, then the same text after each acknowledged sector.
    Outcome WriteImageCrc(std::span<const std::uint8_t> image, std::uint32_t startSector,
                          ProgressSink& progress);

    /// Settings write exchange (AA 08 96 … ED, 2-byte reply whose content is not
    /// examined). Ok when the frame went out whole and 2 bytes came back.
    Outcome WriteSettings(const LcdSettings& settings);

    /// Settings read exchange (AA 03 97 ED, 9-byte reply; bytes 4..8 are taken).
    Outcome ReadSettings(LcdSettingsReply& reply);

    /// Read-back pieces: discards whatever is waiting on the line, 50 bytes at a
    /// time, until nothing is left.
    void DrainInput();
    void PurgeInput();
    /// Sends AA 08 95 for one sector and collects its 512 data bytes and the 2
    /// trailing bytes (not examined).
    Outcome ReadSector(std::uint32_t sector, std::span<std::uint8_t, kSectorBytes> data);

    /// Mode-2 resends in the protocol object's life (for summaries).
    [[nodiscard]] int ResendCount() const { return resendCount_; }
    /// The time-out of the latest awaited reply when it did not come on a live line,
    /// zero when it came: a failure can say how long the module was silent.
    [[nodiscard]] std::chrono::milliseconds UnansweredWait() const { return unansweredWait_; }
    /// True when the line reports that its device went away (see `SerialLine`).
    [[nodiscard]] bool LineLost() const { return line_.LineLost(); }

    /// Percentage of a run: (total*100 - remaining*100) / total. Computed in 64
    /// bits; for every image size the capacity check accepts (at most 14 MiB) the
    /// products stay below 2^32, so it equals the 32-bit arithmetic of old.
    static int RunPercent(std::uint64_t total, std::uint64_t remaining);

  private:
    bool Cancelled() const { return cancel_.IsCancelled(); }
    bool Send(std::span<const std::uint8_t> bytes);
    // Reads a reply; a missing one on a live line records its wait.
    bool Receive(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout);
    Outcome SingleExchange(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                           std::chrono::milliseconds timeout);
    std::chrono::milliseconds TimeoutFor(std::size_t byteCount) const;
    Outcome WriteSectorRun(std::span<const std::uint8_t> image, std::uint32_t startSector,
                           bool withChecksum, ProgressSink& progress);
    // One checksum sector, resent until the module acknowledges it with 92 01.
    Outcome WriteAcknowledgedSector(std::span<const std::uint8_t> chunk, std::uint32_t sector);
    Outcome WriteOneSector(std::span<const std::uint8_t> chunk, std::uint32_t sector,
                           bool withChecksum, std::array<std::uint8_t, 2>& answer);

    SerialLine& line_;
    Pauser& pauser_;
    CancelToken cancel_;
    int resendCount_ = 0;
    std::chrono::milliseconds unansweredWait_{0};
    std::array<std::uint8_t, kSectorBytes + 2> chunkBuffer_{};
};

}  // namespace pictor::device
