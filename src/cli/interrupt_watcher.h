#pragma once

#ifndef _WIN32
#include <signal.h>
#endif

#include <atomic>
#include <functional>
#include <thread>

namespace pictor::cli {

/// Turns Ctrl-C (SIGINT) into a call of `onInterrupt` while the object lives.
///
/// On Windows a console control handler (SetConsoleCtrlHandler) takes Ctrl-C and
/// Ctrl-Break while a watcher lives and calls `onInterrupt` on the thread the
/// system starts for it; the process is not ended. One watcher at a time.
///
/// On POSIX systems SIGINT is blocked in the calling thread, and so in every thread it starts
/// afterwards (the download job's too), and a watcher thread reads it from a
/// signalfd. No signal handler and no global state are involved: the signal
/// is received as an ordinary event by a thread that may do anything. Create it
/// before starting the threads it should cover. A SIGINT still pending when the
/// watcher ends is consumed, and the previous signal mask is restored.
class InterruptWatcher {
  public:
    explicit InterruptWatcher(std::function<void()> onInterrupt);
    ~InterruptWatcher();
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    /// True once a SIGINT arrived.
    [[nodiscard]] bool Interrupted() const { return interrupted_.load(); }

#ifdef _WIN32
    /// What the console control handler does with `event` (a CTRL_*_EVENT):
    /// true when the watcher took it. Public so tests can deliver events.
    static bool HandleConsoleEvent(unsigned long event);
#endif

  private:
    std::function<void()> onInterrupt_;
    std::atomic<bool> interrupted_{false};
#ifndef _WIN32
    bool TakeInterrupt();

    int signalFd_ = -1;
    sigset_t previousMask_{};
    std::atomic<bool> stop_{false};
    std::thread watcher_;
#endif
};

}  // namespace pictor::cli
