#include "core/settings/scom_settings.h"

namespace pictor::settings {

namespace {

constexpr std::string_view kScom = "Scom";

// Missing or empty "Scom" texts give their default. The port and the baud rate
// are written back after each open, and a port may be a long device path, so
// they are read whole; the flash type only counts by its leading number.
std::string ScomText(const ProfileFile& file, std::string_view key, std::string_view fallback,
                     std::size_t maxLength = ProfileFile::kShortValue) {
    std::string value = file.GetString(kScom, key, "", maxLength);
    return value.empty() ? std::string(fallback) : value;
}

}  // namespace

ScomSettings ReadScomSettings(const ProfileFile& file) {
    ScomSettings scom;
    scom.portText = ScomText(file, "COM", "COM1", ProfileFile::kWholeValue);
    scom.baudText = ScomText(file, "BIT", "256000", ProfileFile::kWholeValue);
    scom.flashTypeText = ScomText(file, "FLASH_TYPE", "64Mbit");
    switch (ParseLeadingInt(scom.flashTypeText)) {
        case 256:
            scom.flashSizeCode = 32;
            break;
        case 128:
            scom.flashSizeCode = 16;
            break;
        default:
            scom.flashSizeCode = 8;
            break;
    }
    const std::string downloadType =
        file.GetString(kScom, "DOWNLOAD_TYPE", "", ProfileFile::kShortValue);
    if (downloadType.empty()) {
        scom.imageStartSector = 4096;
    } else if (ParseLeadingInt(downloadType) == 100) {
        scom.imageStartSector = 0;
    } else {
        scom.imageStartSector = scom.flashSizeCode == 8 ? 4096 : 12288;
    }
    return scom;
}

int FlashSizeCodeForPickedType(std::string_view flashTypeText) {
    switch (ParseLeadingInt(flashTypeText)) {
        case 16:
            return 2;
        case 128:
            return 16;
        case 256:
            return 32;
        default:
            return 8;
    }
}

bool WritePortChoice(ProfileFile& file, std::string_view portText, std::string_view baudText) {
    const bool portOk = file.WriteString(kScom, "COM", portText);
    return file.WriteString(kScom, "BIT", baudText) && portOk;
}

bool WriteFlashType(ProfileFile& file, std::string_view flashTypeText) {
    return file.WriteString(kScom, "FLASH_TYPE", flashTypeText);
}

}  // namespace pictor::settings
