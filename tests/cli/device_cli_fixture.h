#pragma once

// Runs pictor-cli as a process in a temporary folder against pictor-sim, with the
// output going to files.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

#if defined(PICTOR_SIM_PATH) && defined(PICTOR_CLI_PATH)

namespace pictor::cli::test {

using namespace std::chrono_literals;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class DeviceCommands : public ::testing::Test {
  protected:
    pictor::test::TempDir dir;

    /// The environment the tool's language comes from (the Chinese interface
    /// unless a test says otherwise).
    std::string environment = "PICTOR_LANG=zh";

    /// Starts pictor-cli with `args` in `dir`, its output going to files.
    std::unique_ptr<pictor::test::ChildProcess> Start(const std::vector<std::string>& args) {
        std::string command = "cd '" + dir.Path().string() + "' && exec env -u LANGUAGE " +
                              environment + " '" PICTOR_CLI_PATH "'";
        for (const auto& a : args) {
            command += " '" + a + "'";
        }
        command += " >out.txt 2>err.txt";
        return std::make_unique<pictor::test::ChildProcess>(
            std::vector<std::string>{"/bin/sh", "-c", command}, false);
    }
    CliRun Finish(pictor::test::ChildProcess& child) {
        CliRun run;
        run.exitCode = child.WaitForExit(60s);
        run.out = pictor::test::ReadFile(dir / "out.txt");
        run.err = pictor::test::ReadFile(dir / "err.txt");
        return run;
    }
    CliRun Cli(const std::vector<std::string>& args) { return Finish(*Start(args)); }
    static pictor::test::SimProcess Sim(std::vector<std::string> args) {
        args.insert(args.end(), {"--erase-ms", "0"});
        return pictor::test::SimProcess(PICTOR_SIM_PATH, std::move(args));
    }
    /// The same, for a simulator that outlives the calling function.
    static std::unique_ptr<pictor::test::SimProcess> NewSim(std::vector<std::string> args) {
        args.insert(args.end(), {"--erase-ms", "0"});
        return std::make_unique<pictor::test::SimProcess>(PICTOR_SIM_PATH, std::move(args));
    }
};

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

/// A flash file for `pictor-sim --flash`: `capacity` erased bytes with `image`
/// from byte `offset` on (the state a download of `image` leaves).
inline void WriteFlashFile(const std::filesystem::path& path, std::size_t capacity,
                           const std::string& image, std::size_t offset) {
    std::string flash(capacity, '\xFF');
    flash.replace(offset, image.size(), image);
    std::ofstream(path, std::ios::binary) << flash;
}

}  // namespace pictor::cli::test

#endif
