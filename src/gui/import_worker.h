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

namespace pictor::gui {

/// Imports picture files on a thread of its own so the window keeps painting.
/// Each file is loaded and checked exactly as the list's import does (same
/// messages, sent through `messages` from the worker thread), then only its
/// thumbnail and metadata are kept: the entry's full bitmap is dropped and decoded
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

    /// `skipMissing`: a path whose file does not exist is passed over silently
    /// (a project lists such pictures on its own); otherwise it fails with the
    /// import's message.
    ImportJob(std::vector<std::string> paths, MessageSink& messages, bool skipMissing);
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

    std::vector<std::string> paths_;
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
