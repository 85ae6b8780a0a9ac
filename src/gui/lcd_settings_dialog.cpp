#include "gui/lcd_settings_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/control_tags.h"
#include "gui/dialog_service.h"

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
    setWindowTitle(QStringLiteral("LCD SETTING"));

    auto* read = Tag(new QPushButton(QStringLiteral("读设置")), 1115, "readSettingsButton");
    auto* write = Tag(new QPushButton(QStringLiteral("写设置")), 1116, "writeSettingsButton");
    auto* exit = Tag(new QPushButton(QStringLiteral("退出")), 2, "exitButton");
    read->setToolTip(QStringLiteral("Read the settings stored in the module"));
    write->setToolTip(QStringLiteral("Write these settings into the module"));
    exit->setToolTip(QStringLiteral("Close the dialog"));
    for (QPushButton* button : {read, write, exit}) {
        button->setAutoDefault(false);
    }
    connect(read, &QPushButton::clicked, this, &LcdSettingsDialog::OnReadSettings);
    connect(write, &QPushButton::clicked, this, &LcdSettingsDialog::OnWriteSettings);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    auto* actions = new QGridLayout;
    actions->addWidget(new QLabel(QStringLiteral("从LCD模块读出设置数据")), 0, 0);
    actions->addWidget(read, 0, 1);
    actions->addWidget(new QLabel(QStringLiteral("把设置数据写到LCD模块")), 1, 0);
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
    result_->setText(written ? QStringLiteral("写LCD设置数据: 成功")
                             : QStringLiteral("写LCD设置数据: 失败"));
    dialogs_.ShowMessage(this,
                         Message{"写LCD设置数据", written ? "成功" : "失败", MessageIcon::None});
}

void LcdSettingsDialog::OnReadSettings() {
    result_->clear();
    device::LcdSettingsReply reply;
    const auto outcome = link_.ReadLcdSettings(reply);
    if (!outcome) {
        return;
    }
    if (*outcome != device::Outcome::Ok) {
        result_->setText(QStringLiteral("读LCD设置数据: 失败"));
        dialogs_.ShowMessage(this, Message{"读LCD设置数据", "失败", MessageIcon::None});
        return;
    }
    values_ = device::ApplySettingsReply(values_, reply);
    exchange_.Push();
    result_->setText(QStringLiteral("读LCD设置数据: 成功"));
    repaint();
    dialogs_.ShowMessage(this, Message{"读LCD设置数据", "成功", MessageIcon::None});
}

}  // namespace pictor::gui
