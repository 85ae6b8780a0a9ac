#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

#include "core/common/ascii_text.h"
#include "core/device/line_timing.h"
#include "core/device/serial_device_setup.h"
#include "core/device/serial_port.h"

namespace pictor::device {

namespace {

using Clock = std::chrono::steady_clock;

std::error_code LastErrno() {
    return {errno, std::generic_category()};
}

// Milliseconds left until `deadline`, rounded up so that poll never wakes early
// and spins; 0 when it has passed.
int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<std::int64_t>(ms, 1'000'000));
}

// Unix 98 pseudo-terminal slaves (/dev/pts/N) use character majors 136..143.
bool IsPseudoTerminal(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) {
        return false;
    }
    const unsigned deviceMajor = major(info.st_rdev);
    return deviceMajor >= 136 && deviceMajor <= 143;
}

}  // namespace

std::string DevicePathForPort(std::string_view portText) {
    const std::string_view text = TrimBlanks(portText);
    if (text.find('/') == std::string_view::npos && StartsWithIgnoringAsciiCase(text, "COM")) {
        const std::string_view digits = text.substr(3);
        int number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
            number < 1) {
            return {};
        }
        return "/dev/ttyS" + std::to_string(number - 1);
    }
    if (text.empty()) {
        return {};
    }
    // A bare device name ("ttyUSB0") lives in /dev; anything with a slash is a path.
    if (text.find('/') == std::string_view::npos) {
        return "/dev/" + std::string(text);
    }
    return std::string(text);
}

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::FailOpen(std::error_code error, NativeHandle handle) {
    const int fd = static_cast<int>(handle);
    if (fd >= 0) {
        ::close(fd);
    }
    lastOpenError_ = error;
    return false;
}

bool SerialPort::Open(const std::string& portText, int baud) {
    if (IsOpen()) {
        return true;
    }
    if (baud <= 0) {
        return FailOpen(std::make_error_code(std::errc::invalid_argument), -1);
    }
    const std::string path = DevicePathForPort(portText);
    if (path.empty()) {
        return FailOpen(std::make_error_code(std::errc::no_such_file_or_directory), -1);
    }

    // Non-blocking so that opening a device with modem control cannot hang on
    // carrier detect; O_NOCTTY so that the port never becomes our controlling tty.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return FailOpen(LastErrno(), -1);
    }
    struct termios probe {};
    if (::tcgetattr(fd, &probe) != 0) {
        return FailOpen(LastErrno(), fd);
    }
    // The advisory lock stops a second user of the port even when it runs with
    // privileges that TIOCEXCL does not hold back, and it ends with the process.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const std::error_code error = errno == EWOULDBLOCK
                                          ? std::make_error_code(std::errc::device_or_resource_busy)
                                          : LastErrno();
        return FailOpen(error, fd);
    }
    // TIOCEXCL keeps other programs out of a real port; the kernel drops it on
    // the last close. A pseudo-terminal keeps the flag as long as its other side
    // lives, so a tool that died while holding it would lock everyone else out;
    // there the lock above alone guards the port.
    const bool exclusive = !IsPseudoTerminal(fd);
    if (exclusive) {
        if (const std::error_code error = detail::SetExclusive(fd, true)) {
            return FailOpen(error, fd);
        }
    }
    if (const std::error_code error = detail::ConfigureSerialDevice(fd, baud)) {
        if (exclusive) {
            detail::SetExclusive(fd, false);
        }
        return FailOpen(error, fd);
    }
    ::tcflush(fd, TCIOFLUSH);

    devicePath_ = path;
    exclusive_ = exclusive;
    lastOpenError_.clear();
    baud_.store(baud);
    lost_.store(false);
    handle_.store(fd);
    return true;
}

bool SerialPort::Close() {
    const int fd = static_cast<int>(handle_.exchange(kClosed));
    if (fd < 0) {
        return true;
    }
    if (exclusive_) {
        detail::SetExclusive(fd, false);
        exclusive_ = false;
    }
    ::close(fd);
    baud_.store(0);
    lost_.store(false);
    devicePath_.clear();
    return true;
}

void SerialPort::MarkLostOn(int error) {
    // What a terminal gives once its device is unplugged or its far end closed.
    if (error == EIO || error == ENXIO || error == ENODEV) {
        lost_.store(true);
    }
}

int SerialPort::Write(std::span<const std::uint8_t> data) {
    const int fd = static_cast<int>(handle_.load());
    if (fd < 0 || data.empty()) {
        return 0;
    }
    const auto deadline = Clock::now() + kWriteTimeoutPerByte * static_cast<int>(data.size());
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            MarkLostOn(errno);
            return 0;
        }
        const int waitMs = MillisecondsUntil(deadline);
        if (waitMs == 0) {
            return 0;
        }
        pollfd pfd{fd, POLLOUT, 0};
        const int ready = ::poll(&pfd, 1, waitMs);
        if (ready < 0 && errno != EINTR) {
            return 0;
        }
        if (ready > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            if ((pfd.revents & (POLLERR | POLLHUP)) != 0) {
                lost_.store(true);
            }
            return 0;
        }
    }
    return static_cast<int>(written);
}

int SerialPort::ReadAvailable(std::span<std::uint8_t> buffer) {
    const int fd = static_cast<int>(handle_.load());
    if (fd < 0 || buffer.empty()) {
        return 0;
    }
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n > 0) {
            return static_cast<int>(n);
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return 0;
    }
}

bool SerialPort::ReadExact(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) {
    if (buffer.empty()) {
        return true;
    }
    const int fd = static_cast<int>(handle_.load());
    if (fd < 0) {
        return false;
    }
    const auto deadline = Clock::now() + timeout;
    std::size_t got = 0;
    bool lineGone = false;
    for (;;) {
        // With VMIN = VTIME = 0 a read returns 0 (or EAGAIN) when nothing is queued.
        const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            if (got == buffer.size()) {
                return true;
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            // A device error, e.g. EIO after the far end went away.
            MarkLostOn(errno);
            return false;
        }
        if (lineGone) {
            lost_.store(true);
            return false;  // hung up and nothing left to read
        }
        const int waitMs = MillisecondsUntil(deadline);
        if (waitMs == 0) {
            return false;
        }
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, waitMs);
        if (ready < 0 && errno != EINTR) {
            return false;
        }
        if (ready > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            lineGone = true;  // take what is still queued, then give up
        }
    }
}

bool SerialPort::PurgeInput() {
    const int fd = static_cast<int>(handle_.load());
    if (fd >= 0) {
        ::tcflush(fd, TCIFLUSH);
    }
    return true;
}

}  // namespace pictor::device
