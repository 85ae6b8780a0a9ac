#include "core/device/download_job.h"

#include <array>

#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"
#include "core/device/flash_layout.h"
#include "core/device/read_back.h"

namespace pictor::device {

namespace {

constexpr const char* kErrorCaption = PICTOR_TRANSLATE_NOOP("Core", "错误信息");

using Clock = std::chrono::steady_clock;

/// Adds the time since `start` to `total`.
void AddSince(std::chrono::duration<double>& total, Clock::time_point start) {
    total += Clock::now() - start;
}

class Job {
  public:
    Job(const DownloadRequest& request, DeviceProtocol& protocol, ProgressSink& progress,
        MessageSink& messages)
        : request_(request), protocol_(protocol), progress_(progress), messages_(messages) {}

    DownloadResult Run(DeviceState state,
                       const std::function<void(const DeviceState&)>& onConnected);

  private:
    DownloadResult& Finish(Outcome outcome, const char* failureText) {
        result_.outcome = outcome;
        if (outcome == Outcome::Cancelled) {
            result_.message = Message{PICTOR_TRANSLATE_NOOP("Core", "下载已取消"), kErrorCaption,
                                      MessageIcon::Stop};
        } else if (outcome == Outcome::Failed) {
            result_.message = Message{failureText, kErrorCaption, MessageIcon::Stop};
            result_.lineLost = protocol_.LineLost();
            result_.unansweredWait = protocol_.UnansweredWait();
        } else {
            result_.message =
                Message{PICTOR_TRANSLATE_NOOP("Core", "下载 Bin档成功"),
                        PICTOR_TRANSLATE_NOOP("Core", "信息"), MessageIcon::Information};
        }
        result_.totalTime = Clock::now() - started_;
        messages_.Show(result_.message);
        return result_;
    }

    std::optional<ImageBuffer> TakeImage(const DeviceState& state);
    bool ImageIsEmpty() const;
    /// What to erase, write and read back: the changed blocks when the module
    /// holds the previous image, else the whole image. Nullopt after a check
    /// read failed or was cancelled (the outcome is in `checkOutcome_`).
    std::optional<DownloadPlan> Plan(const DeviceState& state, std::span<const std::uint8_t> image);
    /// Reads `sectors` (image sectors) and compares them with the previous image.
    Outcome ModuleHoldsPrevious(const std::vector<std::uint32_t>& sectors,
                                std::uint32_t startSector, bool& holds);
    Outcome Erase(const DownloadPlan& plan);
    Outcome WriteAndCheck(const DownloadPlan& plan, const DeviceState& state,
                          std::span<const std::uint8_t> data);
    void Status(const std::string& text) { progress_.SetStatus(text); }

