#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <limits>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace pictor::conversion {

/// How much work RunInOrder keeps in flight: an item is in flight from the moment
/// a worker starts it until `consume` has returned for it.
struct InFlightLimit {
    /// At most this many results exist at a time (at least one per worker).
    std::size_t items = 1;
    /// At most this many bytes, as the cost function counts them, are in flight; an
    /// item that alone costs more still starts once nothing else is in flight.
    std::uint64_t bytes = std::numeric_limits<std::uint64_t>::max();
};

/// Runs `produce(i)` for i = 0 .. count - 1 on `workers` threads and hands every
/// result to `consume(i, result)` on the calling thread, strictly in order of i.
/// `cost(i)` tells the bytes item i takes while in flight, and `limit` bounds what
/// is in flight, which bounds the memory whatever the count and the sizes. When
/// `consume` returns false no further item is started and RunInOrder returns false
/// once the running ones are done.
///
/// An exception thrown by `produce` for item i stops the start of further items and
/// is thrown again on the calling thread when item i's turn comes (the items before
/// it are consumed first); an exception from `consume` also ends the run. Either
/// way every worker has stopped when the exception leaves RunInOrder. With one
/// worker, or when no thread can be started, everything runs on the calling thread.
/// The results, and the order in which `consume` sees them, do not depend on
/// thread timing; `produce` and `cost` must be safe to call from several threads at
/// once, and `cost` must not throw.
template <class Result, class Cost, class Produce, class Consume>
bool RunInOrder(std::size_t count, unsigned workers, InFlightLimit limit, Cost cost,
                Produce produce, Consume consume) {
    const auto runHere = [&] {
        for (std::size_t i = 0; i < count; ++i) {
            Result result = produce(i);
            if (!consume(i, result)) {
                return false;
            }
        }
        return true;
    };
    if (workers <= 1 || count <= 1) {
        return runHere();
    }
    const std::size_t window = std::max<std::size_t>(limit.items, workers);
    // One slot per result in flight: the result, or what its production threw.
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr failure;
        std::uint64_t cost = 0;
        [[nodiscard]] bool Ready() const { return result.has_value() || failure != nullptr; }
    };
    // Two conditions, each signalled only when its waiter can go on: the caller
    // waits for the result it consumes next, workers wait for room in flight.
    // Waking every thread on every change would cost a context switch per thread
    // and picture.
    std::mutex mutex;
    std::condition_variable resultReady;
    std::condition_variable roomFree;
    std::vector<Slot> pending(window);
    std::size_t next = 0;      // the next item a worker starts
    std::size_t consumed = 0;  // items handed to `consume` so far
    std::uint64_t bytesInFlight = 0;
    unsigned waitingWorkers = 0;
    bool stop = false;

    // Called with the lock held.
    const auto mayStart = [&](std::uint64_t itemCost) {
        return next < consumed + window &&
               (bytesInFlight == 0 ||
                itemCost <= limit.bytes - std::min(limit.bytes, bytesInFlight));
    };
    const auto work = [&] {
        std::unique_lock lock(mutex);
        while (true) {
            std::uint64_t itemCost = 0;
            while (!stop && next < count && !mayStart(itemCost = cost(next))) {
                ++waitingWorkers;
                roomFree.wait(lock);
                --waitingWorkers;
            }
            if (stop || next >= count) {
                return;
            }
            const std::size_t item = next++;
            bytesInFlight += itemCost;
            if (waitingWorkers > 0 && next < count) {
                roomFree.notify_one();  // the next item may fit too
            }
            lock.unlock();
            Slot slot;
            slot.cost = itemCost;
            try {
                slot.result.emplace(produce(item));
            } catch (...) {
                slot.failure = std::current_exception();
            }
            lock.lock();
            if (slot.failure != nullptr) {
                stop = true;  // the items before this one are all started already
            }
            pending[item % window] = std::move(slot);
            if (item == consumed) {
                resultReady.notify_one();
            }
        }
    };

    // Stops and joins the workers however the caller's loop is left.
    struct Workers {
        std::vector<std::thread> threads;
        std::mutex& mutex;
        std::condition_variable& roomFree;
        bool& stop;
        ~Workers() {
            {
                const std::lock_guard lock(mutex);
                stop = true;
            }
            roomFree.notify_all();
            for (std::thread& thread : threads) {
                thread.join();
            }
        }
    } running{{}, mutex, roomFree, stop};
    const std::size_t wanted = std::min<std::size_t>(workers, count);
    running.threads.reserve(wanted);
    for (std::size_t t = 0; t < wanted; ++t) {
        try {
            running.threads.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // as many threads as the system gives
        }
    }
    if (running.threads.empty()) {
        return runHere();
    }

    for (std::size_t i = 0; i < count; ++i) {
        Slot slot;
        {
            std::unique_lock lock(mutex);
            resultReady.wait(lock, [&] { return pending[i % window].Ready(); });
            slot = std::move(pending[i % window]);
            pending[i % window] = Slot{};
            consumed = i + 1;
            if (waitingWorkers > 0) {
                roomFree.notify_one();
            }
        }
        if (slot.failure != nullptr) {
            std::rethrow_exception(slot.failure);
        }
        const bool goOn = consume(i, *slot.result);
        slot.result.reset();  // its memory is free before its bytes are
        {
            const std::lock_guard lock(mutex);
            bytesInFlight -= slot.cost;
            if (waitingWorkers > 0) {
                roomFree.notify_one();
            }
        }
        if (!goOn) {
            return false;
        }
    }
    return true;
}

/// RunInOrder with at most `window` results in flight and no byte limit.
template <class Result, class Produce, class Consume>
bool RunInOrder(std::size_t count, unsigned workers, std::size_t window, Produce produce,
                Consume consume) {
    return RunInOrder<Result>(
        count, workers, InFlightLimit{window}, [](std::size_t) { return std::uint64_t{0}; },
        std::move(produce), std::move(consume));
}

}  // namespace pictor::conversion
