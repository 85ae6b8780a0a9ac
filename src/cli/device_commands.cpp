#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace pictor::cli {

void AddDeviceCommands(CLI::App& /*app*/, Streams /*streams*/, int& /*exitCode*/) {}

}  // namespace pictor::cli
