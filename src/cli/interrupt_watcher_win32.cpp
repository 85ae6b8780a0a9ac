#include <windows.h>

#include <mutex>

#include "cli/interrupt_watcher.h"

namespace pictor::cli {

namespace {

// The console control handler is a plain function that the system calls on a
// thread of its own, so the live watcher has to be found through this one
// registration. The mutex keeps a watcher from ending while its callback runs.
struct Registration {
    std::mutex mutex;
    InterruptWatcher* watcher = nullptr;
    std::function<void()>* onInterrupt = nullptr;
    std::atomic<bool>* interrupted = nullptr;
};

Registration& ActiveRegistration() {
    static Registration registration;
    return registration;
}

BOOL WINAPI ConsoleHandler(DWORD event) {
    return InterruptWatcher::HandleConsoleEvent(event) ? TRUE : FALSE;
}

}  // namespace

InterruptWatcher::InterruptWatcher(std::function<void()> onInterrupt)
    : onInterrupt_(std::move(onInterrupt)) {
    Registration& registration = ActiveRegistration();
    {
        std::lock_guard lock(registration.mutex);
        registration.watcher = this;
        registration.onInterrupt = &onInterrupt_;
        registration.interrupted = &interrupted_;
    }
    ::SetConsoleCtrlHandler(ConsoleHandler, TRUE);
}

InterruptWatcher::~InterruptWatcher() {
    ::SetConsoleCtrlHandler(ConsoleHandler, FALSE);
    Registration& registration = ActiveRegistration();
    std::lock_guard lock(registration.mutex);
    if (registration.watcher == this) {
        registration.watcher = nullptr;
        registration.onInterrupt = nullptr;
        registration.interrupted = nullptr;
    }
}

bool InterruptWatcher::HandleConsoleEvent(unsigned long event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return false;  // closing the console or logging off ends the program as usual
    }
    Registration& registration = ActiveRegistration();
    std::lock_guard lock(registration.mutex);
    if (registration.watcher == nullptr) {
        return false;
    }
    registration.interrupted->store(true);
    if (*registration.onInterrupt) {
        (*registration.onInterrupt)();
    }
    return true;
}

}  // namespace pictor::cli
