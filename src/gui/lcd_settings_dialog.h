#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

#include "gui/field_exchange.h"
#include "gui/lcd_settings_form.h"

namespace pictor::gui {

class DialogService;

/// What the LCD settings dialog needs from the module link.
class LcdSettingsExchange {
  public:
    virtual ~LcdSettingsExchange() = default;
    /// Sends the settings; true when the frame went out whole and the module answered.
    virtual bool WriteLcdSettings(const LcdSettingsValues& values) = 0;
    /// Reads the module's settings: the 9-byte reply, or nothing on failure.
    virtual std::optional<std::array<std::uint8_t, 9>> ReadLcdSettings() = 0;
};

/// "LCD SETTING": reads the module's own settings into the form and writes the
/// form's values to the module. Every opening starts from the defaults.
class LcdSettingsDialog final : public QDialog {
    Q_OBJECT
  public:
    LcdSettingsDialog(LcdSettingsExchange& link, DialogService& dialogs, QWidget* parent = nullptr);

    [[nodiscard]] const LcdSettingsValues& Values() const { return values_; }

    void OnReadSettings();
    void OnWriteSettings();

  private:
    LcdSettingsExchange& link_;
    DialogService& dialogs_;
    FieldExchange exchange_;
    LcdSettingsValues values_;
    LcdSettingsForm* form_;
};

/// Applies a settings reply (bytes 4 to 8: address, baud, backlight, foreground,
/// background) to `values`: the address is always taken, every other value only
/// when it names an entry of its list.
void ApplySettingsReply(const std::array<std::uint8_t, 9>& reply, LcdSettingsValues& values);

}  // namespace pictor::gui
