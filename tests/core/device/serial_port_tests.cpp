#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "core/device/serial_port.h"
#include "support/unprivileged.h"

namespace pictor::device {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(DevicePathForPortTest, MapsComNamesAndKeepsPaths) {
    struct Case {
        const char* text;
        const char* path;
    };
    const Case cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"COM12", "/dev/ttyS11"},
        {"com3", "/dev/ttyS2"},
        {"Com9", "/dev/ttyS8"},
        {" COM2 ", "/dev/ttyS1"},
        {"COM", ""},
        {"COM0", ""},
        {"COMX", ""},
        {"COM1x", ""},
        {"COM-1", ""},
        {"COM99999999999", ""},
        {"", ""},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/dev/serial/by-id/usb-FTDI_A1-if00-port0", "/dev/serial/by-id/usb-FTDI_A1-if00-port0"},
        {"/dev/pts/7", "/dev/pts/7"},
        {"ttyACM0", "/dev/ttyACM0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DevicePathForPort(c.text), c.path) << "port text '" << c.text << "'";
    }
}

TEST(SerialPortTest, ClosedPortFailsQuietly) {
    SerialPort port;
    std::array<std::uint8_t, 4> buffer{1, 2, 3, 4};
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.BaudRate(), 0);
    EXPECT_EQ(port.Write(buffer), 0);
    EXPECT_EQ(port.ReadAvailable(buffer), 0);
    EXPECT_FALSE(port.ReadExact(buffer, 10ms));
    EXPECT_TRUE(port.ReadExact(std::span<std::uint8_t>{}, 0ms));
    EXPECT_TRUE(port.PurgeInput());
    EXPECT_TRUE(port.Close());
    EXPECT_TRUE(port.Close());
}

TEST(SerialPortTest, OpenFailuresKeepTheReason) {
    struct Case {
        const char* port;
        int baud;
        std::errc reason;
    };
    const Case cases[] = {
        {"/dev/pictor-no-such-port", 9600, std::errc::no_such_file_or_directory},
        {"COM0", 9600, std::errc::no_such_file_or_directory},
        {"COM", 9600, std::errc::no_such_file_or_directory},
        {"/dev/null", 9600, std::errc::inappropriate_io_control_operation},
        {"/dev/null", 0, std::errc::invalid_argument},
        {"/dev/null", -9600, std::errc::invalid_argument},
    };
    for (const Case& c : cases) {
        SerialPort port;
        EXPECT_FALSE(port.Open(c.port, c.baud)) << c.port << " @ " << c.baud;
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(port.LastOpenError(), std::make_error_code(c.reason))
            << c.port << " @ " << c.baud;
    }
}

// A pseudo-terminal pair: the port opens the far end, the test plays the module
// on the master side.
class PtyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::array<char, 128> name{};
        int slave = -1;
        ASSERT_EQ(::openpty(&master_, &slave, name.data(), nullptr, nullptr), 0);
        ::close(slave);
        path_ = name.data();
        const int flags = ::fcntl(master_, F_GETFL);
        ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    }
    void TearDown() override {
        if (master_ >= 0) {
            ::close(master_);
        }
    }

    void MasterWrite(std::span<const std::uint8_t> bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads `count` bytes from the master side, waiting at most 5 s.
    std::vector<std::uint8_t> MasterRead(std::size_t count) {
        std::vector<std::uint8_t> bytes;
        const auto deadline = Clock::now() + 5s;
        while (bytes.size() < count && Clock::now() < deadline) {
            pollfd pfd{master_, POLLIN, 0};
            if (::poll(&pfd, 1, 100) <= 0) {
                continue;
            }
            std::array<std::uint8_t, 512> chunk{};
            const ssize_t n =
                ::read(master_, chunk.data(), std::min(chunk.size(), count - bytes.size()));
            if (n > 0) {
                bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
            }
        }
        return bytes;
    }

    int master_ = -1;
    std::string path_;
};

TEST_F(PtyTest, OpenTwiceKeepsTheFirstSettingsAndCloseReturnsToClosed) {
    SerialPort port;
    ASSERT_TRUE(port.Open(path_, 256000)) << port.LastOpenError().message();
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.BaudRate(), 256000);
    EXPECT_EQ(port.DevicePath(), path_);
    EXPECT_FALSE(port.LastOpenError());

    EXPECT_TRUE(port.Open(path_, 9600));
    EXPECT_EQ(port.BaudRate(), 256000);

    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.BaudRate(), 0);
    EXPECT_TRUE(port.Close());

    // The exclusive claim ends with the close: the port opens again at a new rate.
    ASSERT_TRUE(port.Open(path_, 12345)) << port.LastOpenError().message();
    EXPECT_EQ(port.BaudRate(), 12345);
}

TEST_F(PtyTest, SecondOpenerIsToldThePortIsBusy) {
    SerialPort first;
    ASSERT_TRUE(first.Open(path_, 256000));
    SerialPort second;
    EXPECT_FALSE(second.Open(path_, 256000));
    EXPECT_EQ(second.LastOpenError(), std::make_error_code(std::errc::device_or_resource_busy));
    first.Close();
    EXPECT_TRUE(second.Open(path_, 256000)) << second.LastOpenError().message();
}

TEST_F(PtyTest, PortOfAProcessThatDiedWithoutClosingOpensAgain) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SerialPort port;
        ::_exit(port.Open(path_, 256000) ? 0 : 1);  // no Close, no destructor
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    SerialPort port;
    EXPECT_TRUE(port.Open(path_, 256000)) << port.LastOpenError().message();
}

