#pragma once

#include <functional>
#include <string>

#include "sim/module_simulator.h"

namespace pictor::sim {

/// A pseudo-terminal pair whose far end (the path in `PortPath`) a tool opens as
/// its serial port; the simulator talks through the master side, in raw mode and
/// non-blocking. Closing the master hangs the line up.
class PseudoTerminal {
  public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    /// Creates the pair. False with `error` set when the system refuses.
    bool Open(std::string& error);
    void Close();

    [[nodiscard]] int MasterFd() const { return master_; }
    [[nodiscard]] const std::string& PortPath() const { return portPath_; }

  private:
    int master_ = -1;
    std::string portPath_;
};

/// Delivers SIGINT and SIGTERM as readable events on a descriptor instead of
/// interrupting the process, so the serving loop can stop cleanly between replies.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    [[nodiscard]] bool Valid() const { return fd_ >= 0; }
    [[nodiscard]] int Fd() const { return fd_; }

  private:
    int fd_ = -1;
};

struct ServeOptions {
    /// Emulated wire speed in baud (bytes move at rate / 10 per second in both
    /// directions); 0 sends replies as fast as the pseudo-terminal takes them.
    int lineRate = 0;
    /// Called after a request changed the module's settings.
    std::function<void(const ModuleSettings&)> onSettingsChanged;
};

/// Serves `simulator` on the master side of `terminal` until a stop signal
/// arrives; returns the process exit status (0). When the simulator hangs up, the
/// terminal is closed and the function waits for the stop signal.
int ServeModule(ModuleSimulator& simulator, PseudoTerminal& terminal, const StopSignals& stop,
                const ServeOptions& options);

}  // namespace pictor::sim
