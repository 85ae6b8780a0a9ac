#include "gui/dialog_service.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace pictor::gui {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString CaptionOf(const Message& message) {
    return message.caption.empty() ? QString::fromLatin1(kApplicationTitle)
                                   : QString::fromStdString(message.caption);
}

void QtDialogService::ShowMessage(QWidget* parent, const Message& message) {
    // Every box is titled with the application's name; a message's own caption
    // ("错误", "失败") leads its text.
    QMessageBox box(ToQtIcon(message.icon), QString::fromLatin1(kApplicationTitle),
                    QString::fromStdString(message.text), QMessageBox::Ok, parent);
    if (!message.caption.empty()) {
        box.setText(QString::fromStdString(message.caption));
        box.setInformativeText(QString::fromStdString(message.text));
    }
    box.exec();
}

QStringList QtDialogService::GetOpenFileNames(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, request.caption, request.directory, request.filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

QString QtDialogService::GetOpenFileName(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, request.caption, request.directory, request.filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

std::optional<QColor> QtDialogService::ChooseColor(QWidget* parent) {
    const QColor colour = QColorDialog::getColor(Qt::black, parent);
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return colour;
}

bool QtDialogService::StartDetached(const QString& program, const QStringList& arguments) {
    return LaunchDetached(program, arguments);
}

int QtDialogService::RunModal(QDialog& dialog) {
    return dialog.exec();
}

QMessageBox::StandardButton QtDialogService::Ask(QWidget* parent, const Message& message,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) {
    QMessageBox box(ToQtIcon(message.icon), QString::fromLatin1(kApplicationTitle),
                    QString::fromStdString(message.text), buttons, parent);
    box.setDefaultButton(defaultButton);
    // Escape means Cancel where Cancel is offered, else the default answer.
    box.setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                              : defaultButton);
    const int answer = box.exec();
    // The box's close button (Escape without an escape button) gives no standard button.
    return buttons.testFlag(static_cast<QMessageBox::StandardButton>(answer))
               ? static_cast<QMessageBox::StandardButton>(answer)
               : defaultButton;
}

QString QtDialogService::GetSaveFileName(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, request.caption, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

bool DialogService::OpenLocation(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool LaunchDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

}  // namespace pictor::gui
