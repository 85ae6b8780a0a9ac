#include <windows.h>

#include <algorithm>
#include <charconv>
#include <utility>

#include "core/common/ascii_text.h"
#include "core/common/regular_file.h"
#include "core/device/line_timing.h"
#include "core/device/serial_port.h"

// The serial line over a Windows communications port. The handle is opened for
// overlapped I/O so that a read waiting for the module never holds up a write
// from another thread (synchronous I/O on one handle would be serialised), and
// every wait is a wait on an event with a time-out: the thread sleeps until the
// driver completes the transfer or the deadline passes.

namespace pictor::device {

namespace {

using Clock = std::chrono::steady_clock;

HANDLE AsHandle(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);  // NOLINT(performance-no-int-to-ptr)
}

// Milliseconds left until `deadline`, rounded up so that a wait never ends early
// and loops; 0 when it has passed.
DWORD MillisecondsUntil(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<DWORD>(std::min<std::int64_t>(ms, 1'000'000));
}

std::error_code ErrorOfOpen(DWORD error) {
    switch (error) {
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
            return std::make_error_code(std::errc::no_such_file_or_directory);
        case ERROR_BUSY:
            return std::make_error_code(std::errc::device_or_resource_busy);
        case ERROR_PRIVILEGE_NOT_HELD:
            return std::make_error_code(std::errc::permission_denied);
        default:
            // Not found, access denied, a sharing violation: as for any file.
            return FileErrorOfWindowsCode(error);
    }
}

// The event an overlapped transfer of the calling thread signals. A thread runs
// one transfer at a time, so one event per thread serves all of them and saves
// creating one per transfer (ReadFile and WriteFile reset it when they start).
HANDLE TransferEvent() {
    struct Event {
        HANDLE handle = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        Event() = default;
        Event(const Event&) = delete;
        Event& operator=(const Event&) = delete;
        ~Event() {
            if (handle != nullptr) {
                ::CloseHandle(handle);
            }
        }
    };
    thread_local Event event;
    return event.handle;
}

// One overlapped transfer: starts it, waits for it until `deadline` and, when
// the deadline passes first, cancels it. Returns the bytes transferred (a
// cancelled read may still have taken some); `completed` tells whether the
// transfer ended on its own without an error.
DWORD Transfer(HANDLE port, bool write, void* data, DWORD size, Clock::time_point deadline,
               bool& completed) {
    completed = false;
    OVERLAPPED io{};
    io.hEvent = TransferEvent();
    if (io.hEvent == nullptr) {
        return 0;
    }
    DWORD done = 0;
    BOOL ok = write ? ::WriteFile(port, data, size, &done, &io)
                    : ::ReadFile(port, data, size, &done, &io);
    if (!ok && ::GetLastError() == ERROR_IO_PENDING) {
        if (::WaitForSingleObject(io.hEvent, MillisecondsUntil(deadline)) != WAIT_OBJECT_0) {
            ::CancelIoEx(port, &io);
        }
        // Waits for the end of a cancelled transfer too, so `io` and `data` stay
        // valid until the driver is done with them.
        ok = ::GetOverlappedResult(port, &io, &done, TRUE);
    }
    completed = ok != FALSE;
    return done;
}

// The bytes the driver holds for reading.
DWORD QueuedInput(HANDLE port) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(port, &errors, &status)) {
        return 0;
    }
    return status.cbInQue;
}

std::error_code Configure(HANDLE port, int baud) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(port, &dcb)) {
        return {static_cast<int>(::GetLastError()), std::system_category()};
    }
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // Both modem lines inactive: an RS485 adapter may use RTS or DTR for
    // direction control, and the module expects them low.
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    if (!::SetCommState(port, &dcb)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    // No driver time-outs: a read waits until its buffer is full and a write until
    // all is sent; the deadlines are kept by the waits in Transfer.
    COMMTIMEOUTS timeouts{};
    if (!::SetCommTimeouts(port, &timeouts)) {
        return {static_cast<int>(::GetLastError()), std::system_category()};
    }
    ::PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    return {};
}

// A named mutex that marks `path` as in use by a Pictor process: null when
// another process holds it already (or it cannot be made), with `busy` set when
// that is the reason. Names may not hold backslashes, so those become '#'.
HANDLE ClaimPort(const std::string& path, bool& busy) {
    std::wstring name = L"Global\\pictor-serial-" + PathFromUtf8(path).wstring();
    std::replace(name.begin() + 7, name.end(), L'\\', L'#');
    HANDLE claim = ::CreateMutexW(nullptr, FALSE, name.c_str());
    busy = claim != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (busy) {
        ::CloseHandle(claim);
        return nullptr;
    }
    return claim;
}

}  // namespace

