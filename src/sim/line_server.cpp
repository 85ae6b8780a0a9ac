#include "sim/line_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace pictor::sim {

namespace {

using Clock = std::chrono::steady_clock;

// A sector write whose data stops for this long is given up, so that a tool that
// failed half-way does not leave the module swallowing its next requests as data.
constexpr auto kSectorDataIdleLimit = std::chrono::milliseconds(1000);
// Re-check period while no tool holds the far end open (the master then reports
// a hang-up continuously).
constexpr auto kIdlePollPeriod = std::chrono::milliseconds(10);
// Bytes of a paced reply are handed to the terminal in pieces of about this much
// wire time.
constexpr auto kPacingSlice = std::chrono::microseconds(2000);

Clock::duration WireTime(std::size_t bytes, int rate) {
    if (rate <= 0) {
        return Clock::duration::zero();
    }
    const auto nanos = static_cast<std::int64_t>(bytes) * 10 * 1'000'000'000LL / rate;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(nanos));
}

// Waits for `fd` to become ready for `events`, for the stop signal, or until
// `deadline`. Returns the ready events of `fd` (0 on time-out) or -1 on stop.
// poll counts whole milliseconds, so the last fraction of a wait is slept off.
int WaitFor(int fd, short events, const StopSignals& stop,
            std::optional<Clock::time_point> deadline) {
    for (;;) {
        std::array<pollfd, 2> fds{pollfd{stop.Fd(), POLLIN, 0}, pollfd{fd, events, 0}};
        const nfds_t count = fd >= 0 ? 2 : 1;
        int timeoutMs = -1;
        if (deadline) {
            const auto left = *deadline - Clock::now();
            const auto wholeMs = std::chrono::floor<std::chrono::milliseconds>(left).count();
            if (wholeMs <= 0) {
                std::this_thread::sleep_until(*deadline);
                timeoutMs = 0;
            } else {
                timeoutMs = static_cast<int>(std::min<std::int64_t>(wholeMs, 1'000'000));
            }
        }
        const int ready = ::poll(fds.data(), count, timeoutMs);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            return -1;
        }
        return ready == 0 ? 0 : fds[1].revents;
    }
}

bool SleepUntil(Clock::time_point deadline, const StopSignals& stop) {
    while (Clock::now() < deadline) {
        if (WaitFor(-1, 0, stop, deadline) < 0) {
            return false;
        }
    }
    return true;
}

// Writes `bytes` completely. Returns false on the stop signal; a far end that is
// gone just drops the bytes, as a wire would.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes, const StopSignals& stop) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            return true;
        }
        const int ready = WaitFor(fd, POLLOUT, stop, std::nullopt);
        if (ready < 0) {
            return false;
        }
        if ((ready & (POLLERR | POLLNVAL)) != 0) {
            return true;
        }
    }
    return true;
}

// Sends `bytes` as a wire at `rate` would deliver them: each piece is handed over
// once its last byte would have left the module. `wireFree` is when the wire
// finishes what was sent before.
bool SendPaced(int fd, std::span<const std::uint8_t> bytes, int rate, Clock::time_point& wireFree,
               const StopSignals& stop) {
    if (rate <= 0) {
        return WriteAll(fd, bytes, stop);
    }
    const std::size_t slice =
        std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<std::int64_t>(rate) / 10 *
                                                          kPacingSlice.count() / 1'000'000));
    wireFree = std::max(wireFree, Clock::now());
    for (std::size_t offset = 0; offset < bytes.size(); offset += slice) {
        const std::size_t count = std::min(slice, bytes.size() - offset);
        wireFree += WireTime(count, rate);
        if (!SleepUntil(wireFree, stop) || !WriteAll(fd, bytes.subspan(offset, count), stop)) {
            return false;
        }
    }
    return true;
}

}  // namespace

PseudoTerminal::~PseudoTerminal() {
    Close();
}

bool PseudoTerminal::Open(std::string& error) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = std::string("posix_openpt: ") + std::strerror(errno);
        return false;
    }
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        error = std::string("grantpt/unlockpt: ") + std::strerror(errno);
        ::close(master);
        return false;
    }
    std::array<char, 128> name{};
    if (::ptsname_r(master, name.data(), name.size()) != 0) {
        error = std::string("ptsname: ") + std::strerror(errno);
        ::close(master);
        return false;
    }
    termios raw{};
    if (::tcgetattr(master, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(master, TCSANOW, &raw);
    }
    const int flags = ::fcntl(master, F_GETFL);
    ::fcntl(master, F_SETFL, flags | O_NONBLOCK);
    Close();
    master_ = master;
    portPath_ = name.data();
    return true;
}

void PseudoTerminal::Close() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

StopSignals::StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (::sigprocmask(SIG_BLOCK, &signals, nullptr) == 0) {
        fd_ = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
    }
}

StopSignals::~StopSignals() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int ServeModule(ModuleSimulator& simulator, PseudoTerminal& terminal, const StopSignals& stop,
                const ServeOptions& options) {
    const int fd = terminal.MasterFd();
    Clock::time_point inputWireFree{};
    Clock::time_point outputWireFree{};
    ModuleSettings lastSettings = simulator.Settings();
    std::array<std::uint8_t, 4096> buffer{};

    while (!simulator.HungUp()) {
        std::optional<Clock::time_point> deadline;
        if (simulator.ReceivingSectorData()) {
            deadline = Clock::now() + kSectorDataIdleLimit;
        }
        const int ready = WaitFor(fd, POLLIN, stop, deadline);
        if (ready < 0) {
            return 0;
        }
        if (ready == 0) {
            simulator.AbandonSectorData();
            continue;
        }
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        if (n <= 0) {
            // No tool has the far end open (EIO): wait for one without spinning.
            if (!SleepUntil(Clock::now() + kIdlePollPeriod, stop)) {
                return 0;
            }
            continue;
        }
        const auto received =
            std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n));
        inputWireFree =
            std::max(inputWireFree, Clock::now()) + WireTime(received.size(), options.lineRate);

        for (const ReplyChunk& reply : simulator.Feed(received)) {
            // The module sees a request only once its last byte came off the wire.
            if (!SleepUntil(std::max(inputWireFree, Clock::now()) + reply.delay, stop)) {
                return 0;
            }
            if (!SendPaced(fd, reply.bytes, options.lineRate, outputWireFree, stop)) {
                return 0;
            }
        }
        if (simulator.Settings() != lastSettings) {
            lastSettings = simulator.Settings();
            if (options.onSettingsChanged) {
                options.onSettingsChanged(lastSettings);
            }
        }
    }

    terminal.Close();
    WaitFor(-1, 0, stop, std::nullopt);
    return 0;
}

}  // namespace pictor::sim
