#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "core/common/message.h"
#include "core/common/progress.h"
#include "core/device/serial_line.h"

namespace pictor {
inline void PrintTo(const Message& message, std::ostream* os) {
    *os << '{' << message.text << " | " << message.caption << " | "
        << static_cast<int>(message.icon) << '}';
}
}  // namespace pictor

namespace pictor::device::test {

using Bytes = std::vector<std::uint8_t>;

/// One thing that happened on the fake line, in order.
struct LineEvent {
    enum class Kind { Purge, Write, Read, Pause };
    Kind kind;
    Bytes bytes;                        // Write: what was written; Read: what was taken
    std::size_t count = 0;              // Read: bytes asked for
    std::chrono::milliseconds time{0};  // Read: time-out; Pause: duration
    bool ok = true;                     // Read: all bytes there
};

/// A line whose answers come from a script: every write is handed to `respond`,
/// whose bytes become readable at once. Reads never wait: what is not queued is
/// missing. Pauses are recorded, not slept.
class ScriptedLine final : public SerialLine, public Pauser {
  public:
    std::function<Bytes(std::span<const std::uint8_t>)> respond;
    std::vector<LineEvent> events;
    std::deque<std::uint8_t> input;
    int baud = 256000;
    bool open = true;

    [[nodiscard]] bool IsOpen() const override { return open; }
    [[nodiscard]] int BaudRate() const override { return open ? baud : 0; }
    int Write(std::span<const std::uint8_t> data) override {
        if (!open) {
            return 0;
        }
        events.push_back({LineEvent::Kind::Write, Bytes(data.begin(), data.end())});
        if (respond) {
            const Bytes reply = respond(data);
            input.insert(input.end(), reply.begin(), reply.end());
        }
        return static_cast<int>(data.size());
    }
    int ReadAvailable(std::span<std::uint8_t> buffer) override {
        const std::size_t n = std::min(buffer.size(), input.size());
        std::copy_n(input.begin(), n, buffer.begin());
        input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(n));
        return static_cast<int>(n);
    }
    bool ReadExact(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override {
        const std::size_t n = std::min(buffer.size(), input.size());
        std::copy_n(input.begin(), n, buffer.begin());
        input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(n));
        events.push_back({LineEvent::Kind::Read, Bytes(buffer.begin(), buffer.begin() + n),
                          buffer.size(), timeout, n == buffer.size()});
        return n == buffer.size();
    }
    bool PurgeInput() override {
        input.clear();
        events.push_back({LineEvent::Kind::Purge, {}});
        return true;
    }
    void Pause(std::chrono::milliseconds duration) override {
        events.push_back({LineEvent::Kind::Pause, {}, 0, duration});
    }

    /// The frames written, in order.
    [[nodiscard]] std::vector<Bytes> Writes() const {
        std::vector<Bytes> out;
        for (const auto& e : events) {
            if (e.kind == LineEvent::Kind::Write) {
                out.push_back(e.bytes);
            }
        }
        return out;
    }
};

/// A scripted module behind a `ScriptedLine`: keeps a sparse flash of sectors and
/// answers every request the way the protocol describes, with knobs for faults.
class FakeModule {
  public:
    std::uint8_t kind = 1;
    Bytes connectReply;  // empty: 90 <kind>
    Bytes eraseReply{0x91, 0x01};
    std::deque<Bytes> sectorAcks;  // mode-2 answers to use first; then 92 01
    Bytes settingsReply{0, 0, 0, 0, 255, 3, 5, 4, 1};
    Bytes strayBeforeReadBack;             // queued after the last sector write's answer
    int silenceAfterWrites = -1;           // stop answering after this many writes
    std::map<std::uint32_t, Bytes> flash;  // sector → 512 bytes
    std::vector<std::uint32_t> erasedBlocks;
    std::function<void()> onWrite;         // called on every write (e.g. to cancel)
    Bytes settingsWriteReply{0x96, 0x01};  // empty: the settings write is never answered
    int checksumErrors = 0;                // mode-2 sectors whose CRC did not match
    bool silentReads = false;              // sector reads are never answered

    /// CRC-16/XMODEM worked out bit by bit, as the module's firmware checks it
    /// (independent of the host's table-driven code).
    static std::uint16_t ModuleCrc(std::span<const std::uint8_t> data) {
        std::uint16_t crc = 0;
        for (const std::uint8_t byte : data) {
            crc = static_cast<std::uint16_t>(crc ^ (byte << 8U));
            for (int bit = 0; bit < 8; ++bit) {
                crc = static_cast<std::uint16_t>((crc & 0x8000U) != 0 ? (crc << 1U) ^ 0x1021U
                                                                      : crc << 1U);
            }
        }
        return crc;
    }

