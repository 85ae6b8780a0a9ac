#include "core/device/port_open_failure.h"

namespace pictor::device {

PortOpenFailure ClassifyPortOpenError(std::error_code error) {
    if (error == std::errc::no_such_file_or_directory || error == std::errc::no_such_device ||
        error == std::errc::no_such_device_or_address) {
        return PortOpenFailure::NoSuchPort;
    }
    if (error == std::errc::device_or_resource_busy) {
        return PortOpenFailure::Busy;
    }
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
        return PortOpenFailure::PermissionDenied;
    }
    if (error == std::errc::invalid_argument) {
        return PortOpenFailure::BadBaudRate;
    }
    return PortOpenFailure::Other;
}

}  // namespace pictor::device
