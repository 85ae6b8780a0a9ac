#include "core/device/device_frames.h"

namespace pictor::device {

namespace {

std::uint8_t Byte(std::uint32_t value, int shift) {
    return static_cast<std::uint8_t>((value >> shift) & 0xFFU);
}

std::array<std::uint8_t, 9> SectorFrame(std::uint8_t code, std::uint32_t sector, std::uint8_t lh,
                                        std::uint8_t ll) {
    return {kFrameStart,     0x08, code, Byte(sector, 24), Byte(sector, 16), Byte(sector, 8),
            Byte(sector, 0), lh,   ll};
}

}  // namespace

std::array<std::uint8_t, 5> ConnectFrame(bool withMagic) {
    if (withMagic) {
        return {kFrameStart, 0x04, command::kConnect, 0x55, 0xAA};
    }
    return {kFrameStart, 0x04, command::kConnect, 0x00, 0x00};
}

std::array<std::uint8_t, 4> EraseBlockFrame(std::uint8_t block) {
    return {kFrameStart, 0x03, command::kEraseBlock, block};
}

std::array<std::uint8_t, 9> WriteSectorFrame(std::uint32_t sector, std::uint16_t dataLength,
                                             bool withChecksum) {
    const std::uint32_t low = withChecksum ? dataLength + 2U : dataLength;
    return SectorFrame(command::kWriteSector, sector, Byte(dataLength, 8), Byte(low, 0));
}

std::array<std::uint8_t, 9> ReadSectorFrame(std::uint32_t sector, std::uint16_t dataLength) {
    return SectorFrame(command::kReadSector, sector, Byte(dataLength, 8), Byte(dataLength, 0));
}

std::array<std::uint8_t, 9> WriteSettingsFrame(const LcdSettings& settings) {
    return {kFrameStart,
            0x08,
            command::kWriteSettings,
            settings.address,
            settings.baudIndex,
            settings.backlight,
            settings.foreground,
            settings.background,
            kFrameEnd};
}

std::array<std::uint8_t, 4> ReadSettingsFrame() {
    return {kFrameStart, 0x03, command::kReadSettings, kFrameEnd};
}

}  // namespace pictor::device
