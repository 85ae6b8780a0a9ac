#pragma once

#include <array>
#include <cstdint>

#include "core/settings/model_profile.h"

namespace pictor::conversion {

/// How the grey depths (1, 2, 4 and 8 bits) turn a grey value into a code, worked
/// out once from the profile's thresholds for the encoder, the dithering and the
/// decoder alike.
struct GreyCodes {
    /// Number of codes of the depth (2 to 256).
    int count = 2;
    /// The code of each grey value 0..255: the largest code k whose threshold
    /// (`colorLevels[k]`) the value reaches, searched from the top code down; 0
    /// when it reaches none.
    std::array<std::uint8_t, 256> codeOfGrey{};
    /// The lowest and the highest grey value that gives each code; -1 for a code
    /// that no grey value gives (its threshold is above 255 or hidden by a lower
    /// threshold of a higher code).
    std::array<int, 256> lowestGrey{};
    std::array<int, 256> highestGrey{};
};

/// The grey codes of `profile`'s depth; meaningful for grey depths only. Pure.
GreyCodes MakeGreyCodes(const settings::ModelProfile& profile);

}  // namespace pictor::conversion
