#pragma once

// Runs a step with little memory to spare, to see that running out of it is
// handled, not fatal.

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <fstream>
#include <functional>

#include "support/platform.h"
#include "support/unprivileged.h"

#if defined(__SANITIZE_ADDRESS__)
#define PICTOR_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PICTOR_TEST_SANITIZED 1
#endif
#endif

/// Skips the rest of the test where an address-space limit cannot be set: on
/// Windows, and under AddressSanitizer, which reserves terabytes of it up front.
#if defined(_WIN32) || defined(PICTOR_TEST_SANITIZED)
#define PICTOR_SKIP_WITHOUT_MEMORY_LIMIT() \
    GTEST_SKIP() << "no address-space limit with this build or system"
#else
#define PICTOR_SKIP_WITHOUT_MEMORY_LIMIT() static_cast<void>(0)
#endif

namespace pictor::test {

/// Runs `step` in a forked child whose address space may grow by at most `extra`
/// bytes beyond its size at the fork, and returns the child's exit code (0..255),
/// or -1 when it did not end normally (an abort on an uncaught std::bad_alloc).
#ifdef _WIN32
inline int RunWithLimitedMemory(std::uint64_t /*extra*/, const std::function<int()>& step) {
    return step();
}
#else
inline int RunWithLimitedMemory(std::uint64_t extra, const std::function<int()>& step) {
    return RunInChild([&] {
        std::uint64_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const auto size = pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
        const rlimit limit{size + extra, size + extra};
        if (pages == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) {
            return 125;
        }
        return step();
    });
}
#endif

}  // namespace pictor::test
