#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pictor::gui {

/// What the desktop application remembers per user between runs: the window's
/// geometry and splitters, the list style, the last folders of the file dialogs
/// and the recently used projects. Kept in the user's configuration directory
/// (QSettings, organisation and application "pictor"), never in the settings
/// file of the working directory. Every call reads or writes at once.
class UserState {
  public:
    /// The folders remembered, one per kind of file dialog.
    enum class Folder { Import, Bin, Project };

    /// How many recent projects are kept.
    static constexpr int kRecentProjects = 8;

    [[nodiscard]] QByteArray Geometry() const;
    void SetGeometry(const QByteArray& geometry);

    /// The saved state of the splitter named `name` (empty when none).
    [[nodiscard]] QByteArray SplitterState(const QString& name) const;
    void SetSplitterState(const QString& name, const QByteArray& state);

    /// The list style index (0 icon, 1 list, 2 report); `fallback` when none.
    [[nodiscard]] int ListStyle(int fallback) const;
    void SetListStyle(int index);

    /// The last folder of a kind of dialog (empty when none).
    [[nodiscard]] QString LastFolder(Folder folder) const;
    void SetLastFolder(Folder folder, const QString& path);

    /// The interface language the user chose ("zh" or "en"); empty when none, and
    /// then the system's languages decide.
    [[nodiscard]] QString Language() const;
    void SetLanguage(const QString& code);

    /// The download choices of the Device menu (both off when never chosen).
    [[nodiscard]] bool EraseImageOnly() const;
    void SetEraseImageOnly(bool on);
    [[nodiscard]] bool ChangesOnly() const;
    void SetChangesOnly(bool on);

    /// Recent projects, the most recent first.
    [[nodiscard]] QStringList RecentProjects() const;
    /// Puts `path` at the head of the recent projects (once, at most 8 kept).
    void AddRecentProject(const QString& path);
    void RemoveRecentProject(const QString& path);
};

/// `list` with `path` moved (or added) to the head, without other copies of it,
/// cut to `limit` entries.
QStringList WithRecentFirst(QStringList list, const QString& path, int limit);

}  // namespace pictor::gui
