#include "gui/lcd_settings_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/control_tags.h"
#include "gui/dialog_service.h"
#include "gui/ui_language.h"

namespace pictor::gui {

LcdSettingsDialog::LcdSettingsDialog(LcdSettingsExchange& link, DialogService& dialogs,
                                     QWidget* parent)
    : QDialog(parent),
      link_(link),
      dialogs_(dialogs),
      exchange_(dialogs, this),
      form_(new LcdSettingsForm({1073, 1109, 1111, 1112, 1113})),
      result_(Name(new QLabel, "resultLabel")) {
    setObjectName(QStringLiteral("LcdSettingsDialog"));
    setWindowTitle(Translate("LcdSettingsDialog", "LCD SETTING"));

    auto* read =
        Tag(new QPushButton(Translate("LcdSettingsDialog", "读设置")), 1115, "readSettingsButton");
    auto* write =
        Tag(new QPushButton(Translate("LcdSettingsDialog", "写设置")), 1116, "writeSettingsButton");
    auto* exit = Tag(new QPushButton(Translate("LcdSettingsDialog", "退出")), 2, "exitButton");
    read->setToolTip(Translate("LcdSettingsDialog", "Read the settings stored in the module"));
    write->setToolTip(Translate("LcdSettingsDialog", "Write these settings into the module"));
    exit->setToolTip(Translate("LcdSettingsDialog", "Close the dialog"));
    for (QPushButton* button : {read, write, exit}) {
        button->setAutoDefault(false);
    }
    connect(read, &QPushButton::clicked, this, &LcdSettingsDialog::OnReadSettings);
    connect(write, &QPushButton::clicked, this, &LcdSettingsDialog::OnWriteSettings);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    auto* actions = new QGridLayout;
    actions->addWidget(new QLabel(Translate("LcdSettingsDialog", "从LCD模块读出设置数据")), 0, 0);
    actions->addWidget(read, 0, 1);
    actions->addWidget(new QLabel(Translate("LcdSettingsDialog", "把设置数据写到LCD模块")), 1, 0);
    actions->addWidget(write, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(form_);
    layout->addLayout(actions);
    layout->addWidget(result_);
    layout->addWidget(exit, 0, Qt::AlignRight);

    form_->Bind(exchange_, values_);
    exchange_.Push();
}

void LcdSettingsDialog::OnWriteSettings() {
    result_->clear();
    form_->ReadSelections(values_);
    // A failed check has shown its message; nothing goes to the module.
    if (!exchange_.Pull()) {
        return;
    }
    const auto outcome = link_.WriteLcdSettings(values_);
    if (!outcome) {
        return;  // refused; the refusal has been shown
    }
    const bool written = *outcome == device::Outcome::Ok;
    result_->setText(written ? Translate("LcdSettingsDialog", "写LCD设置数据: 成功")
                             : Translate("LcdSettingsDialog", "写LCD设置数据: 失败"));
    // Success is the result line's alone; a failure stops the task and says so.
    if (!written) {
        dialogs_.ShowMessage(
            this, Message{Translate("LcdSettingsDialog", "写LCD设置数据").toStdString(),
                          Translate("LcdSettingsDialog", "失败").toStdString(), MessageIcon::Stop});
    }
}

void LcdSettingsDialog::OnReadSettings() {
    result_->clear();
    device::LcdSettingsReply reply;
    const auto outcome = link_.ReadLcdSettings(reply);
    if (!outcome) {
        return;
    }
    if (*outcome != device::Outcome::Ok) {
        result_->setText(Translate("LcdSettingsDialog", "读LCD设置数据: 失败"));
        dialogs_.ShowMessage(
            this, Message{Translate("LcdSettingsDialog", "读LCD设置数据").toStdString(),
                          Translate("LcdSettingsDialog", "失败").toStdString(), MessageIcon::Stop});
        return;
    }
    values_ = device::ApplySettingsReply(values_, reply);
    exchange_.Push();
    result_->setText(Translate("LcdSettingsDialog", "读LCD设置数据: 成功"));
}

}  // namespace pictor::gui
