#pragma once

#include <system_error>

namespace pictor::device {

/// Why a serial port could not be opened, in the terms a user can act on.
enum class PortOpenFailure {
    NoSuchPort,        // the device does not exist
    Busy,              // another program holds it
    PermissionDenied,  // the user may not open it (not in the dialout group)
    BadBaudRate,       // the line refused the baud rate
    Other,
};

/// Classifies `SerialPort::LastOpenError()`. Pure and thread-safe.
PortOpenFailure ClassifyPortOpenError(std::error_code error);

}  // namespace pictor::device
