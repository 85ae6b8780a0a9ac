#pragma once

// What the tests need to run on POSIX systems and on Windows alike.

#include <gtest/gtest.h>

#include <cstdlib>

/// Skips the rest of the test on Windows, saying why it does not apply there
/// (symbolic links need privileges, folders have no write permission bits, no
/// FIFOs, no user to drop to).
#ifdef _WIN32
#define PICTOR_SKIP_ON_WINDOWS(reason) GTEST_SKIP() << "not on Windows: " << (reason)
#else
#define PICTOR_SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif

namespace pictor::test {

/// Sets the environment variable `name` to `value` for this process.
inline void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    ::_putenv_s(name, value);
#else
    ::setenv(name, value, 1);
#endif
}

/// Removes the environment variable `name` from this process.
inline void UnsetEnvironment(const char* name) {
#ifdef _WIN32
    ::_putenv_s(name, "");  // an empty value removes it
#else
    ::unsetenv(name);
#endif
}

}  // namespace pictor::test
