#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/profile_file.h"

namespace pictor::settings {

/// The serial-port and flash choices of section "Scom", read once at start-up.
struct ScomSettings {
    std::string portText = "COM1";    // "COM"
    std::string baudText = "256000";  // "BIT"
    std::string flashTypeText = "64Mbit";
    int flashSizeCode = 8;                  // flash capacity in MiB: 2, 8, 16 or 32
    std::uint32_t imageStartSector = 4096;  // image start in flash, 512-byte sectors

    friend bool operator==(const ScomSettings&, const ScomSettings&) = default;
};

/// Reads "COM", "BIT", "FLASH_TYPE" and "DOWNLOAD_TYPE" and derives the start-up
/// values: flash size code from the flash type's leading number (256 → 32,
/// 128 → 16, else 8), image start from "DOWNLOAD_TYPE" (missing/empty → 4096,
/// "100" → 0, else 4096 for size code 8 and 12288 otherwise).
ScomSettings ReadScomSettings(const ProfileFile& file);

/// Flash size code for a flash type the user picks: 16 → 2, 128 → 16, 256 → 32,
/// anything else → 8.
int FlashSizeCodeForPickedType(std::string_view flashTypeText);

/// Writes the port and baud texts after a successful open ("COM", "BIT").
bool WritePortChoice(ProfileFile& file, std::string_view portText, std::string_view baudText);

/// Writes a picked flash type ("FLASH_TYPE").
bool WriteFlashType(ProfileFile& file, std::string_view flashTypeText);

/// The flash-type texts in the order of the flash-type box.
inline constexpr std::string_view kFlashTypeTexts[] = {"16Mbit", "32Mbit", "64Mbit", "128Mbit",
                                                       "256Mbit"};

}  // namespace pictor::settings
