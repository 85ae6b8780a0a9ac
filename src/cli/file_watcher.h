#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace pictor::cli {

/// Tells when watched files change: written in place, replaced by a rename (as
/// editors save), created or deleted. Files are named by path; a change is
/// reported under the path as given to `Watch`.
///
/// Thread-safety: one thread calls `Watch` and `WaitForChanges`; `Wake` may be
/// called from any thread.
class FileWatcher {
  public:
    virtual ~FileWatcher() = default;

    /// Watches exactly `files` from now on. Changes that happened before are
    /// forgotten. False when the system refused to watch (the reason is lost;
    /// callers say that watching is not possible).
    virtual bool Watch(const std::vector<std::filesystem::path>& files) = 0;

    /// Waits until a watched file changes, `Wake` is called or `timeout` passes;
    /// returns the files that changed since the last call (empty on a time-out or
    /// a wake-up).
    virtual std::set<std::filesystem::path> WaitForChanges(std::chrono::milliseconds timeout) = 0;

    /// Makes the waiting (or the next) `WaitForChanges` return at once.
    virtual void Wake() = 0;
};

/// The platform's watcher: inotify on Linux, polling elsewhere.
std::unique_ptr<FileWatcher> MakeFileWatcher();

/// A watcher that compares each file's existence, size and modification time
/// every `period`.
std::unique_ptr<FileWatcher> MakePollingWatcher(std::chrono::milliseconds period);

/// Waits for a change and then until `quiet` passes without another, so a burst
/// of writes (or an editor's write and rename) is one round. Returns every file
/// that changed meanwhile; returns early, with what it has, once
/// `stopRequested` is true (checked after every wake-up).
std::set<std::filesystem::path> CollectChanges(FileWatcher& watcher,
                                               std::chrono::milliseconds quiet,
                                               const std::function<bool()>& stopRequested);

}  // namespace pictor::cli
