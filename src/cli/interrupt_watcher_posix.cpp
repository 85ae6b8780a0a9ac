#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "cli/interrupt_watcher.h"

namespace pictor::cli {

namespace {

sigset_t InterruptSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

InterruptWatcher::InterruptWatcher(std::function<void()> onInterrupt)
    : onInterrupt_(std::move(onInterrupt)) {
    const sigset_t set = InterruptSet();
    pthread_sigmask(SIG_BLOCK, &set, &previousMask_);
    signalFd_ = ::signalfd(-1, &set, SFD_CLOEXEC);
    watcher_ = std::thread([this] {
        // Wakes every 100 ms to notice the end of the watch.
        while (!stop_.load() && signalFd_ >= 0) {
            pollfd ready{signalFd_, POLLIN, 0};
            if (::poll(&ready, 1, 100) > 0 && TakeInterrupt()) {
                onInterrupt_();
            }
        }
    });
}

InterruptWatcher::~InterruptWatcher() {
    stop_.store(true);
    watcher_.join();
    // A SIGINT still pending is consumed here, not delivered after the unblock.
    if (signalFd_ >= 0) {
        pollfd ready{signalFd_, POLLIN, 0};
        while (::poll(&ready, 1, 0) > 0 && TakeInterrupt()) {
        }
        ::close(signalFd_);
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

bool InterruptWatcher::TakeInterrupt() {
    signalfd_siginfo info{};
    if (::read(signalFd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info) ||
        info.ssi_signo != SIGINT) {
        return false;
    }
    interrupted_.store(true);
    return true;
}

}  // namespace pictor::cli
