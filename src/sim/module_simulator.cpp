#include "sim/module_simulator.h"

#include <algorithm>
#include <utility>

#include "core/device/crc16.h"

namespace pictor::sim {

namespace {

constexpr std::uint8_t kStartByte = device::kFrameStart;
constexpr std::uint8_t kEndByte = device::kFrameEnd;
constexpr std::size_t kSectorSize = device::kSectorBytes;

// The length byte each command's frame carries (bytes after 0xAA); 0 = unknown.
std::size_t FrameLengthOf(std::uint8_t code) {
    switch (code) {
        case command::kConnect:
            return 4;
        case command::kEraseBlock:
        case command::kReadSettings:
            return 3;
        case command::kWriteSector:
        case command::kReadSector:
        case command::kWriteSettings:
            return 8;
        default:
            return 0;
    }
}

std::uint32_t SectorOf(std::span<const std::uint8_t> frame) {
    return (std::uint32_t{frame[3]} << 24) | (std::uint32_t{frame[4]} << 16) |
           (std::uint32_t{frame[5]} << 8) | std::uint32_t{frame[6]};
}

std::size_t LengthOf(std::span<const std::uint8_t> frame) {
    return (std::size_t{frame[7]} << 8) | std::size_t{frame[8]};
}

bool EndsExchangeWithPurge(std::uint8_t code) {
    return code == command::kConnect || code == command::kEraseBlock ||
           code == command::kWriteSettings || code == command::kReadSettings;
}

}  // namespace

std::vector<std::uint8_t> NoiseBytes(int count) {
    std::vector<std::uint8_t> noise;
    noise.reserve(static_cast<std::size_t>(std::max(count, 0)));
    std::uint32_t state = 0x2545F491U;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245U + 12345U;
        auto byte = static_cast<std::uint8_t>(state >> 16);
        if (byte >= 0x90 && byte <= 0x97) {
            byte ^= 0x40;  // never a plausible first byte of an answer
        }
        noise.push_back(byte);
    }
    return noise;
}

ModuleSimulator::ModuleSimulator(SimulatorOptions options, FlashMemory flash,
                                 ModuleSettings settings)
    : options_(std::move(options)),
      flash_(std::move(flash)),
      settings_(settings),
      crcRejectionsLeft_(options_.crcRejections) {}

std::vector<ReplyChunk> ModuleSimulator::Feed(std::span<const std::uint8_t> bytes) {
    std::vector<ReplyChunk> out;
    if (hungUp_) {
        return out;
    }
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    for (;;) {
        if (hungUp_) {
            pending_.clear();
            break;
        }
        if (receiving_) {
            const std::size_t need = receiving_->length - receiving_->data.size();
            const std::size_t take = std::min(need, pending_.size());
            receiving_->data.insert(receiving_->data.end(), pending_.begin(),
                                    pending_.begin() + static_cast<std::ptrdiff_t>(take));
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(take));
            if (receiving_->data.size() < receiving_->length) {
                break;
            }
            FinishSector(out);
            continue;
        }
        if (!TakeFrame(out)) {
            break;
        }
    }
    return out;
}

void ModuleSimulator::AbandonSectorData() {
    receiving_.reset();
}

// Takes one frame (or skips one byte of garbage) from the front of the pending
// bytes. False when more bytes are needed to decide.
bool ModuleSimulator::TakeFrame(std::vector<ReplyChunk>& out) {
    const auto start = std::find(pending_.begin(), pending_.end(), kStartByte);
    pending_.erase(pending_.begin(), start);
    if (pending_.size() < 3) {
        return false;
    }
    const std::size_t length = pending_[1];
    const std::uint8_t code = pending_[2];
    const std::size_t expected = FrameLengthOf(code);
    if (expected == 0 || length != expected) {
        pending_.erase(pending_.begin());  // not a frame start; look for the next 0xAA
        return true;
    }
    if (pending_.size() < 1 + length) {
        return false;
    }
    const bool needsEndByte = code == command::kWriteSettings || code == command::kReadSettings;
    if (needsEndByte && pending_[length] != kEndByte) {
        pending_.erase(pending_.begin());
        return true;
    }
    const std::vector<std::uint8_t> frame(
        pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(1 + length));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(1 + length));
    if (frameObserver_) {
        frameObserver_(frame);
    }
    HandleFrame(frame, out);
    return true;
}

