#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "core/common/message.h"
#include "core/common/progress.h"
#include "core/common/translatable.h"
#include "core/device/device_protocol.h"
#include "core/device/device_state.h"
#include "core/device/download_job.h"
#include "core/device/lcd_settings.h"
#include "core/device/serial_line.h"

namespace pictor::device {

/// The text of the refusal when the line is in use:
/// "device busy: a download is running".
inline constexpr const char* kDeviceBusyText =
    PICTOR_TRANSLATE_NOOP("Core", "设备正忙：下载正在进行");
/// The refusal when another thread's single exchange holds the line:
/// "device busy: an exchange is in progress".
inline constexpr const char* kExchangeBusyText =
    PICTOR_TRANSLATE_NOOP("Core", "设备正忙：正在通信");

/// The link to the module: owns the line in use and the flash state, runs the
/// single exchanges on the caller's thread and download jobs on a thread of their
/// own, and lets one user at a time at the line.
///
/// While a download job runs, every other use of the line (another job, a
/// connect, a settings exchange, attaching or detaching the line) is refused: it
/// shows `kDeviceBusyText` (caption "错误信息", exclamation icon) through the
/// caller's sink and returns false / nullopt. The flash state can be read and
/// the flash type picked at any time.
///
/// Thread-safety: every member may be called from any thread (the GUI calls it
/// from its UI thread). The sinks given to `StartDownload` are called from the
/// job's thread and must stay alive until the job ended (`Wait`, or the end of
/// the link, which cancels and waits). `Wait` must not be called from those sinks
/// or from `onFinished` (the job would wait for itself). Messages are never shown
/// while the link's lock is held.
class DeviceLink {
  public:
    /// `pauser` null: the real, sleeping one.
    explicit DeviceLink(DeviceState initial, std::unique_ptr<Pauser> pauser = nullptr);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    /// Hands an (open) line to the link, replacing any earlier one. Refused while
    /// a job runs.
    bool AttachLine(std::unique_ptr<SerialLine> line, MessageSink& messages);
    /// Takes the line back; destroying it closes the port ("关闭串口"). Null while a
    /// job runs (refused) or when none is attached.
    std::unique_ptr<SerialLine> DetachLine(MessageSink& messages);
    [[nodiscard]] bool HasLine() const;

    [[nodiscard]] DeviceState State() const;
    /// The user picks a flash type (see `PickFlashType`); allowed at any time, a
    /// running job keeps the flash size its connect found.
    void PickFlashType(std::string_view flashTypeText);

    /// The connect exchange without the magic (connect button, LCD settings).
    /// Nullopt when refused as busy. Without a line it fails as not written.
    std::optional<ConnectResult> Connect(MessageSink& messages);

    /// Settings exchanges on the caller's thread. Nullopt when refused as busy.
    std::optional<Outcome> WriteSettings(const LcdSettings& settings, MessageSink& messages);
    std::optional<Outcome> ReadSettings(LcdSettingsReply& reply, MessageSink& messages);

    /// Starts a download job on its own thread. Refused (false) while another job
    /// runs. `onFinished` (may be empty) is called on the job's thread after the
    /// final message, with the result. The job's progress and messages go to the
    /// given sinks.
    bool StartDownload(DownloadRequest request, ProgressSink& progress, MessageSink& messages,
                       std::function<void(const DownloadResult&)> onFinished = {});
    /// Asks the running job to stop at its next exchange boundary; it then ends
    /// with "下载已取消". No effect when no job runs.
    void Cancel();
    /// Waits for the running (or last) job and returns its result; nullopt when no
    /// job was ever started.
    std::optional<DownloadResult> Wait();
    [[nodiscard]] bool IsRunning() const;
    [[nodiscard]] std::optional<DownloadResult> LastResult() const;

  private:
    /// Who holds the line.
    enum class Holder { None, Exchange, Job };
    class Exchange;

    /// The refusal when the line is held, nullopt when it is free; call with
    /// `mutex_` locked, show the message after unlocking (a sink may block).
    std::optional<Message> BusyMessageLocked() const;
    /// Takes what a connect learnt into the state.
    void TakeConnectState(const DeviceState& connected);
    /// The attached line, or a closed stand-in; call with `mutex_` locked.
    SerialLine& LineLocked();

    mutable std::mutex mutex_;
    std::condition_variable released_;
    std::unique_ptr<SerialLine> line_;
    std::unique_ptr<SerialLine> closedLine_;
    std::unique_ptr<Pauser> pauser_;
    DeviceState state_;
    Holder holder_ = Holder::None;
    CancelToken cancel_;
    std::optional<DownloadResult> lastResult_;
    std::thread worker_;
};

}  // namespace pictor::device
