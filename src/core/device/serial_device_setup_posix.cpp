// The termios2 structures of <asm/termbits.h> clash with those of <termios.h>, so
// this translation unit uses the kernel's definitions only.
#include "core/device/serial_device_setup.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace pictor::device::detail {

namespace {

std::error_code LastErrno() {
    return {errno, std::generic_category()};
}

}  // namespace

std::error_code ConfigureSerialDevice(int fd, int baud) {
    if (baud <= 0) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) {
        return LastErrno();
    }
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY | INPCK | IUCLC | IMAXBEL);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS |
                                          HUPCL | CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= static_cast<tcflag_t>(CS8 | CLOCAL | CREAD | BOTHER | (BOTHER << IBSHIFT));
    tio.c_ispeed = static_cast<speed_t>(baud);
    tio.c_ospeed = static_cast<speed_t>(baud);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (ioctl(fd, TCSETS2, &tio) != 0) {
        return LastErrno();
    }

    // Both modem lines inactive: an RS485 adapter may use RTS or DTR for direction
    // control, and the module expects them low.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (ioctl(fd, TIOCMBIC, &lines) != 0 && errno != EINVAL && errno != ENOTTY &&
        errno != EOPNOTSUPP) {
        return LastErrno();
    }
    return {};
}

std::error_code SetExclusive(int fd, bool exclusive) {
    if (ioctl(fd, exclusive ? TIOCEXCL : TIOCNXCL) != 0) {
        return LastErrno();
    }
    return {};
}

}  // namespace pictor::device::detail
