#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "cli/commands.h"

namespace pictor::cli {

int Run(int argc, const char* const* argv, Streams streams) {
    if (const std::optional<Language> chosen = LanguageInArguments(argc, argv)) {
        streams.texts = std::make_shared<const Texts>(*chosen);
    }
    CLI::App app{streams.Translate(
        "Cli", "pictor-cli: convert pictures into LCD resource images and download them")};
    app.require_subcommand(1);
    app.set_help_flag("-h,--help", streams.Translate("Cli", "Print this help message and exit"));
    std::string languageOption;
    app.add_option("--lang", languageOption,
                   streams.Translate("Cli",
                                     "Language of the texts: zh or en (default: "
                                     "PICTOR_LANG, then LC_ALL, LC_MESSAGES, LANG)"))
        ->check(CLI::IsMember({"zh", "en"}));
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
    const Language language = ChooseLanguage(LanguageInArguments(argc, argv),
                                             [](const char* name) { return std::getenv(name); });
    return Run(argc, argv, Streams{std::cout, std::cerr, std::make_shared<const Texts>(language)});
}

}  // namespace pictor::cli
