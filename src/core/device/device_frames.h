#pragma once

#include <array>
#include <cstdint>

#include "core/device/lcd_settings.h"

namespace pictor::device {

/// Request frames of the module protocol, byte for byte: 0xAA, a length byte that
/// counts the bytes after 0xAA, the command code, the parameters (numbers
/// big-endian, flash positions as 512-byte sector numbers) and, in the two
/// settings frames only, the end byte 0xED.
namespace command {
inline constexpr std::uint8_t kConnect = 0x90;
inline constexpr std::uint8_t kEraseBlock = 0x91;
inline constexpr std::uint8_t kSectorAck = 0x92;  // first byte of a mode-2 chunk's answer
inline constexpr std::uint8_t kWriteSector = 0x94;
inline constexpr std::uint8_t kReadSector = 0x95;
inline constexpr std::uint8_t kWriteSettings = 0x96;
inline constexpr std::uint8_t kReadSettings = 0x97;
}  // namespace command

inline constexpr std::uint8_t kFrameStart = 0xAA;
inline constexpr std::uint8_t kFrameEnd = 0xED;
inline constexpr std::uint32_t kSectorBytes = 512;

/// AA 04 90 55 AA with the magic (download jobs), AA 04 90 00 00 without.
std::array<std::uint8_t, 5> ConnectFrame(bool withMagic);

/// AA 03 91 BB. The block number must be below 256; callers never pass more
/// (the one-byte field cannot address further blocks).
std::array<std::uint8_t, 4> EraseBlockFrame(std::uint8_t block);

/// AA 08 94 S3 S2 S1 S0 LH LL for `dataLength` data bytes. Without a checksum the
/// length field is the data length (512 → 02 00); with one it announces the data
/// and the two checksum bytes: LH = length >> 8, LL = (length + 2) & 0xFF, which
/// gives 02 02 for 512.
std::array<std::uint8_t, 9> WriteSectorFrame(std::uint32_t sector, std::uint16_t dataLength,
                                             bool withChecksum);

/// AA 08 95 S3 S2 S1 S0 LH LL.
std::array<std::uint8_t, 9> ReadSectorFrame(std::uint32_t sector, std::uint16_t dataLength);

/// AA 08 96 AD BR BL FG BG ED.
std::array<std::uint8_t, 9> WriteSettingsFrame(const LcdSettings& settings);

/// AA 03 97 ED.
std::array<std::uint8_t, 4> ReadSettingsFrame();

}  // namespace pictor::device
