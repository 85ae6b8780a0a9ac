#include "cli/file_watcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "support/temp_dir.h"

namespace pictor::cli {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Files = std::set<fs::path>;

// Every wait has a deadline far beyond what a change takes to be seen.
constexpr auto kDeadline = 10s;

void Write(const fs::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

/// Waits until `watcher` reports something (or the deadline passes).
Files NextChanges(FileWatcher& watcher) {
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    Files changes;
    while (changes.empty() && std::chrono::steady_clock::now() < deadline) {
        changes = watcher.WaitForChanges(1s);
    }
    return changes;
}

class FileWatcherTest : public ::testing::TestWithParam<bool> {
  protected:
    std::unique_ptr<FileWatcher> watcher =
        GetParam() ? MakeFileWatcher() : MakePollingWatcher(20ms);
    pictor::test::TempDir dir;
    fs::path a = dir / "a.bmp";
    fs::path b = dir / "b.bmp";

    void SetUp() override {
        Write(a, "a");
        Write(b, "b");
        ASSERT_TRUE(watcher->Watch({a, b}));
    }
};

TEST_P(FileWatcherTest, WritesRenamesAndDeletesOfTheWatchedFiles) {
    Write(dir / "other.bmp", "not watched");
    Write(a, "a, longer");
    EXPECT_EQ(NextChanges(*watcher), Files{a}) << "written in place";

    Write(dir / "b.tmp", "b, replaced");
    fs::rename(dir / "b.tmp", b);
    EXPECT_EQ(NextChanges(*watcher), Files{b}) << "replaced by a rename";

    fs::remove(a);
    EXPECT_EQ(NextChanges(*watcher), Files{a}) << "deleted";
    Write(a, "back");
    EXPECT_EQ(NextChanges(*watcher), Files{a}) << "created again";
}

TEST_P(FileWatcherTest, ABurstIsOneRoundAndAWakeUpEndsTheWait) {
    for (int i = 0; i < 5; ++i) {
        Write(a, std::string(static_cast<std::size_t>(i + 2), 'a'));
        Write(b, std::string(static_cast<std::size_t>(i + 2), 'b'));
    }
    EXPECT_EQ(CollectChanges(*watcher, 300ms, [] { return false; }), (Files{a, b}));

    std::atomic<bool> stop{false};
    std::thread waker([&] {
        std::this_thread::sleep_for(50ms);
        stop.store(true);
        watcher->Wake();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(CollectChanges(*watcher, 300ms, [&] { return stop.load(); }).empty());
    waker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kDeadline) << "the wake-up ended the wait";
}

TEST_P(FileWatcherTest, WatchingAnotherSetForgetsTheFirst) {
    ASSERT_TRUE(watcher->Watch({b}));
    Write(a, "a, not watched any more");
    Write(b, "b, longer");
    EXPECT_EQ(NextChanges(*watcher), Files{b});
}

INSTANTIATE_TEST_SUITE_P(PlatformAndPolling, FileWatcherTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "Platform" : "Polling";
                         });

}  // namespace
}  // namespace pictor::cli
