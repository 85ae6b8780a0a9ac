// Which of the ports Windows reports are listed: the Ports device class holds
// parallel ports beside the serial ones.

#include <gtest/gtest.h>

#include "core/device/port_enumeration.h"

namespace pictor::device {
namespace {

TEST(WindowsPortListTest, ListsOnlySerialPortsInNumberOrder) {
    const std::map<std::string, std::string> portsClass = {
        {"COM10", "USB Serial Port (COM10)"},
        {"LPT1", "Printer Port (LPT1)"},
        {"LPT2", "ECP Printer Port (LPT2)"},
        {"COM3", "Communications Port (COM3)"},
        {"CNCA0", "Virtual serial port CNCA0"},  // serial only by its registration
        {"XYZ1", "some other port"},
    };
    const std::vector<std::string> registered = {"COM3", "CNCA0", "COM1", "COM2"};
    const std::vector<PortInfo> expected = {
        {"COM1", ""},
        {"COM2", ""},
        {"COM3", "Communications Port (COM3)"},
        {"COM10", "USB Serial Port (COM10)"},
        {"CNCA0", "Virtual serial port CNCA0"},
    };
    EXPECT_EQ(SelectWindowsSerialPorts(portsClass, registered), expected);
    EXPECT_TRUE(SelectWindowsSerialPorts({{"LPT1", "Printer Port (LPT1)"}}, {}).empty());
}

}  // namespace
}  // namespace pictor::device
