#include "core/conversion/picture_profile.h"

#include <cstdint>

namespace pictor::conversion {

bool HasOwnProfile(const settings::ModelProfile& profile,
                   const workspace::PictureOperations& operations) {
    return profile.colorDepth == 1 && operations.threshold.has_value();
}

settings::ModelProfile PictureProfile(const settings::ModelProfile& profile,
                                      const workspace::PictureOperations& operations) {
    settings::ModelProfile own = profile;
    if (HasOwnProfile(profile, operations)) {
        own.colorLevels[0] = 0;
        own.colorLevels[1] = static_cast<std::uint8_t>(*operations.threshold);
    }
    return own;
}

}  // namespace pictor::conversion
