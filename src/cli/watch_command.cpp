// pictor-cli watch: converts a project and downloads it, then again, with only
// the changed blocks, whenever one of its files changes.

#include <CLI/CLI.hpp>
#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "cli/commands.h"
#include "cli/device_console.h"
#include "cli/device_options.h"
#include "cli/download_report.h"
#include "cli/file_watcher.h"
#include "cli/interrupt_watcher.h"
#include "cli/watch_conversion.h"
#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"
#include "core/device/device_link.h"
#include "core/device/image_buffer.h"

namespace pictor::cli {

namespace {

using device::Outcome;

/// How long the files must stay quiet after a change before a round starts: an
/// editor's write and rename, or a tool writing several pictures, is one round.
constexpr std::chrono::milliseconds kQuietTime{300};

struct WatchOptions {
    PortOptions port;
    std::string project;
    device::EraseScope erase = device::EraseScope::ToEnd;
};

/// The files of `changes` by name, "a.bmp, b.bmp (deleted)".
std::string Describe(const std::set<std::filesystem::path>& changes, const Streams& streams) {
    std::string text;
    for (const std::filesystem::path& file : changes) {
        if (!text.empty()) {
            text += ", ";
        }
        text += Utf8FromPath(file.filename());
        std::error_code error;
        if (!std::filesystem::exists(file, error)) {
            text += " " + streams.Translate("Cli", "(deleted)");
        }
    }
    return text;
}

class WatchSession {
  public:
    WatchSession(const WatchOptions& options, const Streams& streams)
        : options_(options), streams_(streams), console_(streams, ErrIsTerminal(streams), false) {}

    int Run() {
        const PortChoice choice = ChoosePort(options_.port);
        link_ = OpenLink(choice, console_);
        if (!link_) {
            return kExitFailed;
        }
        watcher_ = MakeFileWatcher();
        // Ctrl-C stops a running download at its next exchange and ends the wait
        // for changes.
        const InterruptWatcher interrupt([this] {
            stop_.store(true);
            link_->Cancel();
            watcher_->Wake();
        });
        std::string what = streams_.Translate("Cli", "start");
        for (int round = 1;; ++round) {
            watcher_->Watch(ProjectInputs(PathFromUtf8(options_.project),
                                          PathFromUtf8(options_.port.settingsFile)));
            if (!Round(round, what)) {
                return kExitCancelled;
            }
            const std::set<std::filesystem::path> changes =
                CollectChanges(*watcher_, kQuietTime, [this] { return stop_.load(); });
            if (stop_.load()) {
                return kExitCancelled;
            }
            what = FillPlaceholders(streams_.Translate("Cli", "changed: %1"),
                                    {Describe(changes, streams_)});
        }
    }

  private:
    /// Converts and downloads once and prints the round's line; false when
    /// Ctrl-C ended the round.
    bool Round(int round, const std::string& what) {
        const std::vector<std::string> head{std::to_string(round), what};
        const std::optional<std::filesystem::path> converted =
            ConvertProject(PathFromUtf8(options_.project), PathFromUtf8(options_.port.settingsFile),
                           console_, streams_.CoreLookup());
        std::optional<device::ImageBuffer> image;
        if (converted) {
            image = device::LoadImageFile(*converted);
        }
        if (stop_.load()) {
            return false;
        }
        if (!image) {
            Line(PICTOR_TRANSLATE_NOOP("Cli",
                                       "round %1 (%2): conversion failed; the "
                                       "module was left as it was"),
                 head);
            return true;
        }
        device::DownloadRequest request;
        request.source = device::ImageSource::Resource;
        request.image = image;
        request.previous = held_;
        request.erase = options_.erase;
        if (!link_->StartDownload(request, console_, console_)) {
            return !stop_.load();
        }
        const device::DownloadResult result = *link_->Wait();
        console_.EndStatusLine();
        switch (result.outcome) {
            case Outcome::Ok:
                held_ = image;
                Report(head, result, *image);
                return true;
            case Outcome::Cancelled:
                Line(PICTOR_TRANSLATE_NOOP("Cli", "round %1 (%2): download cancelled"), head);
                ExplainCancel(result, console_);
                return false;
            case Outcome::Failed:
                break;
        }
        // What the module holds is not known now: the next round sends everything.
        held_.reset();
        ExplainFailure(result, Utf8FromPath(image->path), console_);
        Line(PICTOR_TRANSLATE_NOOP("Cli",
                                   "round %1 (%2): download failed; the "
                                   "next round downloads the whole image"),
             head);
        return true;
    }

    void Report(std::vector<std::string> head, const device::DownloadResult& result,
                const device::ImageBuffer& image) {
        const std::string seconds = Fixed(result.totalTime.count(), 1);
        if (result.changes) {
            head.insert(head.end(), {std::to_string(result.changes->changedBlocks),
                                     std::to_string(result.changes->imageBlocks), seconds});
            Line(PICTOR_TRANSLATE_NOOP("Cli", "round %1 (%2): %3 of %4 blocks sent in %5 s"), head);
            return;
        }
        const auto blocks =
            (image.sectorCount + device::kSectorsPerBlock - 1) / device::kSectorsPerBlock;
        head.insert(head.end(), {std::to_string(blocks), seconds});
        Line(PICTOR_TRANSLATE_NOOP("Cli", "round %1 (%2): whole image, %3 blocks sent in %4 s"),
             head);
    }

    void Line(const char* pattern, const std::vector<std::string>& values) {
        streams_.out << FillPlaceholders(streams_.Translate("Cli", pattern), values) << std::endl;
    }

    const WatchOptions& options_;
    const Streams& streams_;
    DeviceConsole console_;
    std::unique_ptr<device::DeviceLink> link_;
    std::unique_ptr<FileWatcher> watcher_;
    std::atomic<bool> stop_{false};
    /// The image the module holds after the last successful download.
    std::optional<device::ImageBuffer> held_;
};

}  // namespace

void AddWatchCommand(CLI::App& app, const Streams& streams, int& exitCode) {
    auto options = std::make_shared<WatchOptions>();
    auto* command = app.add_subcommand(
        "watch", streams.Translate("Cli",
                                   "convert a project and download it, then again (only the "
                                   "changed blocks) whenever its files change; Ctrl-C ends"));
    command
        ->add_option("--project", options->project,
                     streams.Translate("Cli", "the project file to convert"))
        ->required();
    AddPortOptions(*command, options->port, streams);
    AddEraseOption(*command, options->erase, streams);
    command->callback([options, streams, &exitCode] {
        WatchSession session(*options, streams);
        exitCode = session.Run();
    });
}

}  // namespace pictor::cli