std::string DevicePathForPort(std::string_view portText) {
    const std::string_view text = TrimBlanks(portText);
    if (text.empty()) {
        return {};
    }
    if (text.substr(0, 2) == "\\\\") {
        return std::string(text);
    }
    if (StartsWithIgnoringAsciiCase(text, "COM")) {
        const std::string_view digits = text.substr(3);
        int number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
            number < 1) {
            return {};
        }
        return "\\\\.\\COM" + std::to_string(number);
    }
    return "\\\\.\\" + std::string(text);
}

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::FailOpen(std::error_code error, NativeHandle handle) {
    if (handle != kClosed) {
        ::CloseHandle(AsHandle(handle));
    }
    if (claim_ != kClosed) {
        ::CloseHandle(AsHandle(std::exchange(claim_, kClosed)));
    }
    lastOpenError_ = error;
    return false;
}

bool SerialPort::Open(const std::string& portText, int baud) {
    if (IsOpen()) {
        return true;
    }
    if (baud <= 0) {
        return FailOpen(std::make_error_code(std::errc::invalid_argument), kClosed);
    }
    const std::string path = DevicePathForPort(portText);
    if (path.empty()) {
        return FailOpen(std::make_error_code(std::errc::no_such_file_or_directory), kClosed);
    }
    bool busy = false;
    HANDLE claim = ClaimPort(path, busy);
    if (claim == nullptr) {
        return FailOpen(
            busy ? std::make_error_code(std::errc::device_or_resource_busy)
                 : std::error_code(static_cast<int>(::GetLastError()), std::system_category()),
            kClosed);
    }
    claim_ = reinterpret_cast<NativeHandle>(claim);
    // No sharing: a second opener gets a sharing violation while we hold the port.
    HANDLE port = ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return FailOpen(ErrorOfOpen(::GetLastError()), kClosed);
    }
    const auto handle = reinterpret_cast<NativeHandle>(port);
    if (::GetFileType(port) != FILE_TYPE_CHAR) {
        return FailOpen(std::make_error_code(std::errc::inappropriate_io_control_operation),
                        handle);
    }
    if (const std::error_code error = Configure(port, baud)) {
        return FailOpen(error, handle);
    }
    devicePath_ = path;
    exclusive_ = true;
    lastOpenError_.clear();
    baud_.store(baud);
    handle_.store(handle);
    return true;
}

bool SerialPort::Close() {
    const NativeHandle handle = handle_.exchange(kClosed);
    if (handle == kClosed) {
        return true;
    }
    ::CloseHandle(AsHandle(handle));
    if (claim_ != kClosed) {
        ::CloseHandle(AsHandle(std::exchange(claim_, kClosed)));
    }
    exclusive_ = false;
    baud_.store(0);
    devicePath_.clear();
    return true;
}

int SerialPort::Write(std::span<const std::uint8_t> data) {
    const NativeHandle handle = handle_.load();
    if (handle == kClosed || data.empty()) {
        return 0;
    }
    const auto deadline = Clock::now() + kWriteTimeoutPerByte * static_cast<int>(data.size());
    std::size_t written = 0;
    while (written < data.size()) {
        bool completed = false;
        // WriteFile takes a non-const buffer pointer but only reads from it.
        auto* bytes = const_cast<std::uint8_t*>(data.data() + written);
        const DWORD n = Transfer(AsHandle(handle), true, bytes,
                                 static_cast<DWORD>(data.size() - written), deadline, completed);
        written += n;
        if (!completed || (n == 0 && MillisecondsUntil(deadline) == 0)) {
            return written == data.size() ? static_cast<int>(written) : 0;
        }
    }
    return static_cast<int>(written);
}

int SerialPort::ReadAvailable(std::span<std::uint8_t> buffer) {
    const NativeHandle handle = handle_.load();
    if (handle == kClosed || buffer.empty()) {
        return 0;
    }
    const DWORD queued = QueuedInput(AsHandle(handle));
    if (queued == 0) {
        return 0;
    }
    // The bytes are there, so the read completes at once; the deadline is a guard.
    bool completed = false;
    const DWORD take = std::min<DWORD>(queued, static_cast<DWORD>(buffer.size()));
    return static_cast<int>(Transfer(AsHandle(handle), false, buffer.data(), take,
                                     Clock::now() + std::chrono::milliseconds(100), completed));
}

bool SerialPort::ReadExact(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) {
    if (buffer.empty()) {
        return true;
    }
    const NativeHandle handle = handle_.load();
    if (handle == kClosed) {
        return false;
    }
    const auto deadline = Clock::now() + timeout;
    std::size_t got = 0;
    while (got < buffer.size()) {
        bool completed = false;
        got += Transfer(AsHandle(handle), false, buffer.data() + got,
                        static_cast<DWORD>(buffer.size() - got), deadline, completed);
        if (!completed || (got < buffer.size() && MillisecondsUntil(deadline) == 0)) {
            return got == buffer.size();  // time-out, or the device failed
        }
    }
    return true;
}

bool SerialPort::PurgeInput() {
    const NativeHandle handle = handle_.load();
    if (handle != kClosed) {
        ::PurgeComm(AsHandle(handle), PURGE_RXCLEAR);
    }
    return true;
}

}  // namespace pictor::device
