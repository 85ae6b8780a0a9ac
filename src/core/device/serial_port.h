#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "core/device/serial_line.h"

namespace pictor::device {

/// The device path for a port text. On POSIX systems "COM" followed by a number
/// n (any letter case) names /dev/ttyS<n-1>, so settings that name COM ports keep
/// working; any other text is a device path itself (/dev/ttyUSB0,
/// /dev/serial/by-id/..., /dev/pts/3) or a name in /dev. On Windows "COMn" names
/// \\.\COMn (so COM10 and above open too), a text starting with \\ is a
/// device path itself and any other name is taken from \\.\. Everywhere "COM"
/// without a number, "COM0" or a number that does not fit give an empty path
/// (no device).
std::string DevicePathForPort(std::string_view portText);

/// The serial line to the module over a POSIX terminal device or a Windows
/// communications port.
///
/// `Open` claims the device exclusively, sets raw 8N1 at the requested rate (any
/// rate, e.g. 256000), no flow control, DTR and RTS inactive. On POSIX that is an
/// advisory flock plus TIOCEXCL (except on pseudo-terminals, which would keep
/// that flag after a crashed user) and termios2; on Windows a handle opened
/// without sharing and a DCB. Reads never block the thread without a deadline
/// and never poll busily: `ReadExact` sleeps in poll(2), or in a wait for an
/// overlapped read on Windows, until the bytes arrive or its time-out passes, so
/// waiting costs no CPU.
///
/// States: closed (initial) and open. Operations on a closed port return 0 or
/// false, except `PurgeInput` and `Close`, which report true.
///
/// Thread-safety: one thread may read (`ReadAvailable`, `ReadExact`,
/// `PurgeInput`) while another writes (`Write`); `IsOpen` and `BaudRate` may be
/// called from any thread. `Open` and `Close` must not overlap any other call;
/// the device link above serialises jobs so that they do not.
class SerialPort final : public SerialLine {
  public:
    SerialPort() = default;
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    /// Opens `portText` (see `DevicePathForPort`) at `baud` bits per second. True
    /// when the port is open and configured, also when it was open already (it
    /// then keeps the settings it was opened with). A baud rate that is not
    /// positive fails. Every failure returns false; `LastOpenError` tells why.
    bool Open(const std::string& portText, int baud);

    /// Releases the device. Always true, also when the port was closed.
    bool Close();

    /// Why the last `Open` failed, as an errno value in the generic category:
    /// no_such_file_or_directory (missing device or a "COM" text without a
    /// number), device_or_resource_busy (in use), permission_denied (typically
    /// not in the dialout group), invalid_argument (baud rate), inappropriate_io_control_operation
    /// (not a terminal), ... Empty after a successful open.
    [[nodiscard]] std::error_code LastOpenError() const { return lastOpenError_; }

    /// The device path the port was opened on (empty when closed).
    [[nodiscard]] const std::string& DevicePath() const { return devicePath_; }

    [[nodiscard]] bool IsOpen() const override { return handle_.load() != kClosed; }
    [[nodiscard]] int BaudRate() const override { return baud_.load(); }

    /// Writes all of `data`, waiting for room without polling busily; gives up after
    /// data.size() x 50 ms and then returns 0. Returns data.size() on success.
    int Write(std::span<const std::uint8_t> data) override;

    /// Takes what has already arrived, up to `buffer.size()` bytes; never waits.
    int ReadAvailable(std::span<std::uint8_t> buffer) override;

    /// Collects exactly `buffer.size()` bytes before `timeout` (monotonic clock)
    /// runs out. False on time-out, on a closed port and when the device hangs up.
    bool ReadExact(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;

    /// Discards received bytes not yet read (tcflush TCIFLUSH, PurgeComm). Always true.
    bool PurgeInput() override;
    /// True once a read or write saw the device hang up or fail with an I/O
    /// error (POSIX); cleared by `Open` and `Close`.
    [[nodiscard]] bool LineLost() const override { return lost_.load(); }

  private:
    // The descriptor (POSIX) or the HANDLE (Windows) of the open device.
    using NativeHandle = std::intptr_t;
    static constexpr NativeHandle kClosed = -1;  // also INVALID_HANDLE_VALUE

    bool FailOpen(std::error_code error, NativeHandle handle);
    void MarkLostOn(int error);

    std::atomic<NativeHandle> handle_{kClosed};
    // Windows: a named mutex per port that other Pictor processes see, because
    // not every implementation of the Win32 API enforces the unshared open.
    NativeHandle claim_ = kClosed;
    std::atomic<int> baud_{0};
    std::atomic<bool> lost_{false};
    std::string devicePath_;
    bool exclusive_ = false;
    std::error_code lastOpenError_;
};

}  // namespace pictor::device
