// The main window's serial line, module and download commands. The device link
// owns the open port and the flash state; jobs run on its thread and report into
// the progress bar and percentage text through the user-interface thread.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "core/common/text_format.h"
#include "core/device/port_open_failure.h"
#include "core/device/serial_port.h"
#include "core/settings/profile_file.h"
#include "gui/dialog_service.h"
#include "gui/main_window.h"
#include "gui/memory_map_dialog.h"
#include "gui/port_box.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

// The second line of "串口无法打开!": why the port did not open, and what helps.
std::string OpenFailureReason(const std::string& port, const std::string& baud,
                              std::error_code error) {
    switch (device::ClassifyPortOpenError(error)) {
        case device::PortOpenFailure::NoSuchPort:
            return FillPlaceholders(Translate("MainWindow", "No such device: %1.").toStdString(),
                                    {port});
        case device::PortOpenFailure::Busy:
            return FillPlaceholders(
                Translate("MainWindow", "%1 is busy: another program has it open.").toStdString(),
                {port});
        case device::PortOpenFailure::PermissionDenied:
            return FillPlaceholders(
                Translate("MainWindow",
                          "Permission denied on %1: add your user to the dialout group (sudo "
                          "usermod -aG dialout $USER) and log in again.")
                    .toStdString(),
                {port});
        case device::PortOpenFailure::BadBaudRate:
            return FillPlaceholders(
                Translate("MainWindow", "The baud rate %1 is not usable on %2.").toStdString(),
                {baud, port});
        case device::PortOpenFailure::Other:
            break;
    }
    return port + ": " + error.message();
}

// `first`, then each of `more` on a line of its own.
QString JoinLines(QString first, const std::vector<QString>& more) {
    for (const QString& line : more) {
        first += QLatin1Char('\n') + line;
    }
    return first;
}

}  // namespace

void MainWindow::OnOpenPort() {
    // The port and baud rate as the boxes show them now, whatever else the window holds.
    exchange_.Pull({portBox_, baudBox_});
    auto port = std::make_unique<device::SerialPort>();
    const int baud = settings::ParseLeadingInt(baudText_);
    if (!port->Open(portText_, baud)) {
        std::string text = Translate("MainWindow", "串口无法打开!").toStdString();
        if (port->LastOpenError()) {
            text += "\n" + OpenFailureReason(portText_, baudText_, port->LastOpenError());
        }
        ShowMessage(text, MessageIcon::None, Translate("MainWindow", "错误").toStdString());
        return;
    }
    if (!link_.AttachLine(std::move(port), messages_)) {
        return;  // refused while a job runs; the port just opened is closed again
    }
    closePortButton_->setEnabled(true);
    openPortButton_->setEnabled(false);
    settings::ProfileFile file(settingsPath_);
    settings::WritePortChoice(file, portText_, baudText_);
}

void MainWindow::OnClosePort() {
    // A running job keeps its port: the link refuses and says so.
    if (link_.HasLine() && link_.DetachLine(messages_) == nullptr) {
        return;
    }
    closePortButton_->setEnabled(false);
    openPortButton_->setEnabled(true);
    // Nothing is connected over a closed port.
    connectionState_ = ConnectionState::None;
    ShowConnectionState();
}

void MainWindow::OnConnect() {
    if (!link_.HasLine()) {
        ShowMessage(
            Translate("MainWindow", "The serial port is closed: open it first (\"打开串口\").")
                .toStdString(),
            MessageIcon::Exclamation, Translate("MainWindow", "信息").toStdString());
        return;
    }
    const auto result = link_.Connect(messages_);
    if (!result) {
        return;
    }
    ShowFlashType();
    if (result->outcome == device::Outcome::Ok) {
        // A success does not interrupt: the connection field and the status bar say it.
        statusBar()->showMessage(Translate("MainWindow", "成功连接") + QStringLiteral(" — ") +
                                 flashTypeBox_->currentText());
        connectionState_ = ConnectionState::Connected;
    } else {
        ShowMessage(Translate("MainWindow", "连接失败").toStdString(), MessageIcon::Stop,
                    Translate("MainWindow", "信息").toStdString());
        connectionState_ = ConnectionState::NotConnected;
    }
    ShowConnectionState();
}

