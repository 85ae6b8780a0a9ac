#include "gui/model_name_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/control_tags.h"
#include "gui/dialog_service.h"
#include "gui/ui_language.h"

namespace pictor::gui {

ModelNameDialog::ModelNameDialog(DialogService& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      exchange_(dialogs, this),
      promptLabel_(Tag(new QLabel(Translate("ModelNameDialog", "Input the new model name")), 1057,
                       "promptLabel")),
      inputEdit_(Tag(new QLineEdit, 1058, "nameEdit")),
      browseButton_(
          Tag(new QPushButton(Translate("ModelNameDialog", "...")), 1074, "browseButton")),
      optionBox_(Tag(new QCheckBox(QStringLiteral("Check1")), 1080, "optionBox")) {
    setObjectName(QStringLiteral("ModelNameDialog"));
    setWindowTitle(Translate("ModelNameDialog", "Model name — Pictor"));

    auto* okButton = Tag(new QPushButton(Translate("ModelNameDialog", "OK")), 1, "okButton");
    auto* cancelButton =
        Tag(new QPushButton(Translate("ModelNameDialog", "Cancel")), 2, "cancelButton");
    browseButton_->setToolTip(Translate("ModelNameDialog", "Choose a file"));
    okButton->setToolTip(Translate("ModelNameDialog", "Use the name"));
    cancelButton->setToolTip(Translate("ModelNameDialog", "Close without a name"));
    okButton->setDefault(true);
    cancelButton->setAutoDefault(false);
    browseButton_->setAutoDefault(false);
    connect(okButton, &QPushButton::clicked, this, &ModelNameDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &ModelNameDialog::reject);
    connect(browseButton_, &QPushButton::clicked, this, &ModelNameDialog::OnBrowse);

    auto* inputRow = new QHBoxLayout;
    inputRow->addWidget(inputEdit_, 1);
    inputRow->addWidget(browseButton_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel_);
    layout->addLayout(inputRow);
    layout->addWidget(optionBox_);
    layout->addLayout(buttons);

    exchange_.Text(inputEdit_, inputText);
    exchange_.Check(optionBox_, optionChecked);
}

void ModelNameDialog::InitDialog() {
    exchange_.Push();
    browseButton_->setEnabled(browseEnabled != 0);
    promptLabel_->setText(prompt);
    optionBox_->setText(optionCaption);
    optionBox_->setEnabled(optionEnabled != 0);
    // An option without a caption has nothing to offer.
    optionBox_->setVisible(!optionCaption.isEmpty());
    browseButton_->setVisible(browseEnabled != 0);
    initialised_ = true;
}

void ModelNameDialog::showEvent(QShowEvent* event) {
    if (!initialised_) {
        InitDialog();
    }
    QDialog::showEvent(event);
}

void ModelNameDialog::OnBrowse() {
    const QString path = dialogs_.GetOpenFileName(this, FileRequest{{}, {}, fileFilter, {}});
    if (!path.isEmpty()) {
        inputText = path.toStdString();
        exchange_.Push();
    }
}

void ModelNameDialog::accept() {
    if (!exchange_.Pull()) {
        return;
    }
    if (inputText.empty()) {
        dialogs_.ShowMessage(
            this, Message{Translate("ModelNameDialog", "请选择正确文件!").toStdString(), "",
                          MessageIcon::Exclamation});
        return;
    }
    QDialog::accept();
}

}  // namespace pictor::gui
