#include "cli/file_watcher.h"

namespace pictor::cli {

// Four looks a second: a saved picture is noticed well within the second a user
// waits for it, and the files' attributes are cheap to read.
std::unique_ptr<FileWatcher> MakeFileWatcher() {
    return MakePollingWatcher(std::chrono::milliseconds(250));
}

}  // namespace pictor::cli
