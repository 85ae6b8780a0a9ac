#pragma once

// The conversion a watch round makes: the project converted as
// `pictor-cli convert --project` does, and the files it was made from.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/common/message.h"

namespace pictor::cli {

/// The files a conversion of the project reads: the project file, the settings
/// file and every picture the project names (missing ones too, so that their
/// return is noticed). Just the project and the settings when the project
/// cannot be read.
std::vector<std::filesystem::path> ProjectInputs(const std::string& projectPath,
                                                 const std::string& settingsPath);

/// Converts the project into its output folder (the working directory when it
/// names none) and returns the path of the `Icon.bin` written; nothing after a
/// failure, which was reported through `messages` or on `streams.err` (the old
/// outputs are then left as they were). Picture files are never modified.
std::optional<std::filesystem::path> ConvertProject(const std::string& projectPath,
                                                    const std::string& settingsPath,
                                                    MessageSink& messages, const Streams& streams);

}  // namespace pictor::cli
