#pragma once

#include <QWidget>
#include <cstdint>

class QComboBox;
class QLineEdit;

namespace pictor::gui {

class FieldExchange;

/// The module settings the LCD settings and resource download dialogs edit. The
/// indices are list positions: baud 0 "1200" … 6 "115200"; backlight = level;
/// colours 0 BLACK, 1 BLUE, 2 GREEN, 3 RED, 4 WHITE, 5 YELLOW.
struct LcdSettingsValues {
    std::uint8_t address = 255;
    std::uint8_t baudIndex = 3;  // "9600"
    std::uint8_t backlight = 5;
    std::uint8_t foreground = 4;  // "WHITE"
    std::uint8_t background = 1;  // "BLUE"
};

/// The controls of the module settings: RS485 address, baud rate, backlight,
/// foreground and background colour, with the identifiers the owning dialog uses.
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
    void Bind(FieldExchange& exchange, LcdSettingsValues& values);
    /// Copies the four selected positions into `values` (the address is left).
    void ReadSelections(LcdSettingsValues& values) const;

    [[nodiscard]] QLineEdit* AddressEdit() const { return address_; }

  private:
    QLineEdit* address_;
    QComboBox* baud_;
    QComboBox* backlight_;
    QComboBox* foreground_;
    QComboBox* background_;
};

}  // namespace pictor::gui
