#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace pictor::device {

/// A serial port present on the system.
struct PortInfo {
    std::string path;         ///< device path to open, e.g. "/dev/ttyUSB0" or "COM5"
    std::string description;  ///< name of its /dev/serial/by-id link (on Windows its
                              ///< friendly name), empty when none

    friend bool operator==(const PortInfo&, const PortInfo&) = default;
};

/// Lists the serial ports present. On Windows: the serial ports of the Ports
/// device class (SetupAPI) with their friendly names, and those only registered
/// under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM (see `SelectWindowsSerialPorts`). Elsewhere: ttyS*,
/// ttyUSB*, ttyACM* and ttyAMA* devices that the kernel backs with hardware (a `device` entry under
/// /sys/class/tty/<name>, and for ttyS* a port `type` other than 0, which leaves
/// out the placeholders of the 8250 driver) and whose /dev node exists. Sorted by
/// kind, then number (ttyS2 before ttyS10). Never fails: unreadable directories
/// give fewer entries.
std::vector<PortInfo> ListSerialPorts();

/// The same on a tree rooted at `root` (root/sys/class/tty, root/dev,
/// root/dev/serial/by-id); paths in the result start with root/dev. For tests.
std::vector<PortInfo> ListSerialPorts(const std::filesystem::path& root);

/// Windows' port list from what the system reports: `portsClass`, the devices of
/// the Ports class (port name -> friendly name), which holds parallel ports
/// ("LPT1") beside the serial ones, and `registered`, the port names serial
/// drivers register under SERIALCOMM. Keeps the serial ports: every registered
/// one, and a class device named "COMn"; sorted by n, other names last in name
/// order. Plain logic, built on every platform so that it is tested anywhere.
std::vector<PortInfo> SelectWindowsSerialPorts(const std::map<std::string, std::string>& portsClass,
                                               const std::vector<std::string>& registered);

}  // namespace pictor::device