void MainWindow::ShowConnectionState() {
    switch (connectionState_) {
        case ConnectionState::None:
            connectionText_.clear();
            break;
        case ConnectionState::Connected:
            connectionText_ = Translate("MainWindow", "已连接").toStdString();
            break;
        case ConnectionState::NotConnected:
            connectionText_ = Translate("MainWindow", "未连接").toStdString();
            break;
    }
    exchange_.Push({connectionEdit_});
}

void MainWindow::OnFlashTypeChanged() {
    const std::string text = flashTypeBox_->currentText().toStdString();
    link_.PickFlashType(text);
    memoryMap_->SetFlashType(text);
    settings::ProfileFile file(settingsPath_);
    settings::WriteFlashType(file, text);
}

void MainWindow::ShowFlashType() {
    const QString selected = QString::fromStdString(link_.State().selectedFlashType);
    flashTypeBox_->setCurrentIndex(flashTypeBox_->findText(selected));
}

void MainWindow::OnDownloadBin() {
    const QString path = dialogs_.GetOpenFileName(
        this, FileRequest{Translate("MainWindow", "Choose the .bin file to download"),
                          userState_.LastFolder(UserState::Folder::Bin),
                          Translate("MainWindow", "binary File (*.bin);;All File(*)"),
                          QStringLiteral("bin")});
    if (path.isEmpty()) {
        return;  // the user changed their mind
    }
    userState_.SetLastFolder(UserState::Folder::Bin, QFileInfo(path).absolutePath());
    device::DownloadRequest request;
    request.source = device::ImageSource::File;
    request.filePath = QDir::toNativeSeparators(path).toStdString();
    StartJob(std::move(request));
}

void MainWindow::StartResourceDownload(std::optional<device::LcdSettings> settings) {
    device::DownloadRequest request;
    request.source = device::ImageSource::Resource;
    request.image = resourceImage_;
    request.sendSettings = settings;
    StartJob(std::move(request));
}

void MainWindow::StartJob(device::DownloadRequest request) {
    request.backupDirectory = startDirectory_;
    // The job's messages wait until it has ended: it never waits in a box.
    jobMessages_.Take();
    const bool started = link_.StartDownload(
        std::move(request), progress_, jobMessages_, [this](const device::DownloadResult& result) {
            // On the job's thread: the rest is done on the user-interface thread.
            progress_.Post([this, result] { FinishJob(result); });
        });
    if (started) {
        cancelJobButton_->setEnabled(true);
        return;
    }
    for (const Message& message : jobMessages_.Take()) {
        messages_.Show(message);  // the refusal
    }
}

void MainWindow::FinishJob(const device::DownloadResult& result) {
    link_.Wait();  // the job has called back: only its release is left
    cancelJobButton_->setEnabled(false);
    ShowFlashType();
    // The progress row is cleared whatever the outcome.
    progressBar_->setValue(0);
    jobStatus_.clear();
    ShowJobStatus();

    // Whatever the job said besides its final message goes with it, in one place.
    std::vector<QString> notes;
    for (const Message& message : jobMessages_.Take()) {
        if (!(message == result.message)) {
            notes.push_back(QString::fromStdString(LocalizeCoreMessage(message).text));
        }
    }
    const QString headline = QString::fromStdString(LocalizeCoreMessage(result.message).text);
    switch (result.outcome) {
        case device::Outcome::Ok:
            PostResult(notes.empty() ? MessageBar::Kind::Positive : MessageBar::Kind::Warning,
                       JoinLines(headline + QLatin1Char(' ') + DownloadFigures(result), notes),
                       headline);
            break;
        case device::Outcome::Cancelled:
            // Asked for by the user: information, not an error.
            PostResult(MessageBar::Kind::Information, JoinLines(headline, notes), headline);
            break;
        case device::Outcome::Failed: {
            // An error that stops the task: one box with what happened and what to do.
            Message shown = LocalizeCoreMessage(result.message);
            shown.text = JoinLines(headline, notes).toStdString();
            if (const std::string advice = LineFailureAdvice(result); !advice.empty()) {
                shown.text += "\n\n" + advice;
            }
            statusBar()->showMessage(headline);
            dialogs_.ShowMessage(this, shown);
            break;
        }
    }
    RefreshStatus();
}

