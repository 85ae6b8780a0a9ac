#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <map>
#include <system_error>

#include "cli/file_watcher.h"

namespace pictor::cli {

namespace {

// What counts as a change of a file in a watched folder: its content written
// (every write, and the close after writing), a file moved or created under its
// name (an editor's write and rename), and the file deleted or moved away.
constexpr std::uint32_t kEvents =
    IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_ATTRIB;

std::filesystem::path Normal(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    return (error ? file : absolute).lexically_normal();
}

/// Watches the folders that hold the files, so that a file replaced by a rename
/// is still seen, and picks the events of the watched names.
class InotifyWatcher final : public FileWatcher {
  public:
    InotifyWatcher()
        : inotify_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          wake_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~InotifyWatcher() override {
        if (inotify_ >= 0) {
            ::close(inotify_);
        }
        if (wake_ >= 0) {
            ::close(wake_);
        }
    }
    InotifyWatcher(const InotifyWatcher&) = delete;
    InotifyWatcher& operator=(const InotifyWatcher&) = delete;

    bool Watch(const std::vector<std::filesystem::path>& files) override {
        if (inotify_ < 0 || wake_ < 0) {
            return false;
        }
        files_.clear();
        std::map<int, std::filesystem::path> folders;
        bool ok = true;
        for (const std::filesystem::path& file : files) {
            const std::filesystem::path normal = Normal(file);
            files_[normal] = file;
            // Watching a folder again returns the descriptor it already has.
            const int wd = ::inotify_add_watch(inotify_, normal.parent_path().c_str(), kEvents);
            if (wd < 0) {
                ok = false;
                continue;
            }
            folders[wd] = normal.parent_path();
        }
        for (const auto& [wd, folder] : folders_) {
            if (folders.count(wd) == 0) {
                ::inotify_rm_watch(inotify_, wd);
            }
        }
        folders_ = std::move(folders);
        Drain();
        return ok;
    }

    std::set<std::filesystem::path> WaitForChanges(std::chrono::milliseconds timeout) override {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            std::set<std::filesystem::path> changed = Drain();
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (!changed.empty() || left.count() <= 0) {
                return changed;
            }
            std::array<pollfd, 2> ready{pollfd{inotify_, POLLIN, 0}, pollfd{wake_, POLLIN, 0}};
            if (::poll(ready.data(), ready.size(), static_cast<int>(left.count())) > 0 &&
                (ready[1].revents & POLLIN) != 0) {
                std::uint64_t count = 0;
                [[maybe_unused]] const auto n = ::read(wake_, &count, sizeof count);
                return {};
            }
        }
    }

    void Wake() override {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(wake_, &one, sizeof one);
    }

  private:
    /// Reads every event waiting and returns the watched files they name.
    std::set<std::filesystem::path> Drain() {
        std::set<std::filesystem::path> changed;
        alignas(inotify_event) std::array<char, 8192> buffer{};
        for (;;) {
            const ssize_t n = ::read(inotify_, buffer.data(), buffer.size());
            if (n <= 0) {
                return changed;
            }
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                const auto folder = folders_.find(event->wd);
                if (folder == folders_.end() || event->len == 0) {
                    continue;
                }
                const auto file = files_.find(folder->second / event->name);
                if (file != files_.end()) {
                    changed.insert(file->second);
                }
            }
        }
    }

    int inotify_;
    int wake_;
    std::map<int, std::filesystem::path> folders_;                  // descriptor → folder
    std::map<std::filesystem::path, std::filesystem::path> files_;  // normal path → as given
};

}  // namespace

std::unique_ptr<FileWatcher> MakeFileWatcher() {
    return std::make_unique<InotifyWatcher>();
}

}  // namespace pictor::cli
