#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

namespace pictor::cli {

/// Exit codes of every pictor-cli command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCancelled = 130;

/// Output streams of a command run (so tests can capture them).
struct Streams {
    std::ostream& out;
    std::ostream& err;
};

/// Parses `argv` and runs the chosen command; returns the process exit code.
int Run(int argc, char** argv);
int Run(int argc, const char* const* argv, Streams streams);

/// Each command group registers its subcommands on the app. The callback a
/// subcommand installs stores its exit code in `exitCode`.
void AddConvertCommand(CLI::App& app, Streams streams, int& exitCode);
void AddPreviewCommand(CLI::App& app, Streams streams, int& exitCode);
void AddDeviceCommands(CLI::App& app, Streams streams, int& exitCode);

}  // namespace pictor::cli
