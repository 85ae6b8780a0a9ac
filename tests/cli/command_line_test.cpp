// How pictor-cli reads its command line, on every platform.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "cli_test_support.h"
#include "version/program_version.h"

namespace pictor::cli {
namespace {

using CommandLineTest = CliTest;

// MSYS and Git Bash users write paths from the root with forward slashes. Only
// --options exist, so such a path is an argument like any other (on Windows the
// parser would otherwise take "/d" for an option and miss the file).
TEST_F(CommandLineTest, APathFromTheRootWithForwardSlashesIsAnArgument) {
    const std::string missing = (dir_ / "settings.ini").string();
    EXPECT_EQ(
        RunCli({"download", "--port", "COM250", "--settings", missing, "/d/firmware/Icon.bin"}),
        kExitFailed)
        << err_.str();
    EXPECT_EQ(err_.str().find("required"), std::string::npos) << err_.str();

    EXPECT_EQ(RunCli({"convert", "--settings", missing, "--output-dir", dir_.string(),
                      "/d/firmware/pictures/logo.bmp"}),
              kExitFailed)
        << err_.str();
    EXPECT_NE(err_.str().find("/d/firmware/pictures/logo.bmp"), std::string::npos) << err_.str();

    EXPECT_EQ(RunCli({"connect", "/port", "COM5"}), kExitUsage) << "no /option exists";
}

// --version needs no command; the version is the project's, with the commit of a
// git checkout after it.
TEST_F(CommandLineTest, PrintsTheVersion) {
    EXPECT_EQ(RunCli({"--version"}), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), "pictor-cli " + std::string(ProgramVersion()) + "\n");
    EXPECT_TRUE(std::regex_match(std::string(ProgramVersion()),
                                 std::regex(R"(\d+\.\d+\.\d+(\+g[0-9a-f]{7,})?)")))
        << ProgramVersion();
    EXPECT_TRUE(std::string(ProgramVersion()).starts_with(PICTOR_PROJECT_VERSION));
}

}  // namespace
}  // namespace pictor::cli
