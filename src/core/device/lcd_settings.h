#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace pictor::device {

/// The module's own settings as the settings frames carry them. The defaults are
/// what the settings dialogs start with: address 255, 9600 baud, backlight 5,
/// white on blue.
struct LcdSettings {
    std::uint8_t address = 255;   // RS485 device address, 0..255
    std::uint8_t baudIndex = 3;   // index into kLcdBaudRates, 0..6
    std::uint8_t backlight = 5;   // level 0..9
    std::uint8_t foreground = 4;  // index into kLcdColourNames, 0..5
    std::uint8_t background = 1;  // index into kLcdColourNames, 0..5

    friend bool operator==(const LcdSettings&, const LcdSettings&) = default;
};

/// Baud rates by baud-rate index.
inline constexpr std::array<int, 7> kLcdBaudRates{1200, 2400, 4800, 9600, 19200, 57600, 115200};
/// Colour names by colour index (the dialogs' lists, sorted).
inline constexpr std::array<std::string_view, 6> kLcdColourNames{"BLACK", "BLUE",  "GREEN",
                                                                 "RED",   "WHITE", "YELLOW"};
inline constexpr int kLcdBacklightLevels = 10;

/// True when every field is within its range (the address always is).
[[nodiscard]] bool IsValid(const LcdSettings& settings);

/// Bytes 4..8 of a settings read reply, as received.
struct LcdSettingsReply {
    std::uint8_t address = 0;
    std::uint8_t baudIndex = 0;
    std::uint8_t backlight = 0;
    std::uint8_t foreground = 0;
    std::uint8_t background = 0;

    friend bool operator==(const LcdSettingsReply&, const LcdSettingsReply&) = default;
};

/// Which reply values were out of range and therefore not taken.
struct LcdSettingsRejects {
    bool baudIndex = false;
    bool backlight = false;
    bool foreground = false;
    bool background = false;

    [[nodiscard]] bool Any() const { return baudIndex || backlight || foreground || background; }
};

/// Takes a read reply into `current` as the settings dialog does: the address is
/// always taken, every other value only when it is within its range; a value out
/// of range leaves that field as it was and is flagged in `rejects` (may be null).
LcdSettings ApplySettingsReply(LcdSettings current, const LcdSettingsReply& reply,
                               LcdSettingsRejects* rejects = nullptr);

}  // namespace pictor::device
