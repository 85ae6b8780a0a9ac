#include <CLI/CLI.hpp>

#include "cli/commands.h"

int main(int argc, char** argv) {
    return pictor::cli::Run(argc, argv);
}
