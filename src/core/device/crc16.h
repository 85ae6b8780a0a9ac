#pragma once

#include <cstdint>
#include <span>

namespace pictor::device {

/// CRC-16 with polynomial 0x1021, initial value 0, no reflection, no final XOR
/// (CRC-16/XMODEM), computed a nibble at a time, high nibble first. The check
/// value over "123456789" is 0x31C3; an empty input gives 0. On the wire the two
/// bytes follow the data low byte first.
std::uint16_t Crc16(std::span<const std::uint8_t> data);

}  // namespace pictor::device
