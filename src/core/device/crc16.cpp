#include "core/device/crc16.h"

#include <array>

namespace pictor::device {

namespace {

// Multiples of the polynomial for every nibble value: 0x0000, 0x1021, 0x2042, … 0xF1EF.
constexpr std::array<std::uint16_t, 16> MakeNibbleTable() {
    std::array<std::uint16_t, 16> table{};
    for (unsigned n = 0; n < 16; ++n) {
        unsigned crc = n << 12;
        for (int bit = 0; bit < 4; ++bit) {
            crc = (crc & 0x8000U) != 0 ? (crc << 1) ^ 0x1021U : crc << 1;
        }
        table[n] = static_cast<std::uint16_t>(crc & 0xFFFFU);
    }
    return table;
}

constexpr auto kNibbleTable = MakeNibbleTable();

}  // namespace

std::uint16_t Crc16(std::span<const std::uint8_t> data) {
    unsigned crc = 0;
    for (const std::uint8_t byte : data) {
        crc = ((crc << 4) ^ kNibbleTable[((crc >> 12) ^ (byte >> 4)) & 0x0FU]) & 0xFFFFU;
        crc = ((crc << 4) ^ kNibbleTable[((crc >> 12) ^ (byte & 0x0FU)) & 0x0FU]) & 0xFFFFU;
    }
    return static_cast<std::uint16_t>(crc);
}

}  // namespace pictor::device
