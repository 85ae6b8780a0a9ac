#include "core/settings/model_list.h"

#include <algorithm>

namespace pictor::settings {
namespace {

constexpr const char* kCommon = "COMMON";

std::string NameKey(std::size_t index) {
    return "MODEL_NAME" + std::to_string(index);
}

}  // namespace

std::vector<std::string> ReadModelNames(const ProfileFile& file) {
    const int count = std::max(file.GetInt(kCommon, "MODEL_COUNT", 0), 0);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        names.push_back(
            file.GetString(kCommon, NameKey(static_cast<std::size_t>(i)), "Load Error"));
    }
    return names;
}

bool DeleteModel(ProfileFile& file, int index) {
    std::vector<std::string> names = ReadModelNames(file);
    if (names.size() < 2 || index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        return false;
    }
    const int oldCount = static_cast<int>(names.size());
    int current = file.GetInt(kCommon, "CURRENT_MODE", 0);
    names.erase(names.begin() + index);

    if (current > index) {
        --current;  // the same model, one place up (the "New" entry too)
    } else if (current == index) {
        current = std::max(index - 1, 0);
    }
    current = std::clamp(current, 0, oldCount - 1);

    bool written = true;
    for (std::size_t i = static_cast<std::size_t>(index); i < names.size(); ++i) {
        written = file.WriteString(kCommon, NameKey(i), names[i]) && written;
    }
    written =
        file.WriteInt(kCommon, "MODEL_COUNT", static_cast<long long>(names.size())) && written;
    written = file.WriteInt(kCommon, "CURRENT_MODE", current) && written;
    return written;
}

}  // namespace pictor::settings
