#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "core/settings/profile_file.h"
#include "gui/control_tags.h"

namespace pictor::gui::testing {

/// A temporary directory holding a settings file written from `iniText`.
class SettingsDir {
  public:
    explicit SettingsDir(const std::string& iniText = {}) {
        if (!iniText.empty()) {
            QFile file(Path());
            file.open(QIODevice::WriteOnly);
            file.write(iniText.data(), static_cast<qint64>(iniText.size()));
        }
    }
    [[nodiscard]] QString Dir() const { return dir_.path(); }
    [[nodiscard]] QString Path() const { return dir_.filePath(QStringLiteral("Pictor.ini")); }
    [[nodiscard]] std::filesystem::path FsPath() const { return Path().toStdString(); }
    [[nodiscard]] std::string Key(const std::string& section, const std::string& key) const {
        return settings::ProfileFile(FsPath()).GetString(section, key, "<missing>");
    }
    [[nodiscard]] QByteArray Bytes() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private:
    QTemporaryDir dir_;
};

template <typename Widget = QWidget>
Widget* Control(const QObject* root, int controlId) {
    return FindControl<Widget>(root, controlId);
}

inline QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

/// Selects an entry as the user does (the selection change notification follows).
inline void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

}  // namespace pictor::gui::testing
