#pragma once

#include <QDialog>
#include <optional>

#include "core/device/device_protocol.h"
#include "core/device/lcd_settings.h"
#include "gui/field_exchange.h"
#include "gui/lcd_settings_form.h"

class QLabel;

namespace pictor::gui {

class DialogService;

/// What the LCD settings dialog needs from the module link: the two settings
/// exchanges. Nothing when an exchange was refused (the refusal has been shown).
class LcdSettingsExchange {
  public:
    virtual ~LcdSettingsExchange() = default;
    virtual std::optional<device::Outcome> WriteLcdSettings(const device::LcdSettings& values) = 0;
    virtual std::optional<device::Outcome> ReadLcdSettings(device::LcdSettingsReply& reply) = 0;
};

/// "LCD SETTING": reads the module's own settings into the form and writes the
/// form's values to the module. Every opening starts from the defaults. A field
/// that fails its check stops a write before anything is sent; the outcome of
/// each exchange is shown in the dialog as well as in a message box.
class LcdSettingsDialog final : public QDialog {
    Q_OBJECT
  public:
    LcdSettingsDialog(LcdSettingsExchange& link, DialogService& dialogs, QWidget* parent = nullptr);

    [[nodiscard]] const device::LcdSettings& Values() const { return values_; }

    void OnReadSettings();
    void OnWriteSettings();

  private:
    LcdSettingsExchange& link_;
    DialogService& dialogs_;
    FieldExchange exchange_;
    device::LcdSettings values_;
    LcdSettingsForm* form_;
    QLabel* result_;  // the outcome of the last read or write
};

}  // namespace pictor::gui
