#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace pictor::test {

/// Runs a program as a child process with its stdout on a pipe; the child is
/// stopped (SIGTERM, then SIGKILL) and reaped when the object goes away.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& args, bool captureStdout = true) {
        int fds[2] = {-1, -1};
        if (captureStdout && ::pipe2(fds, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (captureStdout) {
            posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        }
        std::vector<char*> argv;
        for (const auto& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        if (captureStdout) {
            ::close(fds[1]);
            out_ = fds[0];
        }
    }
    ~ChildProcess() {
        Stop(SIGTERM);
        if (out_ >= 0) {
            ::close(out_);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    [[nodiscard]] pid_t Pid() const { return pid_; }

    /// Reads stdout until a line starting with `prefix` arrives; returns the rest
    /// of that line, or "" when `timeout` passes or the output ends first.
    std::string WaitForLine(const std::string& prefix, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (out_ >= 0) {
            for (std::size_t nl; (nl = buffer_.find('\n')) != std::string::npos;) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                if (line.rfind(prefix, 0) == 0) {
                    return line.substr(prefix.size());
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{out_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
                return {};
            }
            char chunk[256];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) {
                return {};
            }
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
        return {};
    }

    /// Waits up to `timeout` for the child to end; its exit code, 128 + signal
    /// number when a signal ended it, or -1 when it is still running.
    int WaitForExit(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (pid_ > 0) {
            int status = 0;
            const pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return -1;
            }
            ::usleep(10000);
        }
        return -1;
    }

    void Signal(int signal) const {
        if (pid_ > 0) {
            ::kill(pid_, signal);
        }
    }

  private:
    void Stop(int signal) {
        if (pid_ <= 0) {
            return;
        }
        ::kill(pid_, signal);
        if (WaitForExit(std::chrono::milliseconds(2000)) == -1 && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
};

/// pictor-sim on a pseudo-terminal: started with `args`, its port read from its
/// "port: " line (empty when it did not start within 5 s).
class SimProcess {
  public:
    SimProcess(const std::string& simPath, std::vector<std::string> args)
        : child_(WithProgram(simPath, std::move(args))),
          port_(child_.WaitForLine("port: ", std::chrono::seconds(5))) {}

    [[nodiscard]] const std::string& Port() const { return port_; }

  private:
    static std::vector<std::string> WithProgram(const std::string& path,
                                                std::vector<std::string> args) {
        args.insert(args.begin(), path);
        return args;
    }

    ChildProcess child_;
    std::string port_;
};

}  // namespace pictor::test
