// The Windows serial line's port names and the errors of opening one. The line
// itself is checked against pictor-sim under Wine by scripts/test-windows.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "core/device/port_open_failure.h"
#include "core/device/serial_port.h"

namespace pictor::device {
namespace {

TEST(DevicePathForPortWin32Test, NamesComPortsInTheDeviceNamespace) {
    struct Case {
        const char* text;
        const char* path;
    };
    const Case cases[] = {
        {"COM1", R"(\\.\COM1)"},
        {"com10", R"(\\.\COM10)"},  // COM10 and above open only with the prefix
        {" COM256 ", R"(\\.\COM256)"},
        {"COM", ""},
        {"COM0", ""},
        {"COM1x", ""},
        {"COM99999999999", ""},
        {"", ""},
        {R"(\\.\CNCA0)", R"(\\.\CNCA0)"},
        {"CNCB0", R"(\\.\CNCB0)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DevicePathForPort(c.text), c.path) << "port text '" << c.text << "'";
    }
}

TEST(SerialPortWin32Test, AMissingPortIsReportedAsSuch) {
    SerialPort port;
    EXPECT_FALSE(port.Open("COM200", 256000));
    EXPECT_EQ(ClassifyPortOpenError(port.LastOpenError()), PortOpenFailure::NoSuchPort)
        << port.LastOpenError().message();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Open("COM0", 256000));
    EXPECT_EQ(ClassifyPortOpenError(port.LastOpenError()), PortOpenFailure::NoSuchPort);
    EXPECT_FALSE(port.Open("COM1", 0));
    EXPECT_EQ(ClassifyPortOpenError(port.LastOpenError()), PortOpenFailure::BadBaudRate);
}

}  // namespace
}  // namespace pictor::device

#endif