    const DownloadRequest& request_;
    DeviceProtocol& protocol_;
    ProgressSink& progress_;
    MessageSink& messages_;
    DownloadResult result_;
    WorkTimes times_;
    Outcome checkOutcome_ = Outcome::Ok;
    Clock::time_point started_ = Clock::now();
};

std::optional<ImageBuffer> Job::TakeImage(const DeviceState& state) {
    if (request_.source == ImageSource::File) {
        return LoadBinFile(request_.filePath, state.flashSizeCode, messages_, &result_.loadFailure);
    }
    if (!request_.image || !request_.image->bytes) {
        result_.loadFailure = LoadFailure::CannotOpen;
        return std::nullopt;
    }
    // The dialog checked the image against the flash size known when it was
    // loaded; the connect may have found a smaller flash since.
    if (!CheckImageCapacity(request_.image->fileLength, state.flashSizeCode, messages_)) {
        result_.loadFailure = LoadFailure::TooLarge;
        return std::nullopt;
    }
    return request_.image;
}

// Looks at the image before the connect: an empty one would erase the module's
// flash and write nothing. A file image that cannot be opened here is left to
// the load after the connect, which reports it as before.
bool Job::ImageIsEmpty() const {
    if (request_.source == ImageSource::Resource) {
        return request_.image && request_.image->bytes && request_.image->fileLength == 0;
    }
    const std::optional<RegularFile> file = RegularFile::Open(request_.filePath, FileAccess::Read);
    return file && file->Size() == 0;
}

std::optional<DownloadPlan> Job::Plan(const DeviceState& state,
                                      std::span<const std::uint8_t> image) {
    const EraseRange toEnd = EraseRangeFor(state.flashSizeCode, state.imageStartSector);
    const auto sectorCount = AllSectors(image.size()).count;
    const bool readBack = state.transferMode == 1;
    const DownloadPlan whole =
        PlanWholeDownload(toEnd, state.imageStartSector, sectorCount, request_.erase, readBack);
    const auto& previous = request_.previous;
    if (!previous || !previous->bytes) {
        return whole;
    }
    const std::span<const std::uint8_t> old(*previous->bytes);
    const BlockChanges changes = CompareBlocks(image, old);
    result_.step = DownloadStep::Check;
    Status(PICTOR_TRANSLATE_NOOP("Core", "checking what the module holds"));
    bool holds = false;
    checkOutcome_ =
        ModuleHoldsPrevious(CheckSectors(changes, old.size()), state.imageStartSector, holds);
    if (checkOutcome_ != Outcome::Ok) {
        return std::nullopt;
    }
    if (!holds) {
        result_.previousNotHeld = true;
        messages_.Show(
            PatternMessage(kPreviousNotHeldText, {Utf8FromPath(previous->path.filename())},
                           PICTOR_TRANSLATE_NOOP("Core", "警告"), MessageIcon::Exclamation));
        return whole;
    }
    result_.changes = ChangesSummary{changes.ChangedCount(), changes.BlockCount(), {}};
    Status(FillPlaceholders(kBlocksChangedText, {std::to_string(changes.ChangedCount()),
                                                 std::to_string(changes.BlockCount())}));
    return PlanChangedBlocks(changes, image, state.imageStartSector, readBack);
}

Outcome Job::ModuleHoldsPrevious(const std::vector<std::uint32_t>& sectors,
                                 std::uint32_t startSector, bool& holds) {
    const std::vector<std::uint8_t>& old = *request_.previous->bytes;
    const auto start = Clock::now();
    protocol_.PurgeInput();
    holds = true;
    std::array<std::uint8_t, kSectorBytes> data{};
    for (const std::uint32_t sector : sectors) {
        const Outcome outcome = protocol_.ReadSector(startSector + sector, data);
        if (outcome != Outcome::Ok) {
            result_.unansweredCheckSector = sector;
            return outcome;
        }
        ++times_.sectorsRead;
        // Every sector past the first one that differs is not read: one is enough.
        if (!std::equal(data.begin(), data.end(),
                        old.begin() + std::size_t{sector} * kSectorBytes)) {
            holds = false;
            break;
        }
    }
    AddSince(times_.read, start);
    return Outcome::Ok;
}

Outcome Job::Erase(const DownloadPlan& plan) {
    Status(PICTOR_TRANSLATE_NOOP("Core", "擦除Flash"));
    progress_.SetProgress(0);
    Status(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "擦除Flash...%d %%"), 0));
    const auto start = Clock::now();
    const std::size_t count = plan.eraseBlocks.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t block = plan.eraseBlocks[i];
        // Erasing to the end shows the share of the flash, as it always did;
        // otherwise the share of the blocks to erase.
        const auto percent = static_cast<int>(
            plan.eraseToEnd ? block * 100 / (plan.eraseBlocks.back() + 1) : i * 100 / count);
        progress_.SetProgress(percent);
        Status(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "擦除Flash...%d %%"), percent));
        const Outcome outcome = protocol_.EraseFlashBlock(block);
        if (outcome != Outcome::Ok) {
            return outcome;
        }
        ++result_.blocksErased;
    }
    AddSince(times_.erase, start);
    times_.blocksErased += result_.blocksErased;
    return Outcome::Ok;
}

// Writes the plan's sectors and, in mode 1, reads its sectors back; finishes the
// job on a failure (the returned outcome is then not Ok).
Outcome Job::WriteAndCheck(const DownloadPlan& plan, const DeviceState& state,
                           std::span<const std::uint8_t> data) {
    result_.step = DownloadStep::Write;
    progress_.SetProgress(0);
    Status(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "写数据 %d %%"), 0));
    const auto transferStart = Clock::now();
    const bool plain = state.transferMode == 1;
    const Outcome written = protocol_.WriteImageSectors(data, state.imageStartSector,
                                                        plan.writeRuns, !plain, progress_);
    result_.resends = protocol_.ResendCount();
    AddSince(times_.write, transferStart);
    if (written != Outcome::Ok) {
        result_.transferTime = Clock::now() - transferStart;
        Finish(written, PICTOR_TRANSLATE_NOOP("Core", "下载 Bin档失败!"));
        return written;
    }
    times_.sectorsWritten += plan.SectorsToWrite();
    result_.bytesWritten = std::uint64_t{plan.SectorsToWrite()} * kSectorBytes;
    if (plain) {
        result_.step = DownloadStep::Verify;
        const auto readStart = Clock::now();
        const Outcome checked =
            VerifyAndBackUp(protocol_, data, state.imageStartSector, plan.readRuns,
                            request_.backupDirectory, progress_, messages_);
        AddSince(times_.read, readStart);
        times_.sectorsRead += plan.SectorsToRead();
        result_.transferTime = Clock::now() - transferStart;
        if (checked != Outcome::Ok) {
            Finish(checked, PICTOR_TRANSLATE_NOOP("Core", "检查 Bin档失败!"));
            return checked;
        }
    } else {
        result_.transferTime = Clock::now() - transferStart;
    }
    return Outcome::Ok;
}

