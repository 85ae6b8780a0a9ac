#pragma once

// A fixture that runs pictor-cli in-process in a temporary folder and keeps what
// it printed.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "support/temp_dir.h"

namespace pictor::cli {

class CliTest : public ::testing::Test {
  protected:
    // Runs pictor-cli with `args` (the program name is added); stdout and stderr
    // go to out_ and err_, which are emptied first. Returns the exit code.
    int RunCli(const std::vector<std::string>& args) {
        std::vector<const char*> argv = {"pictor-cli"};
        for (const auto& a : args) {
            argv.push_back(a.c_str());
        }
        out_.str("");
        err_.str("");
        return pictor::cli::Run(static_cast<int>(argv.size()), argv.data(), Streams{out_, err_});
    }

    pictor::test::TempDir temp_;
    std::filesystem::path dir_ = temp_.Path();
    std::ostringstream out_;
    std::ostringstream err_;
};

}  // namespace pictor::cli
