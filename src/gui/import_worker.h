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

#include "core/common/message.h"
#include "core/workspace/image_entry.h"
#include "core/workspace/project_file.h"

namespace pictor::gui {

/// Imports picture files (or a project's pictures and texts, with their
/// operations) on a thread of its own so the window keeps painting. Each file is
/// loaded and checked exactly as the list's import does (same messages, sent
/// through `messages` from the worker thread), then only its thumbnail and
/// metadata are kept: the entry's full bitmap is dropped and decoded
/// again from the file when the preview or the conversion needs it.
/// Results are handed back in file order through queued calls on the thread that
/// started the job (the user-interface thread), one at a time: the worker loads the
/// next file meanwhile but hands it over only once the previous result has been
/// taken, so results never pile up in the event queue and other queued work runs
/// between any two of them.
class ImportJob {
  public:
    /// One file done: its position in the path list and its entry (nothing when
    /// it was skipped or failed).
    using ResultHandler = std::function<void(std::size_t, std::optional<workspace::ImageEntry>)>;

    /// `skipMissing`: a project's pictures: a file that does not exist is passed
    /// over silently (the project lists such pictures on its own); otherwise every
    /// file is imported, and one that does not exist fails with the import's
    /// message.
    /// `pictures` are files chosen for import (only their paths are set) or a
    /// project's pictures, which load with LoadProjectPicture.
    ImportJob(std::vector<workspace::ProjectPicture> pictures, MessageSink& messages,
              bool skipMissing);
    /// Cancels and waits for the worker. The worker may be waiting in a message
    /// shown on the user-interface thread: end the job only after `onDone` ran,
    /// or after the message sink was closed.
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
    MessageSink& messages_;
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
