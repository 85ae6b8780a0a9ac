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
inline constexpr const char* kApplicationTitle = "pictor";

/// What an open-file dialog asks for. `filter` is in Qt's form
/// ("Bitmap file (*.bmp);;All file (*)").
struct FileRequest {
    QString caption;
    QString directory;
    QString filter;
    QString defaultSuffix;
};

/// A question with several answers (standard buttons), e.g. Save / Discard / Cancel.
struct Question {
    QString text;
    QString caption;
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    QMessageBox::StandardButton defaultButton = QMessageBox::No;
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

    // Questions and save dialogs of the project and list commands.

    /// Asks `question` and returns the button chosen; closing the box counts as
    /// Cancel when offered, else as the default button.
    virtual QMessageBox::StandardButton Ask(QWidget* parent, const Question& question) = 0;

    /// Asks for a file name to write (confirming an existing file); an empty
    /// string when cancelled.
    virtual QString GetSaveFileName(QWidget* parent, const FileRequest& request) = 0;
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
    QMessageBox::StandardButton Ask(QWidget* parent, const Question& question) override;
    QString GetSaveFileName(QWidget* parent, const FileRequest& request) override;
};

/// Starts a program detached with separate arguments (what `StartDetached` of the
/// real service does; test doubles reuse it to start a real fake editor).
bool LaunchDetached(const QString& program, const QStringList& arguments);

/// The caption a message box shows for `message`.
QString CaptionOf(const Message& message);

}  // namespace pictor::gui
