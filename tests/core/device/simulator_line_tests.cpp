// The serial port against the pictor-sim program over a real pseudo-terminal.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "core/device/crc16.h"
#include "core/device/serial_port.h"
#include "support/temp_dir.h"

#ifdef PICTOR_SIM_PATH

extern char** environ;

namespace pictor::device {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// Runs pictor-sim with the given options and learns its port from its first line.
class SimProcess {
  public:
    SimProcess() = default;
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) {
            ::close(out_);
        }
    }

    bool Start(const std::vector<std::string>& options) {
        std::array<int, 2> pipeFds{};
        if (::pipe(pipeFds.data()) != 0) {
            return false;
        }
        std::vector<std::string> args{PICTOR_SIM_PATH};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        const int rc = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        out_ = pipeFds[0];
        if (rc != 0) {
            pid_ = -1;
            return false;
        }
        const std::string line = ReadLine(10s);
        if (line.rfind("port: ", 0) != 0) {
            return false;
        }
        port_ = line.substr(6);
        return true;
    }

    // Sends SIGTERM and returns the exit status, or -1 when it did not exit normally.
    int Stop() {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    [[nodiscard]] const std::string& Port() const { return port_; }

  private:
    std::string ReadLine(std::chrono::milliseconds limit) {
        std::string line;
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline) {
            pollfd pfd{out_, POLLIN, 0};
            if (::poll(&pfd, 1, 100) <= 0) {
                continue;
            }
            char c = 0;
            if (::read(out_, &c, 1) != 1) {
                break;
            }
            if (c == '\n') {
                return line;
            }
            line.push_back(c);
        }
        return line;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    std::string port_;
};

class SimulatorLineTest : public ::testing::Test {
  protected:
    static Bytes Exchange(SerialPort& port, const Bytes& request, std::size_t replySize,
                          std::chrono::milliseconds timeout = 10s) {
        port.PurgeInput();
        if (port.Write(request) != static_cast<int>(request.size())) {
            return {};
        }
        Bytes reply(replySize);
        return port.ReadExact(reply, timeout) ? reply : Bytes{};
    }

    test::TempDir dir_;
};

TEST_F(SimulatorLineTest, AnswersConnectAndSettingsAndStopsCleanly) {
    SimProcess sim;
    const fs::path log = dir_.Path() / "frames.log";
    ASSERT_TRUE(sim.Start({"--kind", "4", "--log", log.string()}));
    SerialPort port;
    ASSERT_TRUE(port.Open(sim.Port(), 256000)) << port.LastOpenError().message();
    EXPECT_EQ(Exchange(port, {0xAA, 0x04, 0x90, 0x55, 0xAA}, 2), (Bytes{0x90, 0x04}));
    EXPECT_EQ(Exchange(port, {0xAA, 0x03, 0x97, 0xED}, 9),
              (Bytes{0xAA, 0x08, 0x97, 0x00, 0xFF, 0x03, 0x05, 0x04, 0x01}));
    port.Close();
    EXPECT_EQ(sim.Stop(), 0);

    std::ifstream in(log);
    std::string first;
    std::string second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(first, "AA 04 90 55 AA");
    EXPECT_EQ(second, "AA 03 97 ED");
}

TEST_F(SimulatorLineTest, FlashFileAndSettingsSurviveARestart) {
    const fs::path flash = dir_.Path() / "flash.bin";
    Bytes data(512);
    std::iota(data.begin(), data.end(), 0x21);
    const std::uint16_t crc = Crc16(data);
    {
        SimProcess sim;
        ASSERT_TRUE(sim.Start({"--kind", "5", "--flash", flash.string()}));
        SerialPort port;
        ASSERT_TRUE(port.Open(sim.Port(), 256000));
        EXPECT_EQ(Exchange(port, {0xAA, 0x08, 0x94, 0x00, 0x00, 0x08, 0x00, 0x02, 0x02}, 2).size(),
                  2U);
        Bytes payload = data;
        payload.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        payload.push_back(static_cast<std::uint8_t>(crc >> 8));
        // Data in 32-byte pieces, then the checksum, as older hosts send it.
        for (std::size_t offset = 0; offset < payload.size(); offset += 32) {
            const auto piece = std::span(payload).subspan(
                offset, std::min<std::size_t>(32, payload.size() - offset));
            ASSERT_EQ(port.Write(piece), static_cast<int>(piece.size()));
        }
        Bytes ack(2);
        ASSERT_TRUE(port.ReadExact(ack, 10s));
        EXPECT_EQ(ack, (Bytes{0x92, 0x01}));
        EXPECT_EQ(Exchange(port, {0xAA, 0x08, 0x96, 0x07, 0x06, 0x02, 0x03, 0x00, 0xED}, 2),
                  (Bytes{0x96, 0x01}));
        port.Close();
        EXPECT_EQ(sim.Stop(), 0);
    }
    EXPECT_EQ(fs::file_size(flash), 2U * 1024 * 1024);

    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--kind", "5", "--flash", flash.string()}));
    SerialPort port;
    ASSERT_TRUE(port.Open(sim.Port(), 256000));
    Bytes expected = data;
    expected.push_back(0x95);
    expected.push_back(0x01);
    EXPECT_EQ(Exchange(port, {0xAA, 0x08, 0x95, 0x00, 0x00, 0x08, 0x00, 0x02, 0x00}, 514),
              expected);
    EXPECT_EQ(Exchange(port, {0xAA, 0x03, 0x97, 0xED}, 9),
              (Bytes{0xAA, 0x08, 0x97, 0x00, 0x07, 0x06, 0x02, 0x03, 0x00}));
}

TEST_F(SimulatorLineTest, HangUpEndsTheWaitAtOnce) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--hangup-after", "0"}));
    SerialPort port;
    ASSERT_TRUE(port.Open(sim.Port(), 256000));
    EXPECT_EQ(Exchange(port, {0xAA, 0x04, 0x90, 0x55, 0xAA}, 2), (Bytes{0x90, 0x01}));
    const auto start = Clock::now();
    EXPECT_TRUE(
        Exchange(port, {0xAA, 0x08, 0x94, 0x00, 0x00, 0x10, 0x00, 0x02, 0x00}, 2, 60s).empty());
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(SimulatorLineTest, LineRateHoldsRepliesBackToWireSpeed) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--line-rate", "9600"}));
    SerialPort port;
    ASSERT_TRUE(port.Open(sim.Port(), 9600));
    // 9 request bytes and 514 reply bytes at 960 bytes/s take at least 544 ms.
    const auto start = Clock::now();
    EXPECT_EQ(Exchange(port, {0xAA, 0x08, 0x95, 0x00, 0x00, 0x10, 0x00, 0x02, 0x00}, 514).size(),
              514U);
    EXPECT_GE(Clock::now() - start, 540ms);
}

}  // namespace
}  // namespace pictor::device

#endif  // PICTOR_SIM_PATH
