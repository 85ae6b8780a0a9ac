#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pictor::conversion {

/// Runs `produce(i)` for i = 0 .. count - 1 on `workers` threads and hands every
/// result to `consume(i, result)` on the calling thread, strictly in order of i. At
/// most `window` results exist at a time (produced but not yet consumed), which
/// bounds the memory whatever the count. When `consume` returns false no further
/// item is started and RunInOrder returns false once the running ones are done.
/// With one worker everything runs on the calling thread. The results, and the
/// order in which `consume` sees them, do not depend on thread timing; `produce`
/// must be safe to call from several threads at once.
template <class Result, class Produce, class Consume>
bool RunInOrder(std::size_t count, unsigned workers, std::size_t window, Produce produce,
                Consume consume) {
    if (workers <= 1 || count <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            Result result = produce(i);
            if (!consume(i, result)) {
                return false;
            }
        }
        return true;
    }
    window = std::max<std::size_t>(window, workers);
    // Two conditions, each signalled only when its waiter can go on: the caller
    // waits for the result it consumes next, workers wait for room in the window.
    // Waking every thread on every change would cost a context switch per thread
    // and picture.
    std::mutex mutex;
    std::condition_variable resultReady;
    std::condition_variable roomFree;
    std::vector<std::optional<Result>> pending(window);
    std::size_t next = 0;      // the next item a worker starts
    std::size_t consumed = 0;  // items handed to `consume` so far
    unsigned waitingWorkers = 0;
    bool stop = false;

    const auto work = [&] {
        std::unique_lock lock(mutex);
        while (true) {
            while (!(stop || next >= count || next < consumed + window)) {
                ++waitingWorkers;
                roomFree.wait(lock);
                --waitingWorkers;
            }
            if (stop || next >= count) {
                return;
            }
            const std::size_t item = next++;
            lock.unlock();
            Result result = produce(item);
            lock.lock();
            pending[item % window] = std::move(result);
            if (item == consumed) {
                resultReady.notify_one();
            }
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(std::min<std::size_t>(workers, count));
    for (std::size_t t = 0; t < std::min<std::size_t>(workers, count); ++t) {
        threads.emplace_back(work);
    }

    bool completed = true;
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<Result> result;
        {
            std::unique_lock lock(mutex);
            resultReady.wait(lock, [&] { return pending[i % window].has_value(); });
            result = std::move(pending[i % window]);
            pending[i % window].reset();
            consumed = i + 1;
            if (waitingWorkers > 0) {
                roomFree.notify_one();
            }
        }
        if (!consume(i, *result)) {
            completed = false;
            break;
        }
    }
    {
        const std::lock_guard lock(mutex);
        stop = true;
    }
    roomFree.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
    return completed;
}

}  // namespace pictor::conversion
