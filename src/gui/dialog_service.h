#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/common/message.h"

class QDialog;
class QWidget;

namespace pictor::gui {

/// The caption of a message box that names none: the application's title.
inline constexpr const char* kApplicationTitle = "Pictor";

/// What an open-file dialog asks for. `filter` is in Qt's form
/// ("Bitmap file (*.bmp);;All file (*)").
struct FileRequest {
    QString caption;
    QString directory;
    QString filter;
    QString defaultSuffix;
};

/// Everything that shows a dialog or starts another program goes through this
/// interface, so each flow can run headless with scripted answers. All calls are
/// made on the user-interface thread.
class DialogService {
  public:
    virtual ~DialogService() = default;

    /// Shows a message box (OK button) and returns when it is dismissed. An empty
    /// caption stands for the application's title.
    virtual void ShowMessage(QWidget* parent, const Message& message) = 0;

    /// Asks for one or several existing files; an empty list when cancelled.
    virtual QStringList GetOpenFileNames(QWidget* parent, const FileRequest& request) = 0;

    /// Asks for one existing file; an empty string when cancelled.
    virtual QString GetOpenFileName(QWidget* parent, const FileRequest& request) = 0;

    /// The system colour chooser; nothing when cancelled.
    virtual std::optional<QColor> ChooseColor(QWidget* parent) = 0;

    /// Starts `program` detached with `arguments` (each one argument, no shell
    /// splitting). True when the process was started.
    virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;

    /// Runs a dialog modally and returns its result (QDialog::Accepted/Rejected).
    virtual int RunModal(QDialog& dialog) = 0;

    /// Asks a question with `buttons` and returns the one chosen; `defaultButton`
    /// is the one Enter picks, and closing the box picks it too. A service that
    /// cannot ask answers with `defaultButton`.
    virtual QMessageBox::StandardButton Ask(QWidget* parent, const Message& message,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) {
        (void)parent;
        (void)message;
        (void)buttons;
        return defaultButton;
    }

    /// Asks for a file name to write (confirming an existing file); an empty
    /// string when cancelled.
    virtual QString GetSaveFileName(QWidget* parent, const FileRequest& request) = 0;

    /// Shows a folder (or opens a file) in the desktop's own program. True when
    /// it was handed over.
    virtual bool OpenLocation(const QString& path);
};

/// The real dialogs: QMessageBox, QFileDialog, QColorDialog, QProcess.
class QtDialogService final : public DialogService {
  public:
    void ShowMessage(QWidget* parent, const Message& message) override;
    QStringList GetOpenFileNames(QWidget* parent, const FileRequest& request) override;
    QString GetOpenFileName(QWidget* parent, const FileRequest& request) override;
    std::optional<QColor> ChooseColor(QWidget* parent) override;
    bool StartDetached(const QString& program, const QStringList& arguments) override;
    int RunModal(QDialog& dialog) override;
    QMessageBox::StandardButton Ask(QWidget* parent, const Message& message,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override;
    QString GetSaveFileName(QWidget* parent, const FileRequest& request) override;
};

/// Starts a program detached with separate arguments (what `StartDetached` of the
/// real service does; test doubles reuse it to start a real fake editor).
bool LaunchDetached(const QString& program, const QStringList& arguments);

/// The caption a message box shows for `message`.
QString CaptionOf(const Message& message);

}  // namespace pictor::gui
