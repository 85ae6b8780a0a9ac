#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/workspace/image_entry.h"
#include "core/workspace/project_file.h"
#include "gui/import_failure.h"

namespace pictor::gui {

/// Imports picture files (or a project's pictures and texts, with their
/// operations) on a thread of its own so the window keeps painting. Each file is
/// loaded and checked exactly as the list's import does, then only
/// its thumbnail and metadata are kept: the entry's full bitmap is dropped and
/// decoded again from the file when the preview or the conversion needs it. A
/// file that does not load is handed back with the reason, never shown as a
/// message from inside the import: the caller sums the failures up at the end.
/// Results are handed back in file order through queued calls on the thread that
/// started the job (the user-interface thread), one at a time: the worker loads the
/// next file meanwhile but hands it over only once the previous result has been
/// taken, so results never pile up in the event queue and other queued work runs
/// between any two of them.
class ImportJob {
  public:
    /// One file done: its entry, or why it failed (neither when it was skipped).
    struct Result {
        std::optional<workspace::ImageEntry> entry;
        std::optional<ImportFailure> failure;
    };
    /// One file done: its position in the path list and its result.
    using ResultHandler = std::function<void(std::size_t, Result)>;

    /// `pictures` are files chosen for import (only their paths set), or with
    /// `skipMissing` a project's pictures, which load with LoadProjectPicture (a
    /// file that does not exist is passed over silently: the project lists such
    /// pictures on its own). A chosen file that does not exist fails as unreadable.
    ImportJob(std::vector<workspace::ProjectPicture> pictures, bool skipMissing);
    /// Cancels and waits for the worker (it never waits for the user).
    ~ImportJob();
    ImportJob(const ImportJob&) = delete;
    ImportJob& operator=(const ImportJob&) = delete;

    /// Starts the worker. `onResult` runs once per file done, in order; `onDone`
    /// runs once after the last result (also after a cancel).
    void Start(ResultHandler onResult, std::function<void()> onDone);
    /// Asks the worker to stop before its next file; the file being loaded is
    /// finished and reported.
    void Cancel();

  private:
    void Run();

    std::vector<workspace::ProjectPicture> pictures_;
    bool skipMissing_;
    ResultHandler onResult_;
    std::function<void()> onDone_;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::condition_variable taken_;
    bool resultPending_ = false;        // a result is queued and not yet handled
    std::unique_ptr<QObject> context_;  // lives on the starting thread; owns queued calls
    std::thread thread_;
};

}  // namespace pictor::gui
