#include "core/device/device_state.h"

#include <array>

namespace pictor::device {

namespace {

constexpr std::array<FlashKind, 5> kFlashKinds{{
    {1, 1, 4096, 8, "64Mbit"},
    {2, 2, 4096, 8, "64Mbit"},
    {3, 2, 4096, 16, "128Mbit"},
    {4, 2, 4096, 32, "256Mbit"},
    {5, 2, 2048, 2, "16Mbit"},
}};

}  // namespace

DeviceState DeviceStateFromSettings(const settings::ScomSettings& scom) {
    DeviceState state;
    state.transferMode = 1;
    state.imageStartSector = scom.imageStartSector;
    state.flashSizeCode = scom.flashSizeCode;
    state.flashTypeText = scom.flashTypeText;
    state.selectedFlashType = scom.flashTypeText;
    return state;
}

std::optional<FlashKind> LookUpFlashKind(std::uint8_t kind) {
    for (const FlashKind& row : kFlashKinds) {
        if (row.kind == kind) {
            return row;
        }
    }
    return std::nullopt;
}

void ApplyFlashKind(DeviceState& state, const FlashKind& kind) {
    state.transferMode = kind.transferMode;
    state.imageStartSector = kind.imageStartSector;
    state.flashSizeCode = kind.flashSizeCode;
    state.selectedFlashType = std::string(kind.flashType);
}

void PickFlashType(DeviceState& state, std::string_view flashTypeText) {
    state.flashTypeText = std::string(flashTypeText);
    state.selectedFlashType = state.flashTypeText;
    state.flashSizeCode = settings::FlashSizeCodeForPickedType(flashTypeText);
}

}  // namespace pictor::device
