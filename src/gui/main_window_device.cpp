// The main window's serial line, module and download commands. The device link
// owns the open port and the flash state; jobs run on its thread and report into
// the progress bar and percentage text through the user-interface thread.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "core/device/serial_port.h"
#include "core/settings/profile_file.h"
#include "gui/dialog_service.h"
#include "gui/main_window.h"

namespace pictor::gui {

void MainWindow::OnOpenPort() {
    Pull();
    auto port = std::make_unique<device::SerialPort>();
    const int baud = settings::ParseLeadingInt(baudText_);
    if (!port->Open(portText_, baud)) {
        ShowMessage("串口无法打开!", MessageIcon::None, "错误");
        return;
    }
    if (!link_.AttachLine(std::move(port), messages_)) {
        return;  // refused while a job runs; the port just opened is closed again
    }
    closePortButton_->setEnabled(true);
    openPortButton_->setEnabled(false);
    Push();
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
    Push();
}

void MainWindow::OnConnect() {
    const auto result = link_.Connect(messages_);
    if (!result) {
        return;
    }
    ShowFlashType();
    if (result->outcome == device::Outcome::Ok) {
        ShowMessage("成功连接", MessageIcon::Information, "信息");
        connectionText_ = "已连接";
    } else {
        ShowMessage("连接失败", MessageIcon::Stop, "信息");
        connectionText_ = "未连接";
    }
    Push();
}

void MainWindow::OnFlashTypeChanged() {
    const std::string text = flashTypeBox_->currentText().toStdString();
    link_.PickFlashType(text);
    settings::ProfileFile file(settingsPath_);
    settings::WriteFlashType(file, text);
}

void MainWindow::ShowFlashType() {
    const QString selected = QString::fromStdString(link_.State().selectedFlashType);
    flashTypeBox_->setCurrentIndex(flashTypeBox_->findText(selected));
}

void MainWindow::OnDownloadBin() {
    Pull();
    const QString path = dialogs_.GetOpenFileName(
        this,
        FileRequest{QStringLiteral("Choose the .bin file to download"),
                    userState_.LastFolder(UserState::Folder::Bin),
                    QStringLiteral("binary File (*.bin);;All File(*)"), QStringLiteral("bin")});
    if (!path.isEmpty()) {
        userState_.SetLastFolder(UserState::Folder::Bin, QFileInfo(path).absolutePath());
    }
    device::DownloadRequest request;
    request.source = device::ImageSource::File;
    // A cancelled choice still runs the job, which then ends with "读取 Bin 档失败!".
    request.filePath = QDir::toNativeSeparators(path).toStdString();
    StartJob(std::move(request));
}

void MainWindow::StartResourceDownload(std::optional<device::LcdSettings> settings) {
    Pull();
    device::DownloadRequest request;
    request.source = device::ImageSource::Resource;
    request.image = resourceImage_;
    request.sendSettings = settings;
    StartJob(std::move(request));
}

void MainWindow::StartJob(device::DownloadRequest request) {
    request.backupDirectory = startDirectory_;
    const bool started = link_.StartDownload(std::move(request), progress_, messages_,
                                             [this](const device::DownloadResult&) {
                                                 // On the job's thread: hand the clean-up to the
                                                 // user-interface thread.
                                                 progress_.Post([this] {
                                                     cancelJobButton_->setEnabled(false);
                                                     ShowFlashType();
                                                 });
                                             });
    if (started) {
        cancelJobButton_->setEnabled(true);
    }
}

void MainWindow::OnCancelJob() {
    link_.Cancel();
}

bool MainWindow::LoadResourceImage(const std::string& path, QWidget* owner) {
    UiMessageSink ownerMessages(dialogs_, owner);
    auto image = device::LoadBinFile(path, link_.State().flashSizeCode, ownerMessages);
    if (!image) {
        return false;
    }
    resourceImage_ = std::move(image);
    return true;
}

void MainWindow::OnResourceDownload() {
    ResourceDownloadDialog dialog(*this, dialogs_, this);
    dialogs_.RunModal(dialog);
}

void MainWindow::OnLcdSettings() {
    const auto result = link_.Connect(messages_);
    if (!result) {
        return;
    }
    ShowFlashType();
    if (result->outcome != device::Outcome::Ok) {
        ShowMessage("连接LCM 失败", MessageIcon::Stop, "信息");
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
