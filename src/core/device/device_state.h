#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/scom_settings.h"

namespace pictor::device {

/// What the host knows about the module's flash: set at start-up from the "Scom"
/// settings, changed by every connect and by the user picking a flash type.
/// A plain value; `DeviceLink` keeps the current one.
struct DeviceState {
    /// 1: plain sectors, checked by reading them back; 2: sectors with a CRC-16
    /// that the module acknowledges.
    int transferMode = 1;
    /// Flash address of the image in 512-byte sectors.
    std::uint32_t imageStartSector = 4096;
    /// Flash capacity in MiB: 2, 8, 16 or 32.
    int flashSizeCode = 8;
    /// The flash type the user last picked (stored in the settings file).
    std::string flashTypeText = "64Mbit";
    /// The entry the flash-type box shows. A connect selects an entry without
    /// touching `flashTypeText`.
    std::string selectedFlashType = "64Mbit";

    friend bool operator==(const DeviceState&, const DeviceState&) = default;
};

/// The start-up state: transfer mode 1 and the flash values read from "Scom".
DeviceState DeviceStateFromSettings(const settings::ScomSettings& scom);

/// One row of the flash-kind table: what a connect reply's kind byte sets.
struct FlashKind {
    int kind = 0;
    int transferMode = 1;
    std::uint32_t imageStartSector = 4096;
    int flashSizeCode = 8;
    std::string_view flashType = "64Mbit";
};

/// The row for a kind byte 1..5; nullopt for any other value.
std::optional<FlashKind> LookUpFlashKind(std::uint8_t kind);

/// Applies a kind to the state as a connect does: mode, image start, size code and
/// the selected flash-type entry. `flashTypeText` is left alone.
void ApplyFlashKind(DeviceState& state, const FlashKind& kind);

/// What a reply that names no known kind (or does not start with 0x90) sets:
/// mode 1, image start 4096, size code 8, entry "64Mbit".
inline constexpr FlashKind kUnknownReplyKind{0, 1, 4096, 8, "64Mbit"};

/// The user picks a flash type: stores the text, selects it and sets the size code
/// from its leading number (16 → 2, 128 → 16, 256 → 32, anything else → 8).
void PickFlashType(DeviceState& state, std::string_view flashTypeText);

}  // namespace pictor::device
