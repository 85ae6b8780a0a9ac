// How pictor-cli reads its command line, on every platform.

#include <gtest/gtest.h>

#include <string>

#include "cli_test_support.h"

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

}  // namespace
}  // namespace pictor::cli
