#include <gtest/gtest.h>

#include <fstream>

#include "core/device/port_enumeration.h"
#include "support/temp_dir.h"

namespace pictor::device {
namespace {

namespace fs = std::filesystem;

class PortEnumerationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = dir_.Path();
        fs::create_directories(root_ / "sys/class/tty");
        fs::create_directories(root_ / "dev/serial/by-id");
    }

    // A tty as the kernel lists it: with hardware behind it (`device`), an 8250
    // port type when given, and a /dev node when wanted.
    void AddTty(const std::string& name, bool hardware, bool node, int uartType = -1) {
        const fs::path dir = root_ / "sys/class/tty" / name;
        fs::create_directories(dir);
        if (hardware) {
            fs::create_directories(dir / "device");
        }
        if (uartType >= 0) {
            std::ofstream(dir / "type") << uartType << '\n';
        }
        if (node) {
            std::ofstream(root_ / "dev" / name).put('\0');
        }
    }

    std::string Dev(const std::string& name) const { return (root_ / "dev" / name).string(); }

    test::TempDir dir_;
    fs::path root_;
};

TEST_F(PortEnumerationTest, ListsRealPortsInOrderWithByIdNames) {
    AddTty("ttyS0", true, true, 4);
    AddTty("ttyS1", true, true, 0);  // 8250 slot without a UART
    AddTty("ttyS2", false, true);    // no hardware behind it
    AddTty("ttyS10", true, true, 4);
    AddTty("ttyS3", true, true);  // no type file: taken as real
    AddTty("ttyUSB0", true, true);
    AddTty("ttyACM1", true, false);  // node missing
    AddTty("ttyACM0", true, true);
    AddTty("ttyAMA0", true, true);
    AddTty("tty0", true, true);     // a virtual console, not a serial port
    AddTty("ttyUSBx", true, true);  // not a port name
    AddTty("console", true, true);
    fs::create_symlink("../../ttyUSB0", root_ / "dev/serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0");
    fs::create_symlink("../../ttyACM7", root_ / "dev/serial/by-id/usb-gone-if00");

    const std::vector<PortInfo> expected = {
        {Dev("ttyS0"), ""},   {Dev("ttyS3"), ""},
        {Dev("ttyS10"), ""},  {Dev("ttyUSB0"), "usb-FTDI_FT232R_A1B2-if00-port0"},
        {Dev("ttyACM0"), ""}, {Dev("ttyAMA0"), ""},
    };
    EXPECT_EQ(ListSerialPorts(root_), expected);
}

TEST_F(PortEnumerationTest, MissingTreesGiveNoPorts) {
    EXPECT_TRUE(ListSerialPorts(root_).empty());
    EXPECT_TRUE(ListSerialPorts(root_ / "nowhere").empty());
}

}  // namespace
}  // namespace pictor::device