    /// Puts `image` into the flash from `startSector` on, as a download would have.
    void Hold(const Bytes& image, std::uint32_t startSector) {
        for (std::size_t offset = 0; offset < image.size(); offset += 512) {
            Bytes sector(512, 0);
            std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(offset),
                        std::min<std::size_t>(512, image.size() - offset), sector.begin());
            flash[startSector + static_cast<std::uint32_t>(offset / 512)] = sector;
        }
    }

    /// `bytes` bytes of the flash from `sector` on (erased sectors read 0xFF).
    [[nodiscard]] Bytes Read(std::uint32_t sector, std::size_t bytes) const {
        Bytes out;
        for (std::uint32_t s = sector; out.size() < bytes; ++s) {
            const auto it = flash.find(s);
            const Bytes data = it == flash.end() ? Bytes(512, 0xFF) : it->second;
            out.insert(out.end(), data.begin(), data.end());
        }
        out.resize(bytes);
        return out;
    }

    void Attach(ScriptedLine& line) {
        line.respond = [this](std::span<const std::uint8_t> data) { return Answer(data); };
    }

  private:
    Bytes Answer(std::span<const std::uint8_t> data) {
        if (onWrite) {
            onWrite();
        }
        if (silenceAfterWrites >= 0 && writes_++ >= silenceAfterWrites) {
            return {};
        }
        if (pendingDataSector_ >= 0) {
            const auto sector = static_cast<std::uint32_t>(pendingDataSector_);
            pendingDataSector_ = -1;
            Bytes reply{0x92, 0x01};
            if (withCrc_ && !ChecksumMatches(data)) {
                // A damaged sector is not stored and is answered as not taken.
                ++checksumErrors;
                return Bytes{0x92, 0x00};
            }
            flash[sector] = Bytes(data.begin(), data.begin() + 512);
            if (withCrc_ && !sectorAcks.empty()) {
                reply = sectorAcks.front();
                sectorAcks.pop_front();
            }
            reply.insert(reply.end(), strayBeforeReadBack.begin(), strayBeforeReadBack.end());
            return reply;
        }
        if (data.size() < 3 || data[0] != 0xAA) {
            return {};
        }
        const auto sectorOf = [&] {
            return std::uint32_t{data[3]} << 24 | std::uint32_t{data[4]} << 16 |
                   std::uint32_t{data[5]} << 8 | data[6];
        };
        switch (data[2]) {
            case 0x90:
                return connectReply.empty() ? Bytes{0x90, kind} : connectReply;
            case 0x91: {
                erasedBlocks.push_back(data[3]);
                // An erased block reads 0xFF again.
                const std::uint32_t first = std::uint32_t{data[3]} * 128;
                flash.erase(flash.lower_bound(first), flash.lower_bound(first + 128));
                return eraseReply;
            }
            case 0x94:
                pendingDataSector_ = static_cast<std::int64_t>(sectorOf());
                withCrc_ = data[8] == 0x02 && data[7] == 0x02;
                return {0x94, 0x00};
            case 0x95: {
                if (silentReads) {
                    return {};
                }
                const auto it = flash.find(sectorOf());
                Bytes reply = it != flash.end() ? it->second : Bytes(512, 0xFF);
                reply.push_back(0x95);
                reply.push_back(0x01);
                return reply;
            }
            case 0x96:
                return settingsWriteReply;
            case 0x97:
                return settingsReply;
            default:
                return {};
        }
    }

    static bool ChecksumMatches(std::span<const std::uint8_t> data) {
        if (data.size() != 514) {
            return false;
        }
        const std::uint16_t crc = ModuleCrc(data.first(512));
        return data[512] == (crc & 0xFFU) && data[513] == (crc >> 8U);
    }

    std::int64_t pendingDataSector_ = -1;
    bool withCrc_ = false;
    int writes_ = 0;
};

/// The message of a download that succeeded.
inline const Message kDownloadSuccess{"下载 Bin档成功", "信息", MessageIcon::Information};

/// Records progress and messages in order.
class Recorder final : public ProgressSink, public MessageSink {
  public:
    std::vector<int> progress;
    std::vector<std::string> statuses;
    std::vector<Message> messages;

    void SetProgress(int percent) override { progress.push_back(percent); }
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void Show(const Message& message) override { messages.push_back(message); }
};

inline Bytes Pattern(std::size_t size, std::uint8_t start = 1) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>(start + i * 7 + i / 512);
    }
    return out;
}

}  // namespace pictor::device::test
