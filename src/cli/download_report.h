#pragma once

// How pictor-cli reports a finished download: the summary of a success, the
// reason of a failure, and the exit code.

#include <string>

#include "cli/device_console.h"
#include "core/device/download_job.h"

namespace pictor::cli {

/// The summary lines on stderr: bytes written, time, speed against the line rate
/// at `baud`, and for a download of the changed blocks only, how many changed and
/// what a whole download would have taken.
void PrintSummary(const device::DownloadResult& result, int baud, DeviceConsole& console);

/// The line that explains a failed download after its message (the connect's
/// reply, a file that cannot be read, a check read without answer); nothing when
/// the message says it all. `file` names the image.
void ExplainFailure(const device::DownloadResult& result, const std::string& file,
                    DeviceConsole& console);

/// After a cancelled download: what the module holds now (untouched when the job
/// stopped before its first erase, else a partly written image).
void ExplainCancel(const device::DownloadResult& result, DeviceConsole& console);

/// The exit code of a finished download: 0, 1 (also for settings that were not
/// written after a good download) or 130 after a cancel.
int DownloadExitCode(const device::DownloadResult& result);

/// `value` with `decimals` digits after the point.
std::string Fixed(double value, int decimals);

}  // namespace pictor::cli
