#include "core/text/text_values.h"

#include <charconv>
#include <cstdio>
#include <system_error>

namespace pictor::text {

std::optional<std::uint32_t> ParseColor(std::string_view text) {
    if (text.size() != 7 || text.front() != '#') {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text.substr(1)) {
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return value;
}

std::string ColorText(std::uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(color & 0xFFFFFFu));
    return text;
}

std::optional<TextAlign> ParseAlign(std::string_view text) {
    if (text == "left") {
        return TextAlign::Left;
    }
    if (text == "center" || text == "centre") {
        return TextAlign::Center;
    }
    if (text == "right") {
        return TextAlign::Right;
    }
    return std::nullopt;
}

std::string AlignText(TextAlign align) {
    switch (align) {
        case TextAlign::Center:
            return "center";
        case TextAlign::Right:
            return "right";
        case TextAlign::Left:
            break;
    }
    return "left";
}

std::optional<int> ParseTextSize(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < kMinTextSize ||
        value > kMaxTextSize) {
        return std::nullopt;
    }
    return value;
}

}  // namespace pictor::text
