#include <CLI/CLI.hpp>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"
#include "version/program_version.h"

namespace pictor::cli {

int Run(int argc, const char* const* argv, Streams streams) {
    if (const std::optional<Language> chosen = LanguageInArguments(argc, argv)) {
        streams.texts = std::make_shared<const Texts>(*chosen);
    }
    CLI::App app{streams.Translate(
        "Cli", "pictor-cli: convert pictures into LCD resource images and download them")};
    // Only --options exist. Windows-style /options would take a path written from
    // the root with forward slashes ("/d/firmware/Icon.bin") for an option; the
    // subcommands inherit this setting when they are made.
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    // --lang may also follow the command ("pictor-cli convert --lang en ...").
    app.fallthrough();
    // The words of CLI11's help layout; the subcommands share the formatter and
    // take the option group name when they are made.
    for (const char* label :
         {PICTOR_TRANSLATE_NOOP("Cli", "Usage"), PICTOR_TRANSLATE_NOOP("Cli", "OPTIONS"),
          PICTOR_TRANSLATE_NOOP("Cli", "Positionals"), PICTOR_TRANSLATE_NOOP("Cli", "REQUIRED"),
          PICTOR_TRANSLATE_NOOP("Cli", "Excludes"), PICTOR_TRANSLATE_NOOP("Cli", "Needs")}) {
        app.get_formatter()->label(label, streams.Translate("Cli", label));
    }
    app.option_defaults()->group(streams.Translate("Cli", "Options"));
    app.set_help_flag("-h,--help", streams.Translate("Cli", "Print this help message and exit"));
    app.set_version_flag("--version", "pictor-cli " + std::string(ProgramVersion()),
                         streams.Translate("Cli", "Print the version and exit"));
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
    // A subcommand makes its help flag before it takes the option group name.
    const std::string optionGroup = streams.Translate("Cli", "Options");
    const std::function<void(CLI::App&)> groupHelp = [&](CLI::App& command) {
        for (CLI::App* sub : command.get_subcommands([](CLI::App*) { return true; })) {
            if (CLI::Option* help = sub->get_help_ptr()) {
                help->group(optionGroup);
            }
            groupHelp(*sub);
        }
    };
    groupHelp(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        streams.out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp& e) {
        streams.out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::CallForVersion& e) {
        streams.out << e.what() << "\n";
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        // The parser's own text is English; the lead-in says in the chosen
        // language that the command line is at fault.
        streams.err << FillPlaceholders(streams.Translate("Cli", "pictor-cli: %1"), {e.what()})
                    << "\n";
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
