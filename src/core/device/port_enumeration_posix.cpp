#include "core/device/port_enumeration.h"

namespace pictor::device {

std::vector<PortInfo> ListSerialPorts() {
    return ListSerialPorts(std::filesystem::path("/"));
}

}  // namespace pictor::device