TEST_F(PtyTest, PermissionDeniedIsReported) {
    ASSERT_EQ(::chmod(path_.c_str(), 0), 0);
    // The open runs without root, which opens the device regardless of its mode.
    const int result = pictor::test::RunUnprivileged([this] {
        SerialPort port;
        if (port.Open(path_, 9600)) {
            return 1;
        }
        return port.LastOpenError() == std::make_error_code(std::errc::permission_denied) ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(PtyTest, EveryByteValuePassesUnchangedBothWays) {
    // Raw mode: no CR/LF mapping, no XON/XOFF, no signal characters, no echo.
    std::vector<std::uint8_t> all(256);
    std::iota(all.begin(), all.end(), 0);
    SerialPort port;
    ASSERT_TRUE(port.Open(path_, 256000));

    EXPECT_EQ(port.Write(all), 256);
    EXPECT_EQ(MasterRead(256), all);

    MasterWrite(all);
    std::vector<std::uint8_t> received(256);
    ASSERT_TRUE(port.ReadExact(received, 5s));
    EXPECT_EQ(received, all);
    // Nothing was echoed back to the sender.
    std::array<std::uint8_t, 1> extra{};
    EXPECT_EQ(::read(master_, extra.data(), 1), -1);
}

TEST_F(PtyTest, ReadAvailableTakesWhatArrivedWithoutWaiting) {
    SerialPort port;
    ASSERT_TRUE(port.Open(path_, 115200));
    std::array<std::uint8_t, 64> buffer{};
    EXPECT_EQ(port.ReadAvailable(buffer), 0);

    const std::array<std::uint8_t, 5> sent{0x90, 0x01, 0xAA, 0x0D, 0x0A};
    MasterWrite(sent);
    std::vector<std::uint8_t> got;
    const auto deadline = Clock::now() + 5s;
    while (got.size() < sent.size() && Clock::now() < deadline) {
        const int n = port.ReadAvailable(std::span(buffer).first(2));
        ASSERT_LE(n, 2);
        got.insert(got.end(), buffer.begin(), buffer.begin() + n);
        if (n == 0) {
            std::this_thread::sleep_for(1ms);
        }
    }
    EXPECT_EQ(got, std::vector<std::uint8_t>(sent.begin(), sent.end()));
    EXPECT_EQ(port.ReadAvailable(buffer), 0);
}

TEST_F(PtyTest, ReadExactTimesOutWithoutData) {
    SerialPort port;
    ASSERT_TRUE(port.Open(path_, 9600));
    std::array<std::uint8_t, 2> reply{};
    const auto start = Clock::now();
    EXPECT_FALSE(port.ReadExact(reply, 50ms));
    EXPECT_LT(Clock::now() - start, 5s);
}

TEST_F(PtyTest, ReadExactCollectsBytesArrivingInPieces) {
    SerialPort port;
    ASSERT_TRUE(port.Open(path_, 256000));
    std::vector<std::uint8_t> sent(514);
    std::iota(sent.begin(), sent.end(), 7);
    std::thread module([&] {
        for (std::size_t offset = 0; offset < sent.size(); offset += 100) {
            const std::size_t count = std::min<std::size_t>(100, sent.size() - offset);
            ASSERT_EQ(::write(master_, sent.data() + offset, count), static_cast<ssize_t>(count));
            std::this_thread::sleep_for(2ms);
        }
    });
    std::vector<std::uint8_t> received(514);
    const bool complete = port.ReadExact(received, 30s);
    module.join();
    ASSERT_TRUE(complete);
    EXPECT_EQ(received, sent);
}

TEST_F(PtyTest, ReadExactEndsAtOnceWhenTheLineHangsUp) {
    SerialPort port;
    ASSERT_TRUE(port.Open(path_, 9600));
    const std::array<std::uint8_t, 1> one{0x90};
    MasterWrite(one);
    std::array<std::uint8_t, 1> first{};
    ASSERT_TRUE(port.ReadExact(first, 5s));
    ::close(master_);
    master_ = -1;
    std::array<std::uint8_t, 2> reply{};
    const auto start = Clock::now();
    EXPECT_FALSE(port.ReadExact(reply, 60s));
    EXPECT_LT(Clock::now() - start, 5s);
}

TEST_F(PtyTest, PurgeInputDropsQueuedBytes) {
    SerialPort port;
    ASSERT_TRUE(port.Open(path_, 256000));
    const std::array<std::uint8_t, 10> stale{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    MasterWrite(stale);
    std::array<std::uint8_t, 1> first{};
    ASSERT_TRUE(port.ReadExact(first, 5s));  // the write has reached the port
    EXPECT_TRUE(port.PurgeInput());

    const std::array<std::uint8_t, 1> fresh{0x5A};
    MasterWrite(fresh);
    std::array<std::uint8_t, 1> next{};
    ASSERT_TRUE(port.ReadExact(next, 5s));
    EXPECT_EQ(next[0], 0x5A);
}

TEST_F(PtyTest, WriteGivesUpWhenTheLineDoesNotTakeTheBytes) {
    SerialPort port;
    ASSERT_TRUE(port.Open(path_, 9600));
    // Nobody reads the master side: single-byte writes fill the line's buffers
    // until one cannot complete within its 50 ms and reports 0.
    const std::array<std::uint8_t, 1> byte{0x55};
    int result = 1;
    for (int i = 0; i < 4'000'000 && result == 1; ++i) {
        result = port.Write(byte);
    }
    EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace pictor::device
