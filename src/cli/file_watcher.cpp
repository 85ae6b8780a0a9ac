#include "cli/file_watcher.h"

#include <condition_variable>
#include <map>
#include <mutex>

#include "core/common/file_stamp.h"

namespace pictor::cli {

namespace {

class PollingWatcher final : public FileWatcher {
  public:
    explicit PollingWatcher(std::chrono::milliseconds period) : period_(period) {}

    bool Watch(const std::vector<std::filesystem::path>& files) override {
        stamps_.clear();
        for (const std::filesystem::path& file : files) {
            stamps_[file] = StampOf(file);
        }
        return true;
    }

    std::set<std::filesystem::path> WaitForChanges(std::chrono::milliseconds timeout) override {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            std::set<std::filesystem::path> changed;
            for (auto& [file, stamp] : stamps_) {
                const FileStamp now = StampOf(file);
                if (!(now == stamp)) {
                    stamp = now;
                    changed.insert(file);
                }
            }
            const auto now = std::chrono::steady_clock::now();
            if (!changed.empty() || now >= deadline) {
                return changed;
            }
            std::unique_lock lock(mutex_);
            const auto next = std::min(deadline, now + period_);
            if (wakeUp_.wait_until(lock, next, [this] { return woken_; })) {
                woken_ = false;
                return {};
            }
        }
    }

    void Wake() override {
        {
            std::lock_guard lock(mutex_);
            woken_ = true;
        }
        wakeUp_.notify_all();
    }

  private:
    std::chrono::milliseconds period_;
    std::map<std::filesystem::path, FileStamp> stamps_;
    std::mutex mutex_;
    std::condition_variable wakeUp_;
    bool woken_ = false;
};

}  // namespace

std::unique_ptr<FileWatcher> MakePollingWatcher(std::chrono::milliseconds period) {
    return std::make_unique<PollingWatcher>(period);
}

std::set<std::filesystem::path> CollectChanges(FileWatcher& watcher,
                                               std::chrono::milliseconds quiet,
                                               const std::function<bool()>& stopRequested) {
    // Long waits are cut into pieces only so that a lost wake-up cannot hold the
    // caller beyond a second.
    constexpr std::chrono::milliseconds kIdleWait{1000};
    std::set<std::filesystem::path> changes;
    while (changes.empty() && !stopRequested()) {
        changes = watcher.WaitForChanges(kIdleWait);
    }
    while (!stopRequested()) {
        const std::set<std::filesystem::path> more = watcher.WaitForChanges(quiet);
        if (more.empty()) {
            break;
        }
        changes.insert(more.begin(), more.end());
    }
    return changes;
}

}  // namespace pictor::cli
