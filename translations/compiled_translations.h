#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace pictor {

/// The compiled translation (`.qm` bytes) of `language` ("en", "zh", ...) that
/// the build put into the program; empty when there is none.
std::span<const std::uint8_t> CompiledTranslation(std::string_view language);

}  // namespace pictor
