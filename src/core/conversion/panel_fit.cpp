#include "core/conversion/panel_fit.h"

#include <string>

#include "core/common/translatable.h"

namespace pictor::conversion {

std::vector<Message> PanelFitWarnings(const workspace::PictureList& list,
                                      const settings::ModelProfile& profile) {
    std::vector<Message> warnings;
    const long long panelWidth = profile.panelWidth;
    const long long panelHeight = profile.panelHeight;
    if (panelWidth <= 0 || panelHeight <= 0) {
        return warnings;
    }
    const std::string panel = std::to_string(panelWidth) + " x " + std::to_string(panelHeight);
    for (const workspace::ImageEntry& entry : list.Entries()) {
        const std::string size = std::to_string(entry.width) + " x " + std::to_string(entry.height);
        const std::string& name = entry.name;
        if (entry.width > panelWidth || entry.height > panelHeight) {
            warnings.push_back(PatternMessage(
                PICTOR_TRANSLATE_NOOP("Core", "%1 (%2) is larger than the panel (%3)"),
                {name, size, panel}, "", MessageIcon::Exclamation));
            continue;
        }
        const long long left = entry.left;
        const long long top = entry.top;
        if (left < 0 || top < 0 || left + entry.width > panelWidth ||
            top + entry.height > panelHeight) {
            warnings.push_back(PatternMessage(
                PICTOR_TRANSLATE_NOOP("Core",
                                      "%1 (%2) at %3,%4 reaches past the edge of the panel (%5)"),
                {name, size, std::to_string(left), std::to_string(top), panel}, "",
                MessageIcon::Exclamation));
        }
    }
    return warnings;
}

}  // namespace pictor::conversion
