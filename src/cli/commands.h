#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "cli/cli_texts.h"
#include "core/common/translatable.h"

namespace CLI {
class App;
}

namespace pictor::cli {

/// Exit codes of every pictor-cli command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCancelled = 130;

/// Output streams of a command run (so tests can capture them), and the language
/// the texts are written in. Without `texts` (and without `--lang`) the texts
/// stay as written in the sources.
struct Streams {
    std::ostream& out;
    std::ostream& err;
    std::shared_ptr<const Texts> texts = nullptr;

    /// A text of the tool in the run's language.
    [[nodiscard]] std::string Translate(const char* context, const char* source) const {
        return texts ? texts->Translate(context, source) : std::string(source);
    }
    /// A core message in the run's language.
    [[nodiscard]] Message Localize(const Message& message) const {
        return texts ? texts->Localize(message) : message;
    }
    /// How core texts are looked up in the run's language (none: as written).
    [[nodiscard]] CoreTextLookup CoreLookup() const {
        if (!texts) {
            return {};
        }
        return [texts = texts](std::string_view source) {
            return texts->Translate(kCoreTextContext, source);
        };
    }
    /// A core status text in the run's language.
    [[nodiscard]] std::string LocalizeStatus(const std::string& text) const {
        return texts ? texts->LocalizeStatus(text) : text;
    }
};

/// Parses `argv` and runs the chosen command; returns the process exit code, which
/// never depends on the language. The first form writes to stdout and stderr in
/// the language of `--lang` or of the environment (see `ChooseLanguage`).
int Run(int argc, char** argv);
int Run(int argc, const char* const* argv, Streams streams);

/// Each command group registers its subcommands on the app. The callback a
/// subcommand installs stores its exit code in `exitCode`.
void AddConvertCommand(CLI::App& app, const Streams& streams, int& exitCode);
void AddPreviewCommand(CLI::App& app, const Streams& streams, int& exitCode);
void AddDeviceCommands(CLI::App& app, const Streams& streams, int& exitCode);
void AddWatchCommand(CLI::App& app, const Streams& streams, int& exitCode);

}  // namespace pictor::cli
