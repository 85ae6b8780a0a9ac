#include "core/device/download_job.h"

#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"
#include "core/device/flash_layout.h"
#include "core/device/read_back.h"

namespace pictor::device {

namespace {

constexpr const char* kErrorCaption = PICTOR_TRANSLATE_NOOP("Core", "错误信息");

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
        result_.totalTime = std::chrono::steady_clock::now() - started_;
        messages_.Show(result_.message);
        return result_;
    }

    std::optional<ImageBuffer> TakeImage(const DeviceState& state);
    bool ImageIsEmpty() const;
    Outcome Erase(const EraseRange& range);
    void Status(const std::string& text) { progress_.SetStatus(text); }

    const DownloadRequest& request_;
    DeviceProtocol& protocol_;
    ProgressSink& progress_;
    MessageSink& messages_;
    DownloadResult result_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
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

Outcome Job::Erase(const EraseRange& range) {
    Status(PICTOR_TRANSLATE_NOOP("Core", "擦除Flash"));
    progress_.SetProgress(0);
    Status(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "擦除Flash...%d %%"), 0));
    for (std::uint32_t block = range.firstBlock; block < range.endBlock; ++block) {
        const auto percent = static_cast<int>(block * 100 / range.endBlock);
        progress_.SetProgress(percent);
        Status(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "擦除Flash...%d %%"), percent));
        const Outcome outcome = protocol_.EraseFlashBlock(block);
        if (outcome != Outcome::Ok) {
            return outcome;
        }
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

    result_.step = DownloadStep::Erase;
    if (const Outcome erased = Erase(range); erased != Outcome::Ok) {
        return Finish(erased, PICTOR_TRANSLATE_NOOP("Core", "flash 删除失败!"));
    }

    result_.step = DownloadStep::Write;
    progress_.SetProgress(0);
    Status(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "写数据 %d %%"), 0));
    const auto transferStart = std::chrono::steady_clock::now();
    const std::span<const std::uint8_t> data(*bytes);
    const bool plain = state.transferMode == 1;
    const Outcome written = plain
                                ? protocol_.WriteImagePlain(data, state.imageStartSector, progress_)
                                : protocol_.WriteImageCrc(data, state.imageStartSector, progress_);
    result_.resends = protocol_.ResendCount();
    if (written != Outcome::Ok) {
        result_.transferTime = std::chrono::steady_clock::now() - transferStart;
        return Finish(written, PICTOR_TRANSLATE_NOOP("Core", "下载 Bin档失败!"));
    }
    result_.bytesWritten = data.size();
    if (plain) {
        result_.step = DownloadStep::Verify;
        const Outcome checked = VerifyAndBackUp(protocol_, data, state.imageStartSector,
                                                request_.backupDirectory, progress_, messages_);
        result_.transferTime = std::chrono::steady_clock::now() - transferStart;
        if (checked != Outcome::Ok) {
            return Finish(checked, PICTOR_TRANSLATE_NOOP("Core", "检查 Bin档失败!"));
        }
    } else {
        result_.transferTime = std::chrono::steady_clock::now() - transferStart;
    }

    result_.step = DownloadStep::Done;
    if (request_.sendSettings) {
        // Sent after the image is in; its outcome does not change the job's
        // result, but a failed send is not passed over in silence.
        result_.settingsWritten = protocol_.WriteSettings(*request_.sendSettings) == Outcome::Ok;
    }
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
