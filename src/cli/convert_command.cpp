#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace pictor::cli {

void AddConvertCommand(CLI::App& /*app*/, Streams /*streams*/, int& /*exitCode*/) {}

}  // namespace pictor::cli
