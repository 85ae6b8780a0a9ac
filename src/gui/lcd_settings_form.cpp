#include "gui/lcd_settings_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "gui/control_tags.h"
#include "gui/field_exchange.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

std::uint8_t Selection(const QComboBox* combo) {
    // A byte-sized member keeps the low byte of "none" (-1).
    return static_cast<std::uint8_t>(combo->currentIndex() & 0xFF);
}

}  // namespace

LcdSettingsForm::LcdSettingsForm(const Ids& ids, QWidget* parent)
    : QWidget(parent),
      address_(Tag(new QLineEdit, ids.address, "addressEdit")),
      baud_(Tag(new QComboBox, ids.baud, "baudBox")),
      backlight_(Tag(new QComboBox, ids.backlight, "backlightBox")),
      foreground_(Tag(new QComboBox, ids.foreground, "foregroundBox")),
      background_(Tag(new QComboBox, ids.background, "backgroundBox")) {
    setObjectName(QStringLiteral("lcdSettingsForm"));
    // Digits only; the range is checked when the field is read.
    address_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), address_));
    for (int rate : device::kLcdBaudRates) {
        baud_->addItem(QString::number(rate));
    }
    for (int level = 0; level < device::kLcdBacklightLevels; ++level) {
        backlight_->addItem(QString::number(level));
    }
    // The colour lists are sorted; a colour's code is its position here.
    for (std::string_view name : device::kLcdColourNames) {
        const QString text = QString::fromLatin1(name.data(), static_cast<int>(name.size()));
        foreground_->addItem(text);
        background_->addItem(text);
    }

    auto* layout = new QFormLayout(this);
    layout->addRow(Translate("LcdSettingsForm", "RS485设备地址"), address_);
    layout->addRow(Translate("LcdSettingsForm", "串口波特率"), baud_);
    layout->addRow(Translate("LcdSettingsForm", "背光亮度"), backlight_);
    layout->addRow(Translate("LcdSettingsForm", "前景色"), foreground_);
    layout->addRow(Translate("LcdSettingsForm", "背景色"), background_);
}

void LcdSettingsForm::Bind(FieldExchange& exchange, device::LcdSettings& values) {
    exchange.Byte(address_, values.address);
    exchange.ComboIndex(baud_, values.baudIndex);
    exchange.ComboIndex(backlight_, values.backlight);
    exchange.ComboIndex(foreground_, values.foreground);
    exchange.ComboIndex(background_, values.background);
}

void LcdSettingsForm::ReadSelections(device::LcdSettings& values) const {
    values.baudIndex = Selection(baud_);
    values.backlight = Selection(backlight_);
    values.foreground = Selection(foreground_);
    values.background = Selection(background_);
}

}  // namespace pictor::gui
