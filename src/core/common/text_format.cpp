#include "core/common/text_format.h"

namespace pictor {

std::string FormatPercentText(std::string_view pattern, int value) {
    std::string out;
    out.reserve(pattern.size() + 8);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == 'd') {
                out += std::to_string(value);
                ++i;
                continue;
            }
            if (pattern[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace pictor

namespace pictor {

std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& args) {
    std::string out;
    out.reserve(pattern.size() + 32);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < args.size()) {
                out += args[index];
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

int MatchPercentText(std::string_view pattern, std::string_view text) {
    const std::size_t marker = pattern.find("%d");
    if (marker == std::string_view::npos) {
        return -1;
    }
    const std::string head = FormatPercentText(pattern.substr(0, marker), 0);
    const std::string tail = FormatPercentText(pattern.substr(marker + 2), 0);
    if (text.size() <= head.size() + tail.size() || !text.starts_with(head) ||
        !text.ends_with(tail)) {
        return -1;
    }
    const std::string_view digits =
        text.substr(head.size(), text.size() - head.size() - tail.size());
    if (digits.size() > 9) {
        return -1;
    }
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::vector<std::string>> MatchNumberPlaceholders(std::string_view pattern,
                                                                std::string_view text) {
    std::vector<std::string> values;
    std::size_t at = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool placeholder = pattern[i] == '%' && i + 1 < pattern.size() &&
                                 pattern[i + 1] >= '1' && pattern[i + 1] <= '9';
        if (!placeholder) {
            if (at >= text.size() || text[at] != pattern[i]) {
                return std::nullopt;
            }
            ++at;
            continue;
        }
        const std::size_t digits = text.find_first_not_of("0123456789", at);
        const std::size_t end = digits == std::string_view::npos ? text.size() : digits;
        if (end == at) {
            return std::nullopt;
        }
        const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
        if (values.size() <= index) {
            values.resize(index + 1);
        }
        values[index] = std::string(text.substr(at, end - at));
        at = end;
        ++i;
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    return values;
}

}  // namespace pictor
