#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace pictor::device {

/// Bits on the wire per byte: start bit, 8 data bits, stop bit (8N1).
inline constexpr int kBitsPerByte = 10;

/// Time the module gets to answer the connect handshake.
inline constexpr std::chrono::milliseconds kConnectReplyTimeout{500};

/// Time the module gets to answer an erase request (erasing a 64 KiB block is slow).
inline constexpr std::chrono::milliseconds kEraseReplyTimeout{5000};

/// Fixed part of every other reply time-out: the module's own reaction time,
/// including programming a sector.
inline constexpr std::chrono::milliseconds kReplyBaseTimeout{2000};

/// A write of `count` bytes that does not complete within count x this fails.
inline constexpr std::chrono::milliseconds kWriteTimeoutPerByte{50};

/// Time `byteCount` bytes take on the wire at `baud` (10 bits per byte), rounded
/// up to whole microseconds. 0 when `baud` is not positive.
constexpr std::chrono::microseconds LineTime(std::size_t byteCount, int baud) {
    if (baud <= 0) {
        return std::chrono::microseconds{0};
    }
    const auto bits = static_cast<std::uint64_t>(byteCount) * kBitsPerByte;
    const auto micros = (bits * 1'000'000U + static_cast<std::uint64_t>(baud) - 1U) /
                        static_cast<std::uint64_t>(baud);
    return std::chrono::microseconds{static_cast<std::int64_t>(micros)};
}

/// Time-out for a reply or data block of `byteCount` bytes at `baud`: 2 s plus twice
/// the line time of those bytes, rounded up to whole milliseconds. With a baud rate
/// that is not positive (closed line) only the 2 s remain.
constexpr std::chrono::milliseconds ReplyTimeout(std::size_t byteCount, int baud) {
    const auto twice = 2 * LineTime(byteCount, baud);
    return kReplyBaseTimeout + std::chrono::ceil<std::chrono::milliseconds>(twice);
}

}  // namespace pictor::device
