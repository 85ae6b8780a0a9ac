#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/common/file_stamp.h"

namespace pictor::gui {

/// What "Auto-download on change" compares: the picture files and a key that
/// changes with the list (order, positions, shown flags, model).
struct WatchedState {
    std::vector<std::filesystem::path> files;
    std::string listKey;
};

/// Tells when the picture list or one of its files changed since the state last
/// accepted. The files are watched through the system (their folders too, so a
/// file replaced by a rename is seen); `Poke` reports a change of the list. 300 ms
/// after the last such event the current state is compared with the accepted one,
/// by the list key and each file's stamp, and `changed` is emitted when they
/// differ. So a burst of writes is one change, and files that are not pictures
/// (an `Icon.bin` written into the same folder) never count. Runs on the
/// user-interface thread.
class ChangeWatch final : public QObject {
    Q_OBJECT
  public:
    /// `current` tells what the list and its files look like now.
    ChangeWatch(std::function<WatchedState()> current, QObject* parent = nullptr);

    /// On: the current state is taken as the accepted one and watched. Off: nothing
    /// is watched and `changed` is never emitted.
    void SetEnabled(bool on);
    [[nodiscard]] bool Enabled() const { return enabled_; }
    /// Takes the current state as the accepted one (after a round that used it).
    void Accept();
    /// The list may have changed: compare after the quiet time.
    void Poke();

    static constexpr int kQuietMs = 300;

  signals:
    void changed();

  private:
    void Compare();
    void WatchPaths(const WatchedState& state);

    std::function<WatchedState()> current_;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
    bool enabled_ = false;
    std::string acceptedKey_;
    std::map<std::filesystem::path, FileStamp> acceptedStamps_;
};

}  // namespace pictor::gui
