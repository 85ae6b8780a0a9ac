#pragma once

#include <system_error>

namespace pictor::device::detail {

/// Puts the open terminal `fd` into the line state the module needs: raw 8N1 at
/// `baud` (any rate the driver accepts, set through termios2/BOTHER), no flow
/// control, CLOCAL|CREAD, reads that never wait (VMIN = VTIME = 0), and DTR and
/// RTS inactive. Modem-line requests that the device does not support (a
/// pseudo-terminal) are skipped. Returns the errno of the first step that failed.
std::error_code ConfigureSerialDevice(int fd, int baud);

/// Sets or clears exclusive use of the terminal (TIOCEXCL / TIOCNXCL).
std::error_code SetExclusive(int fd, bool exclusive);

}  // namespace pictor::device::detail
