#include "core/device/lcd_settings.h"

namespace pictor::device {

bool IsValid(const LcdSettings& settings) {
    return settings.baudIndex < kLcdBaudRates.size() && settings.backlight < kLcdBacklightLevels &&
           settings.foreground < kLcdColourNames.size() &&
           settings.background < kLcdColourNames.size();
}

LcdSettings ApplySettingsReply(LcdSettings current, const LcdSettingsReply& reply,
                               LcdSettingsRejects* rejects) {
    LcdSettingsRejects flags;
    current.address = reply.address;
    auto take = [](std::uint8_t value, std::size_t limit, std::uint8_t& field, bool& rejected) {
        if (value < limit) {
            field = value;
        } else {
            rejected = true;
        }
    };
    take(reply.baudIndex, kLcdBaudRates.size(), current.baudIndex, flags.baudIndex);
    take(reply.backlight, kLcdBacklightLevels, current.backlight, flags.backlight);
    take(reply.foreground, kLcdColourNames.size(), current.foreground, flags.foreground);
    take(reply.background, kLcdColourNames.size(), current.background, flags.background);
    if (rejects != nullptr) {
        *rejects = flags;
    }
    return current;
}

}  // namespace pictor::device