DownloadResult Job::Run(DeviceState state,
                        const std::function<void(const DeviceState&)>& onConnected) {
    if (ImageIsEmpty()) {
        result_.step = DownloadStep::LoadImage;
        result_.loadFailure = LoadFailure::Empty;
        return Finish(Outcome::Failed, kEmptyImageText);
    }
    result_.step = DownloadStep::Connect;
    Status(PICTOR_TRANSLATE_NOOP("Core", "连接设备"));
    const ConnectResult connect = protocol_.ConnectDevice(state, true);
    times_.connect = Clock::now() - started_;
    result_.connectFailure = connect.failure;
    result_.connectReply = connect.reply;
    if (onConnected && connect.StateApplied()) {
        onConnected(state);
    }
    if (connect.outcome != Outcome::Ok) {
        return Finish(connect.outcome, PICTOR_TRANSLATE_NOOP("Core", "连接失败!"));
    }
    result_.transferMode = state.transferMode;

    result_.step = DownloadStep::LoadImage;
    progress_.SetProgress(10);
    Status(PICTOR_TRANSLATE_NOOP("Core", "读取Bin档"));
    const std::optional<ImageBuffer> image = TakeImage(state);
    const EraseRange range = EraseRangeFor(state.flashSizeCode, state.imageStartSector);
    if (!image || !FitsEraseRange(state.imageStartSector, image->sectorCount, range)) {
        return Finish(Outcome::Failed, PICTOR_TRANSLATE_NOOP("Core", "读取 Bin 档失败!"));
    }
    // Keeps the bytes alive for the whole job, whatever the caller loads meanwhile.
    const std::shared_ptr<const std::vector<std::uint8_t>> bytes = image->bytes;
    const std::span<const std::uint8_t> data(*bytes);

    const std::optional<DownloadPlan> plan = Plan(state, data);
    if (!plan) {
        return Finish(checkOutcome_, PICTOR_TRANSLATE_NOOP("Core", "检查 Bin档失败!"));
    }
    result_.step = DownloadStep::Erase;
    if (const Outcome erased = Erase(*plan); erased != Outcome::Ok) {
        return Finish(erased, PICTOR_TRANSLATE_NOOP("Core", "flash 删除失败!"));
    }
    if (WriteAndCheck(*plan, state, data) != Outcome::Ok) {
        return result_;
    }

    result_.step = DownloadStep::Done;
    if (result_.changes) {
        const DownloadPlan whole =
            PlanWholeDownload(range, state.imageStartSector, image->sectorCount, request_.erase,
                              state.transferMode == 1);
        result_.changes->wholeEstimate =
            EstimateDuration(whole, times_, state.transferMode != 1, protocol_.LineBaudRate());
    }
    if (request_.sendSettings) {
        // Sent after the image is in; its outcome does not change the job's
        // result, but a failed send is not passed over in silence.
        result_.settingsWritten = protocol_.WriteSettings(*request_.sendSettings) == Outcome::Ok;
    }
    result_.image = image;
    progress_.SetProgress(100);
    Status(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "下载 Bin档%d %%"), 100));
    Finish(Outcome::Ok, "");
    if (result_.settingsWritten.has_value() && !*result_.settingsWritten) {
        messages_.Show(Message{kSettingsNotWrittenText, PICTOR_TRANSLATE_NOOP("Core", "警告"),
                               MessageIcon::Exclamation});
    }
    return result_;
}

}  // namespace

DownloadResult RunDownload(const DownloadRequest& request, DeviceProtocol& protocol,
                           DeviceState state, ProgressSink& progress, MessageSink& messages,
                           const std::function<void(const DeviceState&)>& onConnected) {
    Job job(request, protocol, progress, messages);
    return job.Run(std::move(state), onConnected);
}

}  // namespace pictor::device
