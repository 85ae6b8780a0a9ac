#pragma once

// The conversion a watch round makes: the project converted as
// `pictor-cli convert --project` does, and the files it was made from.

#include <filesystem>
#include <optional>
#include <vector>

#include "core/common/message.h"
#include "core/common/translatable.h"

namespace pictor::cli {

/// The files a conversion of the project reads: the project file, the settings
/// file and every picture the project names (missing ones too, so that their
/// return is noticed). Just the project and the settings when the project cannot
/// be read.
std::vector<std::filesystem::path> ProjectInputs(const std::filesystem::path& project,
                                                 const std::filesystem::path& settings);

/// Converts the project through the core's conversion request, always into the
/// binary image (a model that writes C source gets `Icon.bin` here too), and
/// returns the path of the `Icon.bin` written; nothing after a failure, which was
/// reported through `messages` (the old outputs are then left as they were).
/// Picture files are never modified.
std::optional<std::filesystem::path> ConvertProject(const std::filesystem::path& project,
                                                    const std::filesystem::path& settings,
                                                    MessageSink& messages,
                                                    const CoreTextLookup& lookup);

}  // namespace pictor::cli
