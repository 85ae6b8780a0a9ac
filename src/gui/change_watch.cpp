#include "gui/change_watch.h"

#include <QStringList>

namespace pictor::gui {

ChangeWatch::ChangeWatch(std::function<WatchedState()> current, QObject* parent)
    : QObject(parent), current_(std::move(current)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMs);
    connect(&quiet_, &QTimer::timeout, this, &ChangeWatch::Compare);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ChangeWatch::Poke);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &ChangeWatch::Poke);
}

void ChangeWatch::SetEnabled(bool on) {
    enabled_ = on;
    if (on) {
        Accept();
        return;
    }
    quiet_.stop();
    for (const QStringList& paths : {watcher_.files(), watcher_.directories()}) {
        if (!paths.isEmpty()) {
            watcher_.removePaths(paths);
        }
    }
}

void ChangeWatch::Accept() {
    if (!enabled_) {
        return;
    }
    const WatchedState state = current_();
    acceptedKey_ = state.listKey;
    acceptedStamps_.clear();
    for (const std::filesystem::path& file : state.files) {
        acceptedStamps_[file] = StampOf(file);
    }
    WatchPaths(state);
}

void ChangeWatch::Poke() {
    if (enabled_) {
        quiet_.start();
    }
}

void ChangeWatch::Compare() {
    if (!enabled_) {
        return;
    }
    const WatchedState state = current_();
    // A file replaced by a rename drops out of the system's watch: watch it again.
    WatchPaths(state);
    bool differs = state.listKey != acceptedKey_ || state.files.size() != acceptedStamps_.size();
    for (const std::filesystem::path& file : state.files) {
        const auto accepted = acceptedStamps_.find(file);
        differs =
            differs || accepted == acceptedStamps_.end() || !(accepted->second == StampOf(file));
    }
    if (differs) {
        emit changed();
    }
}

void ChangeWatch::WatchPaths(const WatchedState& state) {
    QStringList paths;
    for (const std::filesystem::path& file : state.files) {
        for (const std::filesystem::path& path : {file, file.parent_path()}) {
            const QString text = QString::fromStdString(path.string());
            if (!path.empty() && !paths.contains(text)) {
                paths.push_back(text);
            }
        }
    }
    const QStringList watched = watcher_.files() + watcher_.directories();
    QStringList added;
    for (const QString& path : paths) {
        if (!watched.contains(path)) {
            added.push_back(path);
        }
    }
    if (!added.isEmpty()) {
        watcher_.addPaths(added);  // a path that does not exist (yet) is refused quietly
    }
}

}  // namespace pictor::gui
