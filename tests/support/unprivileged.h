#pragma once

#ifndef _WIN32
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>
#include <functional>

#include "support/platform.h"

namespace pictor::test {

/// Exit code of a child that could not give up root.
inline constexpr int kCouldNotDropPrivileges = 125;

/// Runs `step` in a forked child and returns its result as the child's exit code
/// (0..124), or -1 when the child did not end normally. When the test runs as
/// root, the child first becomes "nobody" (uid and gid 65534, no supplementary
/// groups), so read-only files and folders and denied permissions hold for it as
/// they do for a user; a child that cannot drop root ends with
/// `kCouldNotDropPrivileges`. Paths the step uses must be reachable by "nobody":
/// `OpenToEveryone` opens a test directory for it.
#ifdef _WIN32
// Windows has no user to drop to; tests that need one skip themselves there
// (PICTOR_SKIP_ON_WINDOWS), so this only has to compile.
inline int RunUnprivileged(const std::function<int()>& step) {
    return step();
}
#else
/// Runs `step` in a forked child and returns its result as the child's exit code,
/// or -1 when the child did not end normally (a crash, an abort).
inline int RunInChild(const std::function<int()>& step) {
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        ::_exit(step());
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline int RunUnprivileged(const std::function<int()>& step) {
    return RunInChild([&step] {
        /// The user and group id of "nobody".
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            return kCouldNotDropPrivileges;
        }
        return step();
    });
}
#endif

/// Gives everyone read, write and search access to `dir` (a fresh test directory
/// is private to its creator), so that the unprivileged child can use it.
inline void OpenToEveryone(const std::filesystem::path& dir) {
    std::filesystem::permissions(dir, std::filesystem::perms::all);
}

/// Read and search access for everyone, no write access: a read-only folder,
/// for root's unprivileged child too.
inline void MakeReadOnlyFolder(const std::filesystem::path& dir) {
    using std::filesystem::perms;
    std::filesystem::permissions(dir, perms::owner_read | perms::owner_exec | perms::group_read |
                                          perms::group_exec | perms::others_read |
                                          perms::others_exec);
}

}  // namespace pictor::test