void ModuleSimulator::HandleFrame(std::span<const std::uint8_t> frame,
                                  std::vector<ReplyChunk>& out) {
    const std::uint8_t code = frame[2];
    switch (code) {
        case command::kConnect: {
            std::vector<std::uint8_t> reply =
                options_.connectReply.value_or(std::vector<std::uint8_t>{
                    command::kConnect, static_cast<std::uint8_t>(options_.kind)});
            Reply(code, std::move(reply), {}, out);
            break;
        }
        case command::kEraseBlock: {
            const bool erased = flash_.EraseBlock(frame[3]);
            Reply(code, {command::kEraseBlock, static_cast<std::uint8_t>(erased ? 0x01 : 0x00)},
                  options_.eraseDelay, out);
            break;
        }
        case command::kWriteSector: {
            if (options_.hangUpAfterSectors && programmedSectors_ >= *options_.hangUpAfterSectors) {
                hungUp_ = true;
                return;
            }
            receiving_ = SectorTransfer{SectorOf(frame), LengthOf(frame), {}};
            receiving_->data.reserve(receiving_->length);
            Reply(code, {command::kWriteSector, 0x01}, {}, out);
            if (receiving_->length == 0) {
                FinishSector(out);
            }
            break;
        }
        case command::kReadSector: {
            const std::uint32_t sector = SectorOf(frame);
            const std::size_t length = LengthOf(frame);
            std::vector<std::uint8_t> reply(length);
            flash_.Read(std::size_t{sector} * kSectorSize, reply);
            if (const auto bad = options_.corruptReadbackSector; bad && *bad >= sector) {
                const std::size_t offset = std::size_t{*bad - sector} * kSectorSize;
                if (offset < reply.size()) {
                    reply[offset] = static_cast<std::uint8_t>(~reply[offset]);
                }
            }
            reply.push_back(command::kReadSector);
            reply.push_back(0x01);
            Reply(code, std::move(reply), {}, out);
            break;
        }
        case command::kWriteSettings:
            settings_ = {frame[3], frame[4], frame[5], frame[6], frame[7]};
            Reply(code, {command::kWriteSettings, 0x01}, {}, out);
            break;
        case command::kReadSettings:
            Reply(code,
                  {kStartByte, 0x08, command::kReadSettings, 0x00, settings_.address,
                   settings_.baudIndex, settings_.backlight, settings_.foreground,
                   settings_.background},
                  {}, out);
            break;
        default:
            break;
    }
}

void ModuleSimulator::FinishSector(std::vector<ReplyChunk>& out) {
    const SectorTransfer transfer = std::move(*receiving_);
    receiving_.reset();
    const std::size_t offset = std::size_t{transfer.sector} * kSectorSize;
    std::span<const std::uint8_t> data = transfer.data;
    bool programmed = false;
    if (!CrcMode()) {
        programmed = flash_.Program(offset, data);
    } else if (crcRejectionsLeft_ > 0) {
        --crcRejectionsLeft_;
    } else if (data.size() >= 2) {
        const std::span<const std::uint8_t> payload = data.first(data.size() - 2);
        const auto sent =
            static_cast<std::uint16_t>(data[data.size() - 2] | (data[data.size() - 1] << 8));
        programmed = device::Crc16(payload) == sent && flash_.Program(offset, payload);
    }
    if (programmed) {
        ++programmedSectors_;
    }
    Reply(command::kSectorAck, {command::kSectorAck, static_cast<std::uint8_t>(programmed ? 1 : 0)},
          options_.programDelay, out);
}

void ModuleSimulator::Reply(std::uint8_t code, std::vector<std::uint8_t> bytes,
                            std::chrono::milliseconds delay, std::vector<ReplyChunk>& out) {
    const bool silenced =
        options_.noReply.contains(code) ||
        (code == command::kSectorAck && options_.noReply.contains(command::kWriteSector));
    if (silenced) {
        return;
    }
    if (options_.shortReply.contains(code)) {
        // A sector read loses its last data byte and the two bytes after it.
        const bool sectorData = code == command::kReadSector && bytes.size() > 2;
        bytes.resize(sectorData ? bytes.size() - 3 : std::min<std::size_t>(bytes.size(), 1));
    }
    if (!answeredOnce_ && options_.noiseBytes > 0) {
        std::vector<std::uint8_t> noisy = NoiseBytes(options_.noiseBytes);
        noisy.insert(noisy.end(), bytes.begin(), bytes.end());
        bytes = std::move(noisy);
    }
    answeredOnce_ = true;
    if (options_.strayBytes > 0 && EndsExchangeWithPurge(code)) {
        const std::vector<std::uint8_t> stray = NoiseBytes(options_.strayBytes);
        bytes.insert(bytes.end(), stray.begin(), stray.end());
    }
    out.push_back({delay, std::move(bytes)});
}

}  // namespace pictor::sim
