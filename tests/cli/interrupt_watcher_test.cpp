#include "cli/interrupt_watcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace pictor::cli {
namespace {

// Ctrl-C as the system delivers it: a console control event on Windows, SIGINT
// to the process elsewhere. True when the watcher took it.
bool PressCtrlC() {
#ifdef _WIN32
    return InterruptWatcher::HandleConsoleEvent(CTRL_C_EVENT);
#else
    return ::kill(::getpid(), SIGINT) == 0;
#endif
}

TEST(InterruptWatcherTest, CtrlCReachesTheCallbackOnce) {
    std::atomic<int> calls{0};
    InterruptWatcher watcher([&calls] { ++calls; });
    EXPECT_FALSE(watcher.Interrupted());
    ASSERT_TRUE(PressCtrlC());
    // The POSIX watcher takes the signal on its own thread; wait for it, bounded.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (calls.load() == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(calls.load(), 1);
    EXPECT_TRUE(watcher.Interrupted());
}

#ifdef _WIN32
// Closing the console or logging off must still end the program, and after the
// watch no Ctrl-C is swallowed.
TEST(InterruptWatcherTest, OnlyCtrlCAndBreakAreTakenAndOnlyWhileWatching) {
    int calls = 0;
    {
        InterruptWatcher watcher([&calls] { ++calls; });
        EXPECT_FALSE(InterruptWatcher::HandleConsoleEvent(CTRL_CLOSE_EVENT));
        EXPECT_FALSE(InterruptWatcher::HandleConsoleEvent(CTRL_LOGOFF_EVENT));
        EXPECT_EQ(calls, 0);
        EXPECT_TRUE(InterruptWatcher::HandleConsoleEvent(CTRL_BREAK_EVENT));
        EXPECT_EQ(calls, 1);
    }
    EXPECT_FALSE(InterruptWatcher::HandleConsoleEvent(CTRL_C_EVENT));
    EXPECT_EQ(calls, 1);
}
#endif

}  // namespace
}  // namespace pictor::cli
