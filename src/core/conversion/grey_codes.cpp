#include "core/conversion/grey_codes.h"

namespace pictor::conversion {

GreyCodes MakeGreyCodes(const settings::ModelProfile& profile) {
    GreyCodes codes;
    const int depth = profile.colorDepth >= 1 && profile.colorDepth <= 8 ? profile.colorDepth : 1;
    codes.count = 1 << depth;
    codes.lowestGrey.fill(-1);
    codes.highestGrey.fill(-1);
    for (int grey = 0; grey < 256; ++grey) {
        int code = 0;
        for (int k = codes.count - 1; k >= 0; --k) {
            if (grey >= profile.colorLevels[static_cast<std::size_t>(k)]) {
                code = k;
                break;
            }
        }
        const auto at = static_cast<std::size_t>(code);
        codes.codeOfGrey[static_cast<std::size_t>(grey)] = static_cast<std::uint8_t>(code);
        if (codes.lowestGrey[at] < 0) {
            codes.lowestGrey[at] = grey;
        }
        codes.highestGrey[at] = grey;
    }
    return codes;
}

}  // namespace pictor::conversion
