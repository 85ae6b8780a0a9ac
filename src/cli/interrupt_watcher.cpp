#include "cli/interrupt_watcher.h"

#include <pthread.h>

#include <ctime>

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
    watcher_ = std::thread([this, set] {
        // Wakes every 100 ms to notice the end of the watch.
        const timespec tick{0, 100'000'000};
        while (!stop_.load()) {
            if (sigtimedwait(&set, nullptr, &tick) == SIGINT) {
                interrupted_.store(true);
                onInterrupt_();
            }
        }
    });
}

InterruptWatcher::~InterruptWatcher() {
    stop_.store(true);
    watcher_.join();
    const sigset_t set = InterruptSet();
    const timespec none{0, 0};
    while (sigtimedwait(&set, nullptr, &none) == SIGINT) {
        interrupted_.store(true);
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

}  // namespace pictor::cli
