#include "gui/resource_download_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/control_tags.h"
#include "gui/dialog_service.h"
#include "gui/ui_language.h"

namespace pictor::gui {

ResourceDownloadDialog::ResourceDownloadDialog(ResourceDownloadHost& host, DialogService& dialogs,
                                               QWidget* parent, std::string initialPath)
    : QDialog(parent),
      host_(host),
      dialogs_(dialogs),
      exchange_(dialogs, this),
      imagePath_(std::move(initialPath)),
      pathEdit_(Tag(new QLineEdit, 1118, "imagePathEdit")),
      sendBox_(Tag(new QCheckBox(Translate("ResourceDownloadDialog", "同时下载LCD设置")), 1124,
                   "sendSettingsCheck")),
      form_(new LcdSettingsForm({1119, 1109, 1121, 1122, 1123})) {
    setObjectName(QStringLiteral("ResourceDownloadDialog"));
    setWindowTitle(Translate("ResourceDownloadDialog", "图片资源下载"));

    auto* choose =
        Tag(new QPushButton(Translate("ResourceDownloadDialog", "...")), 1098, "chooseImageButton");
    auto* download =
        Tag(new QPushButton(Translate("ResourceDownloadDialog", "下载")), 1, "downloadButton");
    auto* cancel = Tag(new QPushButton(Translate("ResourceDownloadDialog", "取消下载")), 1126,
                       "cancelDownloadButton");
    auto* exit = Tag(new QPushButton(Translate("ResourceDownloadDialog", "退出")), 2, "exitButton");
    choose->setToolTip(
        Translate("ResourceDownloadDialog", "Choose the resource image (.bin) to download"));
    download->setToolTip(
        Translate("ResourceDownloadDialog",
                  "Write the image (and the settings when chosen) into the module"));
    cancel->setToolTip(Translate("ResourceDownloadDialog", "Stop the running download"));
    exit->setToolTip(Translate("ResourceDownloadDialog", "Close the dialog"));
    download->setDefault(true);
    choose->setAutoDefault(false);
    cancel->setAutoDefault(false);
    exit->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &ResourceDownloadDialog::OnCancelDownload);
    connect(choose, &QPushButton::clicked, this, &ResourceDownloadDialog::OnChooseImage);
    connect(download, &QPushButton::clicked, this, &ResourceDownloadDialog::OnDownload);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(sendBox_, &QCheckBox::clicked, this, &ResourceDownloadDialog::OnSendSettingsToggled);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(new QLabel(Translate("ResourceDownloadDialog", "资源文件：")));
    pathRow->addWidget(pathEdit_, 1);
    pathRow->addWidget(choose);

    auto* settingsGroup =
        Name(new QGroupBox(Translate("ResourceDownloadDialog", "LCD设置")), "settingsGroup");
    auto* settingsLayout = new QVBoxLayout(settingsGroup);
    settingsLayout->addWidget(sendBox_);
    settingsLayout->addWidget(form_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(download);
    buttons->addWidget(cancel);
    buttons->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addWidget(settingsGroup);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    exchange_.Text(pathEdit_, imagePath_);
    form_->Bind(exchange_, values_);
    exchange_.Push();
    form_->setEnabled(false);
}

void ResourceDownloadDialog::OnChooseImage() {
    const QString path = dialogs_.GetOpenFileName(
        this, FileRequest{{},
                          {},
                          Translate("ResourceDownloadDialog", "binary File (*.bin);;All File(*)"),
                          QStringLiteral("bin")});
    if (path.isEmpty()) {
        return;
    }
    const std::string native = QDir::toNativeSeparators(path).toStdString();
    if (!host_.LoadResourceImage(native, this)) {
        return;
    }
    imagePath_ = native;
    exchange_.Push();
}

void ResourceDownloadDialog::OnDownload() {
    exchange_.Pull({pathEdit_});
    if (RefuseFolder()) {
        return;
    }
    if (QString::fromStdString(imagePath_).trimmed().isEmpty()) {
        dialogs_.ShowMessage(
            this, Message{Translate("ResourceDownloadDialog",
                                    "Choose the resource image (*.bin) to download first.")
                              .toStdString(),
                          Translate("ResourceDownloadDialog", "提示").toStdString(),
                          MessageIcon::Exclamation});
        return;
    }
    // The settings travel with the job as values taken now, so a job never
    // touches this dialog after it was closed. A failed field check sends nothing.
    std::optional<device::LcdSettings> settings;
    if (sendSettings_ != 0) {
        form_->ReadSelections(values_);
        if (!exchange_.Pull()) {
            return;
        }
        settings = values_;
    }
    // The file the field names now is the one sent: loaded (and checked) again here.
    if (!host_.LoadResourceImage(imagePath_, this)) {
        return;
    }
    host_.StartResourceDownload(settings);
}

bool ResourceDownloadDialog::RefuseFolder() {
    const QString path = QString::fromStdString(imagePath_).trimmed();
    if (path.isEmpty() || !QFileInfo(path).isDir()) {
        return false;
    }
    dialogs_.ShowMessage(
        this, Message{Translate("ResourceDownloadDialog",
                                "%1 is a folder. Choose the resource image file (Icon.bin) "
                                "to download.")
                          .arg(path)
                          .toStdString(),
                      Translate("ResourceDownloadDialog", "提示").toStdString(),
                      MessageIcon::Exclamation});
    return true;
}

void ResourceDownloadDialog::OnCancelDownload() {
    host_.CancelResourceDownload();
}

void ResourceDownloadDialog::OnSendSettingsToggled() {
    // The settings' fields take part only when they are sent.
    sendSettings_ = sendBox_->isChecked() ? 1 : 0;
    form_->setEnabled(sendSettings_ != 0);
}

}  // namespace pictor::gui
