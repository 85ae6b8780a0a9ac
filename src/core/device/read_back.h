#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "core/common/message.h"
#include "core/common/progress.h"
#include "core/device/device_protocol.h"

namespace pictor::device {

/// Name of the backup file every mode-1 download writes.
inline constexpr const char* kBackupFileName = "BackUp_All.BIN";

/// The read-back check of a mode-1 download: reads the `image.size()` bytes from
/// `startSector` on back, sector by sector, into `BackUp_All.BIN` in `directory`
/// (empty: the working directory; the file is created anew) and compares them with
/// `image`. Ok only when every sector arrived, the backup file was written whole
/// and the read-back equals the image.
///
/// Before the first request it discards whatever is waiting on the line. Progress:
/// 0 and "读数据%d %%" with 0, after each sector the percentage and "读数据...%d %%",
/// and at the end — whatever the outcome, once the file was created — 90 and
/// "读数据%d %%" with 90. A backup file that cannot be created shows "打开文件失败"
/// followed by its name (caption "错误信息", stop icon); every other failure is
/// reported by the caller. After a failure the file holds the sectors read so far.
Outcome VerifyAndBackUp(DeviceProtocol& protocol, std::span<const std::uint8_t> image,
                        std::uint32_t startSector, const std::filesystem::path& directory,
                        ProgressSink& progress, MessageSink& messages);

/// The check of a download that wrote only some blocks: reads back only the
/// image sectors `readRuns` name (ascending) and compares them with `image`;
/// `BackUp_All.BIN` still holds the whole image as the module must now hold it,
/// the sectors not read taken from `image` (the module kept them). Progress and
/// failures as above; the percentages count the sectors read.
Outcome VerifyAndBackUp(DeviceProtocol& protocol, std::span<const std::uint8_t> image,
                        std::uint32_t startSector, std::span<const SectorRun> readRuns,
                        const std::filesystem::path& directory, ProgressSink& progress,
                        MessageSink& messages);

}  // namespace pictor::device
