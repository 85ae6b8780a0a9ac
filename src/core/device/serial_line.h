#pragma once

#include <chrono>
#include <cstdint>
#include <span>

namespace pictor::device {

/// A byte line to the module: what the device protocol needs from a serial port.
/// `SerialPort` implements it over a real or pseudo terminal; tests use scripted
/// fakes. Calls on a closed line fail quietly (0 / false), `PurgeInput` excepted,
/// which always reports true.
class SerialLine {
  public:
    virtual ~SerialLine() = default;

    [[nodiscard]] virtual bool IsOpen() const = 0;

    /// Baud rate the line was opened with (0 when closed); used to size time-outs.
    [[nodiscard]] virtual int BaudRate() const = 0;

    /// Writes all of `data`; returns the count written, 0 on failure or when the
    /// write does not complete within count x 50 ms.
    virtual int Write(std::span<const std::uint8_t> data) = 0;

    /// Takes up to `buffer.size()` bytes that have already arrived; never waits.
    virtual int ReadAvailable(std::span<std::uint8_t> buffer) = 0;

    /// Collects exactly `buffer.size()` bytes, waiting at most `timeout` (without
    /// busy polling). True when all arrived; `buffer.size() == 0` is true at once.
    virtual bool ReadExact(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) = 0;

    /// Discards pending input. Always true, also on a closed line.
    virtual bool PurgeInput() = 0;

    /// True once the device hung up or failed with an I/O error (unplugged, the
    /// far end of a pseudo-terminal closed), until the line is opened again.
    [[nodiscard]] virtual bool LineLost() const { return false; }
};

/// The protocol's fixed pauses go through this, so tests can run them on a fake
/// clock and check them. Thread-safe.
class Pauser {
  public:
    virtual ~Pauser() = default;
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

}  // namespace pictor::device