QString MainWindow::DownloadFigures(const device::DownloadResult& result) {
    const double seconds = result.totalTime.count();
    const double transfer = result.transferTime.count();
    const double rate =
        transfer > 0 ? static_cast<double>(result.bytesWritten) / 1024.0 / transfer : 0.0;
    return Translate("MainWindow", "(%1 bytes in %2 s, %3 KiB/s)")
        .arg(result.bytesWritten)
        .arg(QLocale::c().toString(seconds, 'f', 1), QLocale::c().toString(rate, 'f', 1));
}

std::string MainWindow::LineFailureAdvice(const device::DownloadResult& result) {
    if (result.outcome != device::Outcome::Failed) {
        return {};
    }
    if (result.lineLost) {
        // The device is gone: its port is closed and nothing counts as connected.
        const std::string port = portText_;
        OnClosePort();
        return FillPlaceholders(
            Translate("MainWindow",
                      "The connection to the module was lost: the device %1 was removed or "
                      "switched off, and its port has been closed. Connect the module, open the "
                      "port and connect again.")
                .toStdString(),
            {port});
    }
    if (result.unansweredWait.count() > 0) {
        connectionState_ = ConnectionState::NotConnected;
        ShowConnectionState();
        return FillPlaceholders(
            Translate("MainWindow",
                      "The module did not answer for %1 ms. Check its power and cable, then "
                      "connect again.")
                .toStdString(),
            {std::to_string(result.unansweredWait.count())});
    }
    return {};
}

void MainWindow::OnCancelJob() {
    link_.Cancel();
}

void MainWindow::CancelResourceDownload() {
    link_.Cancel();
}

bool MainWindow::LoadResourceImage(const std::string& path, QWidget* owner) {
    UiMessageSink ownerMessages(dialogs_, owner);
    auto image = device::LoadBinFile(path, link_.State().flashSizeCode, ownerMessages);
    if (!image) {
        // Nothing stays loaded that a later download could send by mistake.
        resourceImage_.reset();
        return false;
    }
    resourceImage_ = std::move(image);
    return true;
}

void MainWindow::OnResourceDownload() {
    // The field starts with the image the last conversion wrote, while it is there.
    std::error_code error;
    const std::string initial =
        !convertedImage_.empty() && std::filesystem::is_regular_file(convertedImage_, error)
            ? convertedImage_.string()
            : std::string();
    ResourceDownloadDialog dialog(*this, dialogs_, this, initial);
    dialogs_.RunModal(dialog);
}

void MainWindow::OnLcdSettings() {
    const auto result = link_.Connect(messages_);
    if (!result) {
        return;
    }
    ShowFlashType();
    if (result->outcome != device::Outcome::Ok) {
        ShowMessage(Translate("MainWindow", "连接LCM 失败").toStdString(), MessageIcon::Stop,
                    Translate("MainWindow", "信息").toStdString());
        return;
    }
    LcdSettingsDialog dialog(*this, dialogs_, this);
    dialogs_.RunModal(dialog);
}

std::optional<device::Outcome> MainWindow::WriteLcdSettings(const device::LcdSettings& values) {
    return link_.WriteSettings(values, messages_);
}

std::optional<device::Outcome> MainWindow::ReadLcdSettings(device::LcdSettingsReply& reply) {
    return link_.ReadSettings(reply, messages_);
}

}  // namespace pictor::gui
