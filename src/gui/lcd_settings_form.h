#pragma once

#include <QWidget>
#include <cstdint>

#include "core/device/lcd_settings.h"

class QComboBox;
class QLineEdit;

namespace pictor::gui {

class FieldExchange;

/// The controls of the module settings: RS485 address, baud rate, backlight,
/// foreground and background colour, with the identifiers the owning dialog uses.
/// Each list position is the value the settings frame carries.
class LcdSettingsForm final : public QWidget {
    Q_OBJECT
  public:
    struct Ids {
        int address;
        int baud;
        int backlight;
        int foreground;
        int background;
    };

    LcdSettingsForm(const Ids& ids, QWidget* parent = nullptr);

    /// Registers the address (validated 0 to 255) and then the four selections.
    void Bind(FieldExchange& exchange, device::LcdSettings& values);
    /// Copies the four selected positions into `values` (the address is left).
    void ReadSelections(device::LcdSettings& values) const;

    [[nodiscard]] QLineEdit* AddressEdit() const { return address_; }

  private:
    QLineEdit* address_;
    QComboBox* baud_;
    QComboBox* backlight_;
    QComboBox* foreground_;
    QComboBox* background_;
};

}  // namespace pictor::gui
