#include "core/workspace/operation_values.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/common/ascii_text.h"

namespace pictor::workspace {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::optional<int> Side(std::string_view text) {
    const std::optional<int> value = ParseWholeNumber(text);
    if (!value || *value < 1 || *value > kMaxPictureSide) {
        return std::nullopt;
    }
    return value;
}

template <class Value, std::size_t N>
std::optional<Value> FromTable(std::string_view text,
                               const std::array<std::pair<std::string_view, Value>, N>& table) {
    for (const auto& [name, value] : table) {
        if (name == text) {
            return value;
        }
    }
    return std::nullopt;
}

constexpr std::array<std::pair<std::string_view, Flip>, 8> kFlipNames{{
    {"none", Flip::None},
    {"horizontal", Flip::Horizontal},
    {"vertical", Flip::Vertical},
    {"both", Flip::Both},
    {"h", Flip::Horizontal},
    {"v", Flip::Vertical},
    {"hv", Flip::Both},
    {"vh", Flip::Both},
}};

constexpr std::array<std::pair<std::string_view, ScaleFilter>, 3> kFilterNames{{
    {"nearest", ScaleFilter::Nearest},
    {"area", ScaleFilter::Area},
    {"bilinear", ScaleFilter::Bilinear},
}};

}  // namespace

std::optional<PixelRect> ParseCrop(std::string_view text) {
    std::array<int, 4> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t comma = i + 1 < parts.size() ? text.find(',') : text.size();
        if (comma == std::string_view::npos) {
            return std::nullopt;
        }
        const std::optional<int> value = ParseWholeNumber(text.substr(0, comma));
        if (!value || *value < 0) {
            return std::nullopt;
        }
        parts[i] = *value;
        text.remove_prefix(std::min(text.size(), comma + 1));
    }
    if (parts[2] < 1 || parts[3] < 1) {
        return std::nullopt;
    }
    return PixelRect{parts[0], parts[1], parts[2], parts[3]};
}

std::string CropText(const PixelRect& crop) {
    return std::to_string(crop.x) + "," + std::to_string(crop.y) + "," +
           std::to_string(crop.width) + "," + std::to_string(crop.height);
}

std::optional<int> ParseRotate(std::string_view text) {
    const std::optional<int> degrees = ParseWholeNumber(text);
    if (!degrees || (*degrees != 0 && *degrees != 90 && *degrees != 180 && *degrees != 270)) {
        return std::nullopt;
    }
    return degrees;
}

std::optional<Flip> ParseFlip(std::string_view text) {
    return FromTable(TrimBlanks(text), kFlipNames);
}

std::string FlipText(Flip flip) {
    for (const auto& [name, value] : kFlipNames) {
        if (value == flip) {
            return std::string(name);  // the long forms come first
        }
    }
    return "none";
}

std::optional<ScaleTarget> ParseSize(std::string_view text) {
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<int> width = Side(text.substr(0, cross));
    const std::optional<int> height = Side(text.substr(cross + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return ScaleTarget{ScaleMode::Exact, *width, *height};
}

std::optional<ScaleTarget> ParseScale(std::string_view text) {
    text = TrimBlanks(text);
    constexpr std::string_view kFit = "fit";
    if (text.substr(0, kFit.size()) == kFit && text.size() > kFit.size() &&
        IsBlank(text[kFit.size()])) {
        std::optional<ScaleTarget> box = ParseSize(text.substr(kFit.size()));
        if (box) {
            box->mode = ScaleMode::Fit;
        }
        return box;
    }
    return ParseSize(text);
}

std::string ScaleText(const ScaleTarget& scale) {
    const std::string size = std::to_string(scale.width) + " x " + std::to_string(scale.height);
    return scale.mode == ScaleMode::Fit ? "fit " + size : size;
}

std::optional<ScaleFilter> ParseFilter(std::string_view text) {
    return FromTable(TrimBlanks(text), kFilterNames);
}

std::string FilterText(ScaleFilter filter) {
    for (const auto& [name, value] : kFilterNames) {
        if (value == filter) {
            return std::string(name);
        }
    }
    return "nearest";
}

std::optional<int> ParseThreshold(std::string_view text) {
    const std::optional<int> level = ParseWholeNumber(text);
    if (!level || *level < 0 || *level > 255) {
        return std::nullopt;
    }
    return level;
}

std::optional<bool> ParseYesNo(std::string_view text) {
    text = TrimBlanks(text);
    if (text == "yes" || text == "1" || text == "true" || text == "on") {
        return true;
    }
    if (text == "no" || text == "0" || text == "false" || text == "off") {
        return false;
    }
    return std::nullopt;
}

}  // namespace pictor::workspace
