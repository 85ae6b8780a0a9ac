#pragma once

#include <signal.h>

#include <atomic>
#include <functional>
#include <thread>

namespace pictor::cli {

/// Turns Ctrl-C (SIGINT) into a call of `onInterrupt` while the object lives.
///
/// SIGINT is blocked in the calling thread, and so in every thread it starts
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

  private:
    bool TakeInterrupt();

    std::function<void()> onInterrupt_;
    int signalFd_ = -1;
    sigset_t previousMask_{};
    std::atomic<bool> stop_{false};
    std::atomic<bool> interrupted_{false};
    std::thread watcher_;
};

}  // namespace pictor::cli
