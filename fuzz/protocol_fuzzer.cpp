// The download job against a module whose answers the input steers. The module
// answers every request correctly unless the input picks a fault for that answer:
// silence, a cut answer, noise after it or bytes of its own. The line never waits,
// so a job that does not end shows up as a run that does not end.
//
// Asserts: every request is a well-formed frame; erase requests stay inside the
// flash's erase range; every wait is bounded; a job with no fault injected
// succeeds; and a job succeeds only when the module accepted every step as the
// tool read it: the connect named a known flash kind, every block of the range
// was erased, every sector of the image went out whole and (mode 2) was
// acknowledged with 92 01 or (mode 1) read back equal to the image.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/device/crc16.h"
#include "core/device/device_frames.h"
#include "core/device/download_job.h"
#include "core/device/flash_layout.h"
#include "fuzz_support.h"

namespace {

using pictor::fuzz::Require;
using namespace pictor::device;
using pictor::CancelToken;
using Bytes = std::vector<std::uint8_t>;

constexpr int kMaxLineWrites = 20000;  // far above the longest honest job of this harness
constexpr std::chrono::milliseconds kLongestWait{60000};

std::uint32_t SectorOf(std::span<const std::uint8_t> frame) {
    return std::uint32_t{frame[3]} << 24 | std::uint32_t{frame[4]} << 16 |
           std::uint32_t{frame[5]} << 8 | frame[6];
}

/// What the tool read in answer to one request.
struct Answer {
    std::uint8_t command = 0;  // the request's command; kSectorAck for sector data
    std::uint32_t sector = 0;  // erase: the block; sector write/read/data: the sector
    Bytes bytes;
};

/// The module and the line to it in one: requests come in through `Write`, the
/// answers wait in `input_` until the tool reads them.
class FuzzModule final : public SerialLine, public Pauser {
  public:
    FuzzModule(FuzzedDataProvider& input, std::uint8_t kind, int baud, CancelToken cancel,
               int cancelAtWrite)
        : input_(input),
          kind_(kind),
          baud_(baud),
          cancel_(std::move(cancel)),
          cancelAtWrite_(cancelAtWrite) {}

    [[nodiscard]] bool IsOpen() const override { return true; }
    [[nodiscard]] int BaudRate() const override { return baud_; }

    int Write(std::span<const std::uint8_t> data) override {
        ++writes_;
        Require(writes_ <= kMaxLineWrites, "the download ends (no endless exchange loop)");
        if (cancel_.IsCancelled()) {
            ++writesAfterCancel_;
        }
        if (writes_ == cancelAtWrite_) {
            cancel_.Cancel();
        }
        if (dataFor_) {
            TakeSectorData(data);
        } else {
            TakeFrame(data);
        }
        return static_cast<int>(data.size());
    }

    int ReadAvailable(std::span<std::uint8_t> buffer) override {
        const std::size_t n = std::min(buffer.size(), pending_.size());
        std::copy_n(pending_.begin(), n, buffer.begin());
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
        return static_cast<int>(n);
    }

