#include "sim/sim_options.h"

#include <charconv>
#include <string>

namespace pictor::sim {

namespace {

constexpr unsigned kFirstCode = 0x90;
constexpr unsigned kLastCode = 0x97;

std::optional<unsigned> ParseUnsigned(std::string_view text, int base) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool IsCode(std::optional<unsigned> value) {
    return value && *value >= kFirstCode && *value <= kLastCode;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::optional<std::uint8_t> ParseCommandCode(std::string_view text) {
    std::optional<unsigned> value;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        value = ParseUnsigned(text.substr(2), 16);
    } else if (const auto hex = ParseUnsigned(text, 16); IsCode(hex)) {
        value = hex;
    } else {
        value = ParseUnsigned(text, 10);
    }
    if (!IsCode(value)) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c == ' ' || c == ':' || c == ',' || c == '\t') {
            continue;
        }
        if (HexDigit(c) < 0) {
            return std::nullopt;
        }
        digits.push_back(c);
    }
    if (digits.empty() || digits.size() % 2 != 0 || digits.size() > 128) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(
            static_cast<std::uint8_t>(HexDigit(digits[i]) * 16 + HexDigit(digits[i + 1])));
    }
    return bytes;
}

}  // namespace pictor::sim
