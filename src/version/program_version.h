#pragma once

#include <string_view>

namespace pictor {

/// The version of Pictor's programs: "X.Y.Z" from the project's version, with
/// "+g" and the short commit ("0.2.0+g1a2b3c4") when the build came from a git
/// checkout that is not exactly the release's tagged, unchanged commit.
///
/// Only the programs link it; the core does not, so that nothing a conversion
/// writes (Icon.bin, Icon.h, Icon.c) can change with the version.
[[nodiscard]] std::string_view ProgramVersion();

}  // namespace pictor
