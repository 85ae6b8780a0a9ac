#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/common/message.h"
#include "core/common/progress.h"
#include "core/common/translatable.h"
#include "core/device/device_protocol.h"
#include "core/device/device_state.h"
#include "core/device/image_buffer.h"
#include "core/device/lcd_settings.h"

namespace pictor::device {

/// Where a download's image comes from.
enum class ImageSource {
    File,      // the job loads `filePath` itself, after the connect told the flash size
    Resource,  // the image the resource download dialog loaded earlier
};

struct DownloadRequest {
    ImageSource source = ImageSource::File;
    std::filesystem::path filePath;  // File
    /// Resource: the loaded image; empty when none was loaded ("读取 Bin 档失败!").
    std::optional<ImageBuffer> image;
    /// Settings to send after a successful download (the resource dialog's tick
    /// box, the CLI's --send-settings); nothing is sent when empty. The outcome of
    /// the send does not change the result; a failed send is reported by a
    /// warning after the success message and by `settingsWritten`.
    std::optional<LcdSettings> sendSettings;
    /// Where a mode-1 download puts `BackUp_All.BIN`; empty: the working directory.
    std::filesystem::path backupDirectory;
};

/// The step a download ended in.
enum class DownloadStep { Connect, LoadImage, Erase, Write, Verify, Done };

struct DownloadResult {
    Outcome outcome = Outcome::Failed;
    DownloadStep step = DownloadStep::Connect;
    Message message;  // the final message, as shown
    ConnectFailure connectFailure = ConnectFailure::None;
    std::array<std::uint8_t, 2> connectReply{};  // the bytes the module answered the connect with
    LoadFailure loadFailure = LoadFailure::None;
    int transferMode = 0;            // the mode the connect chose (0 before a connect)
    std::uint64_t bytesWritten = 0;  // image bytes written (sector-padded)
    int resends = 0;                 // mode-2 chunks sent again
    std::chrono::duration<double> totalTime{0};
    std::chrono::duration<double> transferTime{0};  // sector writes and read-back
    /// Whether the requested settings went to the module: nothing when none were
    /// requested or the image was not downloaded, false when the send failed.
    std::optional<bool> settingsWritten;
    /// A failure's cause on the line: the device went away (unplugged, switched
    /// off), or the time-out of the reply that did not come (zero otherwise).
    bool lineLost = false;
    std::chrono::milliseconds unansweredWait{0};
};

/// The warning shown after a successful download whose settings were not written.
inline constexpr const char* kSettingsNotWrittenText = PICTOR_TRANSLATE_NOOP(
    "Core", "the image was downloaded, but the LCD settings were not written");

/// The download job: refuse an empty image before anything is sent ("the image
/// is empty; nothing was erased", `LoadImage` step, `LoadFailure::Empty`; a file
/// image is looked at, not yet loaded, and a file that cannot be opened is left
/// to the load after the connect), connect with the magic 55 AA, load and check the image
/// against the capacity the connect learnt, erase the flash from the image's first
/// block to the end of the flash, write the image in the mode the connect chose,
/// read it back in mode 1, optionally send the settings and end
/// with "下载 Bin档成功". Every failure ends with its message (caption "错误信息",
/// stop icon): "连接失败!", "读取 Bin 档失败!", "flash 删除失败!", "下载 Bin档失败!",
/// "检查 Bin档失败!", or "下载已取消" when the protocol's cancel token was set. The
/// final message is shown through `messages` and returned. When settings were
/// requested and their send failed, the warning `kSettingsNotWrittenText`
/// (caption "警告", exclamation icon) follows the success message.
///
/// `state` is the flash state to start from; the connect updates it and
/// `onConnected` (may be empty) is called with it right after the connect.
/// Runs on the calling thread; the sinks are called from it.
DownloadResult RunDownload(const DownloadRequest& request, DeviceProtocol& protocol,
                           DeviceState state, ProgressSink& progress, MessageSink& messages,
                           const std::function<void(const DeviceState&)>& onConnected = {});

}  // namespace pictor::device
