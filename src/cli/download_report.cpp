#include "cli/download_report.h"

#include <cstdio>

#include "cli/device_options.h"
#include "core/common/text_format.h"

namespace pictor::cli {

namespace {

std::string LoadFailureReason(const device::DownloadResult& result, const std::string& file,
                              const Streams& streams) {
    switch (result.loadFailure) {
        case device::LoadFailure::CannotOpen:
            return FillPlaceholders(streams.Translate("Cli", "reason: cannot open %1"), {file});
        case device::LoadFailure::ShortRead:
            return FillPlaceholders(streams.Translate("Cli", "reason: %1 could not be read whole"),
                                    {file});
        default:
            return {};
    }
}

}  // namespace

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return std::string(text);
}

void PrintSummary(const device::DownloadResult& result, int baud, DeviceConsole& console) {
    const Streams& streams = console.Output();
    const double seconds = result.transferTime.count();
    const double bytesPerSecond =
        seconds > 0 ? static_cast<double>(result.bytesWritten) / seconds : 0.0;
    const double lineBytesPerSecond = baud > 0 ? baud / 10.0 : 0.0;
    console.Explain(FillPlaceholders(
        streams.Translate("Cli",
                          "summary: %1 bytes written in %2 s (%3 included; %4 s in all), "
                          "%5 KB/s, %6% of the line rate of %7 baud"),
        {std::to_string(result.bytesWritten), Fixed(seconds, 2),
         result.transferMode == 1 ? streams.Translate("Cli", "read-back check")
                                  : streams.Translate("Cli", "acknowledgements"),
         Fixed(result.totalTime.count(), 2), Fixed(bytesPerSecond / 1000.0, 1),
         Fixed(lineBytesPerSecond > 0 ? 100.0 * bytesPerSecond / lineBytesPerSecond : 0.0, 0),
         std::to_string(baud)}));
    if (result.changes) {
        console.Explain(FillPlaceholders(
            streams.Translate("Cli",
                              "changes only: %1 of %2 blocks changed, %3 bytes sent in %4 s; "
                              "a whole download would take about %5 s"),
            {std::to_string(result.changes->changedBlocks),
             std::to_string(result.changes->imageBlocks), std::to_string(result.bytesWritten),
             Fixed(result.totalTime.count(), 2), Fixed(result.changes->wholeEstimate.count(), 1)}));
    }
}

void ExplainFailure(const device::DownloadResult& result, const std::string& file,
                    DeviceConsole& console) {
    const Streams& streams = console.Output();
    std::string why;
    if (result.step == device::DownloadStep::Connect) {
        device::ConnectResult connect;
        connect.failure = result.connectFailure;
        connect.reply = result.connectReply;
        why = ConnectFailureReason(connect, streams);
    } else if (result.step == device::DownloadStep::Check && result.unansweredCheckSector) {
        why = FillPlaceholders(
            streams.Translate(
                "Cli",
                "reason: no answer to the check read of image sector %1; nothing was erased"),
            {std::to_string(*result.unansweredCheckSector)});
    } else {
        why = LoadFailureReason(result, file, streams);
    }
    if (!why.empty()) {
        console.Explain(why);
    }
}

void ExplainCancel(const device::DownloadResult& result, DeviceConsole& console) {
    const bool untouched = result.step == device::DownloadStep::Connect ||
                           result.step == device::DownloadStep::LoadImage ||
                           result.step == device::DownloadStep::Check;
    console.Explain(untouched
                        ? console.Output().Translate(
                              "Cli", "the module was left as it was: nothing had been erased")
                        : console.Output().Translate(
                              "Cli", "the module holds a partly written image: download it again"));
}

int DownloadExitCode(const device::DownloadResult& result) {
    switch (result.outcome) {
        case device::Outcome::Ok:
            // The job has shown the warning; the exit code tells scripts.
            return result.settingsWritten.value_or(true) ? kExitOk : kExitFailed;
        case device::Outcome::Cancelled:
            return kExitCancelled;
        case device::Outcome::Failed:
            break;
    }
    return kExitFailed;
}

}  // namespace pictor::cli
