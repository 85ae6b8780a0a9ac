#include "gui/user_state.h"

#include <QSettings>
#include <QVariant>

namespace pictor::gui {
namespace {

QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("pictor"),
                     QStringLiteral("pictor"));
}

QString FolderKey(UserState::Folder folder) {
    switch (folder) {
        case UserState::Folder::Import:
            return QStringLiteral("folders/import");
        case UserState::Folder::Bin:
            return QStringLiteral("folders/bin");
        case UserState::Folder::Project:
            return QStringLiteral("folders/project");
    }
    return QStringLiteral("folders/other");
}

}  // namespace

QString UserState::Language() const {
    return Store().value(QStringLiteral("interface/language")).toString();
}

void UserState::SetLanguage(const QString& code) {
    Store().setValue(QStringLiteral("interface/language"), code);
}

bool UserState::EraseImageOnly() const {
    return Store().value(QStringLiteral("download/eraseImageOnly"), false).toBool();
}

void UserState::SetEraseImageOnly(bool on) {
    Store().setValue(QStringLiteral("download/eraseImageOnly"), on);
}

bool UserState::ChangesOnly() const {
    return Store().value(QStringLiteral("download/changesOnly"), false).toBool();
}

void UserState::SetChangesOnly(bool on) {
    Store().setValue(QStringLiteral("download/changesOnly"), on);
}

QByteArray UserState::Geometry() const {
    return Store().value(QStringLiteral("window/geometry")).toByteArray();
}

void UserState::SetGeometry(const QByteArray& geometry) {
    Store().setValue(QStringLiteral("window/geometry"), geometry);
}

QByteArray UserState::SplitterState(const QString& name) const {
    return Store().value(QStringLiteral("splitters/") + name).toByteArray();
}

void UserState::SetSplitterState(const QString& name, const QByteArray& state) {
    Store().setValue(QStringLiteral("splitters/") + name, state);
}

int UserState::ListStyle(int fallback) const {
    bool ok = false;
    const int index = Store().value(QStringLiteral("window/listStyle")).toInt(&ok);
    return ok && index >= 0 && index <= 2 ? index : fallback;
}

void UserState::SetListStyle(int index) {
    Store().setValue(QStringLiteral("window/listStyle"), index);
}

QString UserState::LastFolder(Folder folder) const {
    return Store().value(FolderKey(folder)).toString();
}

void UserState::SetLastFolder(Folder folder, const QString& path) {
    Store().setValue(FolderKey(folder), path);
}

QStringList UserState::RecentProjects() const {
    return Store().value(QStringLiteral("projects/recent")).toStringList();
}

void UserState::AddRecentProject(const QString& path) {
    Store().setValue(QStringLiteral("projects/recent"),
                     WithRecentFirst(RecentProjects(), path, kRecentProjects));
}

void UserState::RemoveRecentProject(const QString& path) {
    QStringList list = RecentProjects();
    list.removeAll(path);
    Store().setValue(QStringLiteral("projects/recent"), list);
}

QStringList WithRecentFirst(QStringList list, const QString& path, int limit) {
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > limit) {
        list.removeLast();
    }
    return list;
}

}  // namespace pictor::gui
