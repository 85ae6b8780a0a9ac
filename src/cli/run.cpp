#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/commands.h"

namespace pictor::cli {

int Run(int argc, const char* const* argv, Streams streams) {
    CLI::App app{"pictor-cli: convert pictures into LCD resource images and download them"};
    app.require_subcommand(1);
    int exitCode = kExitOk;
    AddConvertCommand(app, streams, exitCode);
    AddPreviewCommand(app, streams, exitCode);
    AddDeviceCommands(app, streams, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        streams.out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp& e) {
        streams.out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        streams.err << "pictor-cli: " << e.what() << "\n";
        return kExitUsage;
    }
    return exitCode;
}

int Run(int argc, char** argv) {
    return Run(argc, argv, Streams{std::cout, std::cerr});
}

}  // namespace pictor::cli
