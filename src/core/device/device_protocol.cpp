#include "core/device/device_protocol.h"

#include <algorithm>

#include "core/common/text_format.h"
#include "core/common/translatable.h"
#include "core/device/crc16.h"
#include "core/device/line_timing.h"

namespace pictor::device {

namespace {

constexpr std::size_t kReplyBytes = 2;
constexpr std::size_t kSettingsReplyBytes = 9;
constexpr std::size_t kDrainPiece = 50;
constexpr int kMaxDrainTakes = 20000;

}  // namespace

DeviceProtocol::DeviceProtocol(SerialLine& line, Pauser& pauser, CancelToken cancel)
    : line_(line), pauser_(pauser), cancel_(std::move(cancel)) {}

int DeviceProtocol::RunPercent(std::uint64_t total, std::uint64_t remaining) {
    if (total == 0) {
        return 100;
    }
    return static_cast<int>((total * 100 - remaining * 100) / total);
}

std::chrono::milliseconds DeviceProtocol::TimeoutFor(std::size_t byteCount) const {
    return ReplyTimeout(byteCount, line_.BaudRate());
}

bool DeviceProtocol::Send(std::span<const std::uint8_t> bytes) {
    return line_.Write(bytes) == static_cast<int>(bytes.size());
}

bool DeviceProtocol::Receive(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) {
    if (line_.ReadExact(buffer, timeout)) {
        unansweredWait_ = std::chrono::milliseconds{0};
        return true;
    }
    // A line that went away answers nothing at once; only a real wait counts.
    unansweredWait_ = line_.LineLost() ? std::chrono::milliseconds{0} : timeout;
    return false;
}

Outcome DeviceProtocol::SingleExchange(std::span<const std::uint8_t> request,
                                       std::span<std::uint8_t> reply,
                                       std::chrono::milliseconds timeout) {
    if (Cancelled()) {
        return Outcome::Cancelled;
    }
    line_.PurgeInput();
    if (!Send(request)) {
        return Outcome::Failed;
    }
    pauser_.Pause(kExchangePause);
    return Receive(reply, timeout) ? Outcome::Ok : Outcome::Failed;
}

ConnectResult DeviceProtocol::ConnectDevice(DeviceState& state, bool withMagic) {
    ConnectResult result;
    if (Cancelled()) {
        result.outcome = Outcome::Cancelled;
        result.failure = ConnectFailure::Cancelled;
        return result;
    }
    const auto frame = ConnectFrame(withMagic);
    line_.PurgeInput();
    if (!Send(frame)) {
        result.failure = ConnectFailure::NotWritten;
        return result;
    }
    pauser_.Pause(kExchangePause);
    // The two reply bytes are collected one by one within the same 500 ms, so that
    // "no answer" and "an answer cut short" can be told apart.
    const auto deadline = std::chrono::steady_clock::now() + kConnectReplyTimeout;
    if (!Receive(std::span(result.reply).first(1), kConnectReplyTimeout)) {
        result.failure = ConnectFailure::NoReply;
        return result;
    }
    const auto left = std::max(std::chrono::milliseconds(0),
                               std::chrono::duration_cast<std::chrono::milliseconds>(
                                   deadline - std::chrono::steady_clock::now()));
    if (!Receive(std::span(result.reply).subspan(1, 1), left)) {
        result.failure = ConnectFailure::ShortReply;
        return result;
    }
    const auto kind =
        result.reply[0] == command::kConnect ? LookUpFlashKind(result.reply[1]) : std::nullopt;
    if (!kind) {
        ApplyFlashKind(state, kUnknownReplyKind);
        result.failure = ConnectFailure::UnknownKind;
        return result;
    }
    ApplyFlashKind(state, *kind);
    result.kind = kind;
    result.outcome = Outcome::Ok;
    result.failure = ConnectFailure::None;
    return result;
}

Outcome DeviceProtocol::EraseFlashBlock(std::uint32_t block) {
    if (block >= kAddressableBlocks) {
        return Outcome::Failed;
    }
    const auto frame = EraseBlockFrame(static_cast<std::uint8_t>(block));
    std::array<std::uint8_t, kReplyBytes> reply{};
    const Outcome outcome = SingleExchange(frame, reply, kEraseReplyTimeout);
    if (outcome != Outcome::Ok) {
        return outcome;
    }
    return reply[0] == command::kEraseBlock || reply[1] == 0x01 ? Outcome::Ok : Outcome::Failed;
}

Outcome DeviceProtocol::WriteOneSector(std::span<const std::uint8_t> chunk, std::uint32_t sector,
                                       bool withChecksum, std::array<std::uint8_t, 2>& answer) {
    if (Cancelled()) {
        return Outcome::Cancelled;
    }
    const auto length = static_cast<std::uint16_t>(chunk.size());
    const auto frame = WriteSectorFrame(sector, length, withChecksum);
    std::array<std::uint8_t, kReplyBytes> header{};
    if (!Send(frame) || !Receive(header, TimeoutFor(frame.size() + header.size()))) {
        return Outcome::Failed;
    }
    std::span<const std::uint8_t> data = chunk;
    if (withChecksum) {
        const std::uint16_t crc = Crc16(chunk);
        std::copy(chunk.begin(), chunk.end(), chunkBuffer_.begin());
        chunkBuffer_[chunk.size()] = static_cast<std::uint8_t>(crc & 0xFFU);
        chunkBuffer_[chunk.size() + 1] = static_cast<std::uint8_t>(crc >> 8);
        data = std::span<const std::uint8_t>(chunkBuffer_).first(chunk.size() + 2);
    }
    if (!Send(data)) {
        return Outcome::Failed;
    }
    pauser_.Pause(kSectorDataPause);
    return Receive(answer, TimeoutFor(data.size() + answer.size())) ? Outcome::Ok : Outcome::Failed;
}

Outcome DeviceProtocol::WriteImagePlain(std::span<const std::uint8_t> image,
                                        std::uint32_t startSector, ProgressSink& progress) {
    return WriteSectorRun(image, startSector, false, progress);
}

Outcome DeviceProtocol::WriteImageCrc(std::span<const std::uint8_t> image,
                                      std::uint32_t startSector, ProgressSink& progress) {
    return WriteSectorRun(image, startSector, true, progress);
}

Outcome DeviceProtocol::WriteAcknowledgedSector(std::span<const std::uint8_t> chunk,
                                                std::uint32_t sector) {
    for (int resends = 0;; ++resends) {
        std::array<std::uint8_t, kReplyBytes> answer{};
        const Outcome outcome = WriteOneSector(chunk, sector, true, answer);
        if (outcome != Outcome::Ok) {
            return outcome;
        }
        if (answer[0] == command::kSectorAck && answer[1] == 0x01) {
            return Outcome::Ok;
        }
        // Never count a chunk the module did not acknowledge as written.
        if (resends == kMaxResendsPerChunk) {
            return Outcome::Failed;
        }
        ++resendCount_;
    }
}

Outcome DeviceProtocol::WriteSectorRun(std::span<const std::uint8_t> image,
                                       std::uint32_t startSector, bool withChecksum,
                                       ProgressSink& progress) {
    // Plain runs start at "写数据0 %" and then show "写数据...n %"; checksum runs show
    // "写数据 n %" throughout.
    const std::string_view startText = withChecksum ? PICTOR_TRANSLATE_NOOP("Core", "写数据 %d %%")
                                                    : PICTOR_TRANSLATE_NOOP("Core", "写数据%d %%");
    const std::string_view runText = withChecksum ? PICTOR_TRANSLATE_NOOP("Core", "写数据 %d %%")
                                                  : PICTOR_TRANSLATE_NOOP("Core", "写数据...%d %%");
    const std::uint64_t total = image.size();
    progress.SetProgress(0);
    progress.SetStatus(FormatPercentText(startText, 0));
    line_.PurgeInput();
    std::uint64_t remaining = total;
    std::uint32_t sector = startSector;
    while (remaining > 0) {
        const std::size_t length = std::min<std::uint64_t>(kSectorBytes, remaining);
        const auto chunk = image.subspan(static_cast<std::size_t>(total - remaining), length);
        std::array<std::uint8_t, kReplyBytes> answer{};
        const Outcome outcome = withChecksum ? WriteAcknowledgedSector(chunk, sector)
                                             : WriteOneSector(chunk, sector, false, answer);
        if (outcome != Outcome::Ok) {
            return outcome;
        }
        ++sector;
        remaining -= length;
        const int percent = RunPercent(total, remaining);
        progress.SetProgress(percent);
        progress.SetStatus(FormatPercentText(runText, percent));
    }
    return Outcome::Ok;
}

Outcome DeviceProtocol::WriteSettings(const LcdSettings& settings) {
    const auto frame = WriteSettingsFrame(settings);
    std::array<std::uint8_t, kReplyBytes> reply{};
    return SingleExchange(frame, reply, TimeoutFor(frame.size() + reply.size()));
}

Outcome DeviceProtocol::ReadSettings(LcdSettingsReply& reply) {
    const auto frame = ReadSettingsFrame();
    std::array<std::uint8_t, kSettingsReplyBytes> bytes{};
    const Outcome outcome = SingleExchange(frame, bytes, TimeoutFor(frame.size() + bytes.size()));
    if (outcome == Outcome::Ok) {
        reply = LcdSettingsReply{bytes[4], bytes[5], bytes[6], bytes[7], bytes[8]};
    }
    return outcome;
}

void DeviceProtocol::DrainInput() {
    // Bounded, so a line that never falls silent cannot hold the job forever; the
    // purge that follows and the fixed-length replies deal with anything left.
    std::array<std::uint8_t, kDrainPiece> scratch{};
    for (int takes = 0; takes < kMaxDrainTakes && line_.ReadAvailable(scratch) > 0; ++takes) {
    }
}

void DeviceProtocol::PurgeInput() {
    line_.PurgeInput();
}

Outcome DeviceProtocol::ReadSector(std::uint32_t sector,
                                   std::span<std::uint8_t, kSectorBytes> data) {
    if (Cancelled()) {
        return Outcome::Cancelled;
    }
    const auto frame = ReadSectorFrame(sector, static_cast<std::uint16_t>(kSectorBytes));
    std::array<std::uint8_t, kReplyBytes> trailer{};
    const bool ok = Send(frame) && Receive(data, TimeoutFor(frame.size() + data.size())) &&
                    Receive(trailer, TimeoutFor(trailer.size()));
    return ok ? Outcome::Ok : Outcome::Failed;
}

}  // namespace pictor::device
