#pragma once

// A dialog service for benchmarks of the desktop application: it confirms the
// configuration dialog and answers every other question with cancel.

#include <QColor>
#include <QDialog>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <optional>

#include "gui/dialog_service.h"

namespace pictor::bench {

class UnattendedDialogs : public gui::DialogService {
  public:
    void ShowMessage(QWidget* /*parent*/, const Message& /*message*/) override {}
    QStringList GetOpenFileNames(QWidget* /*parent*/,
                                 const gui::FileRequest& /*request*/) override {
        return {};
    }
    QString GetOpenFileName(QWidget* /*parent*/, const gui::FileRequest& /*request*/) override {
        return {};
    }
    std::optional<QColor> ChooseColor(QWidget* /*parent*/) override { return std::nullopt; }
    bool StartDetached(const QString& /*program*/, const QStringList& /*arguments*/) override {
        return false;
    }
    int RunModal(QDialog& dialog) override {
        if (auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"))) {
            ok->click();
        }
        return dialog.result();
    }
    QString GetSaveFileName(QWidget* /*parent*/, const gui::FileRequest& /*request*/) override {
        return {};
    }
};

}  // namespace pictor::bench