    bool ReadExact(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override {
        Require(timeout.count() >= 0 && timeout <= kLongestWait, "every wait is bounded");
        if (pending_.size() < buffer.size()) {
            pending_.clear();  // the time-out passes; what came is not taken
            return false;
        }
        std::copy_n(pending_.begin(), buffer.size(), buffer.begin());
        pending_.erase(pending_.begin(),
                       pending_.begin() + static_cast<std::ptrdiff_t>(buffer.size()));
        if (!answers_.empty()) {
            Bytes& got = answers_.back().bytes;
            got.insert(got.end(), buffer.begin(), buffer.end());
        }
        return true;
    }

    bool PurgeInput() override {
        pending_.clear();
        return true;
    }
    void Pause(std::chrono::milliseconds /*duration*/) override {}

    [[nodiscard]] const std::vector<Answer>& Answers() const { return answers_; }
    /// Sector → the data bytes the tool sent for it last (without the checksum).
    [[nodiscard]] const std::map<std::uint32_t, Bytes>& SentData() const { return sentData_; }
    [[nodiscard]] bool FaultInjected() const { return faults_ > 0; }
    [[nodiscard]] int WritesAfterCancel() const { return writesAfterCancel_; }
    void SetEraseRange(EraseRange range) { eraseRange_ = range; }

  private:
    void TakeFrame(std::span<const std::uint8_t> frame) {
        Require(frame.size() >= 3 && frame[0] == kFrameStart && frame[1] == frame.size() - 1,
                "a request is AA, its length and a command");
        const std::uint8_t code = frame[2];
        Answer answer{code, 0, {}};
        switch (code) {
            case command::kConnect:
                Require(frame.size() == 5, "the connect frame has 5 bytes");
                Send(Bytes{command::kConnect, kind_});
                break;
            case command::kEraseBlock:
                Require(frame.size() == 4, "the erase frame has 4 bytes");
                answer.sector = frame[3];
                Require(eraseRange_ && frame[3] >= eraseRange_->firstBlock &&
                            frame[3] < eraseRange_->endBlock,
                        "only blocks of the erase range are erased");
                Send(Bytes{command::kEraseBlock, 0x01});
                break;
            case command::kWriteSector: {
                Require(frame.size() == 9, "the sector write frame has 9 bytes");
                answer.sector = SectorOf(frame);
                const std::size_t length = std::size_t{frame[7]} << 8 | frame[8];
                withChecksum_ = length == kSectorBytes + 2;
                Require(withChecksum_ || length == kSectorBytes,
                        "a sector write carries 512 bytes");
                dataFor_ = answer.sector;
                Send(Bytes{command::kWriteSector, 0x01});
                break;
            }
            case command::kReadSector: {
                Require(frame.size() == 9 && frame[7] == 0x02 && frame[8] == 0x00,
                        "a sector read asks for 512 bytes");
                answer.sector = SectorOf(frame);
                const auto it = sentData_.find(answer.sector);
                Bytes reply = it != sentData_.end() ? it->second : Bytes(kSectorBytes, 0xFF);
                reply.push_back(command::kReadSector);
                reply.push_back(0x01);
                Send(std::move(reply));
                break;
            }
            case command::kWriteSettings:
                Require(frame.size() == 9 && frame[8] == kFrameEnd,
                        "the settings frame ends in ED");
                Send(Bytes{command::kWriteSettings, 0x01});
                break;
            default:
                Require(false, "the job sends only connect, erase, sector and settings frames");
        }
        answers_.push_back(std::move(answer));
    }

    void TakeSectorData(std::span<const std::uint8_t> data) {
        const std::uint32_t sector = *dataFor_;
        dataFor_.reset();
        const std::size_t expected = withChecksum_ ? kSectorBytes + 2 : kSectorBytes;
        Require(data.size() == expected, "sector data goes out whole, in one write");
        const auto payload = data.first(kSectorBytes);
        bool good = true;
        if (withChecksum_) {
            const auto crc =
                static_cast<std::uint16_t>(data[kSectorBytes] | data[kSectorBytes + 1] << 8);
            good = crc == Crc16(payload);
            Require(good, "the checksum sent with a sector is the CRC-16 of its data");
        }
        sentData_[sector] = Bytes(payload.begin(), payload.end());
        answers_.push_back(Answer{command::kSectorAck, sector, {}});
        Send(Bytes{command::kSectorAck, static_cast<std::uint8_t>(good ? 0x01 : 0x00)});
    }

    // Queues an answer, or what the input makes of it.
    void Send(Bytes reply) {
        const std::uint8_t choice =
            input_.remaining_bytes() > 0 ? input_.ConsumeIntegral<std::uint8_t>() : 0;
        if (choice < 160) {
            // The correct answer.
        } else if (choice < 176) {
            reply.clear();
        } else if (choice < 192) {
            reply.resize(reply.size() > 2 ? reply.size() - 1 : 1);
        } else if (choice < 208) {
            const Bytes noise = input_.ConsumeBytes<std::uint8_t>(1 + choice % 4);
            reply.insert(reply.end(), noise.begin(), noise.end());
        } else {
            reply = input_.ConsumeBytes<std::uint8_t>(choice % 12);
        }
        faults_ += choice >= 160 ? 1 : 0;
        pending_.insert(pending_.end(), reply.begin(), reply.end());
    }

    FuzzedDataProvider& input_;
    std::uint8_t kind_;
    int baud_;
    CancelToken cancel_;
    int cancelAtWrite_;
    std::deque<std::uint8_t> pending_;
    std::vector<Answer> answers_;
    std::map<std::uint32_t, Bytes> sentData_;
    std::optional<std::uint32_t> dataFor_;
    std::optional<EraseRange> eraseRange_;
    bool withChecksum_ = false;
    int writes_ = 0;
    int writesAfterCancel_ = 0;
    int faults_ = 0;
};

/// The answers the tool read to requests `command` for `sector`, in order.
std::vector<Bytes> AnswersTo(const FuzzModule& module, std::uint8_t command, std::uint32_t sector) {
    std::vector<Bytes> out;
    for (const Answer& a : module.Answers()) {
        if (a.command == command && a.sector == sector) {
            out.push_back(a.bytes);
        }
    }
    return out;
}

void CheckEveryStepAccepted(const FuzzModule& module, const DeviceState& state,
                            std::span<const std::uint8_t> image) {
    const std::vector<Bytes> connects = AnswersTo(module, command::kConnect, 0);
    Require(!connects.empty() && connects.back().size() == 2 &&
                connects.back()[0] == command::kConnect && connects.back()[1] >= 1 &&
                connects.back()[1] <= 5,
            "success only after the module named a known flash kind");
    const EraseRange range = EraseRangeFor(state.flashSizeCode, state.imageStartSector);
    for (std::uint32_t block = range.firstBlock; block < range.endBlock; ++block) {
        const std::vector<Bytes> erases = AnswersTo(module, command::kEraseBlock, block);
        Require(!erases.empty() && erases.back().size() == 2 &&
                    (erases.back()[0] == command::kEraseBlock || erases.back()[1] == 0x01),
                "success only after every block of the range was erased");
    }
    const std::size_t sectors = image.size() / kSectorBytes;
    for (std::size_t i = 0; i < sectors; ++i) {
        const auto sector = static_cast<std::uint32_t>(state.imageStartSector + i);
        const auto expected = image.subspan(i * kSectorBytes, kSectorBytes);
        const auto sent = module.SentData().find(sector);
        Require(
            sent != module.SentData().end() && std::equal(expected.begin(), expected.end(),
                                                          sent->second.begin(), sent->second.end()),
            "success only after every sector of the image went out");
        if (state.transferMode == 2) {
            const std::vector<Bytes> acks = AnswersTo(module, command::kSectorAck, sector);
            Require(!acks.empty() && acks.back() == Bytes{command::kSectorAck, 0x01},
                    "success in mode 2 only after every sector was acknowledged");
        } else {
            const std::vector<Bytes> reads = AnswersTo(module, command::kReadSector, sector);
            Require(!reads.empty() && reads.back().size() >= kSectorBytes &&
                        std::equal(expected.begin(), expected.end(), reads.back().begin()),
                    "success in mode 1 only after every sector read back equal");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto kind = input.ConsumeIntegralInRange<std::uint8_t>(0, 6);
    constexpr int kBauds[] = {256000, 115200, 9600, 1200};
    const int baud = kBauds[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kBauds) - 1)];
    const int cancelAtWrite = input.ConsumeBool() ? input.ConsumeIntegralInRange(1, 400) : 0;
    const bool sendSettings = input.ConsumeBool();
    const auto imageLength = input.ConsumeIntegralInRange<std::size_t>(0, 3 * kSectorBytes + 10);
    Bytes fileBytes = input.ConsumeBytes<std::uint8_t>(imageLength);
    fileBytes.resize(imageLength, 0x5A);

    ImageBuffer image;
    image.fileLength = fileBytes.size();
    image.sectorCount =
        static_cast<std::uint32_t>((fileBytes.size() + kSectorBytes - 1) / kSectorBytes);
    fileBytes.resize(std::size_t{image.sectorCount} * kSectorBytes, 0);
    image.bytes = std::make_shared<const Bytes>(fileBytes);

    CancelToken cancel;
    FuzzModule module(input, kind, baud, cancel, cancelAtWrite);
    DownloadRequest request;
    request.source = ImageSource::Resource;
    request.image = image;
    request.backupDirectory = pictor::fuzz::Scratch().Path();
    if (sendSettings) {
        request.sendSettings = LcdSettings{};
    }
    DeviceProtocol protocol(module, module, cancel);
    pictor::NullProgressSink progress;
    pictor::fuzz::CountingSink messages;
    std::optional<DeviceState> connected;
    const DownloadResult result = RunDownload(
        request, protocol, DeviceState{}, progress, messages, [&](const DeviceState& state) {
            connected = state;
            module.SetEraseRange(EraseRangeFor(state.flashSizeCode, state.imageStartSector));
        });

    if (std::getenv("PICTOR_FUZZ_TRACE") != nullptr) {
        std::fprintf(stderr, "kind %d, mode %d, %zu image bytes: %s\n", kind, result.transferMode,
                     static_cast<std::size_t>(image.fileLength), result.message.text.c_str());
    }
    Require(messages.count >= 1 && messages.first == result.message,
            "the job's final message is shown first");
    Require(messages.count == (result.settingsWritten == false ? 2 : 1),
            "only a settings send that failed adds its warning");
    Require(module.WritesAfterCancel() <= 1,
            "after a cancel at most the rest of the running exchange goes out");
    const std::vector<Bytes> connects = AnswersTo(module, command::kConnect, 0);
    if (!connects.empty() && connects.back().size() == 2) {
        Require(result.connectReply[0] == connects.back()[0] &&
                    result.connectReply[1] == connects.back()[1],
                "the result names the bytes the module answered the connect with");
    }
    if (image.fileLength == 0) {
        Require(result.outcome == Outcome::Failed && module.Answers().empty(),
                "an empty image is refused before anything is sent");
    }
    if (result.outcome == Outcome::Ok) {
        Require(connected.has_value(), "success only after a connect");
        CheckEveryStepAccepted(module, *connected, *image.bytes);
        if (sendSettings) {
            const std::vector<Bytes> sent = AnswersTo(module, command::kWriteSettings, 0);
            // A cancel before the send leaves the frame unsent: not written either.
            Require(result.settingsWritten.has_value() &&
                        *result.settingsWritten == (!sent.empty() && sent.back().size() == 2),
                    "the settings count as written exactly when the module answered them");
        }
    } else if (!module.FaultInjected() && !cancel.IsCancelled() && kind >= 1 && kind <= 5 &&
               image.fileLength > 0) {
        Require(false, "a download to a module that answers everything correctly succeeds");
    }
    return 0;
}
