#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pictor {

/// Small helpers for the ASCII-only text rules of settings keys, port names and
/// list entries: letters fold A-Z to a-z, every other byte stays as it is.

/// `c` with A-Z folded to a-z.
constexpr char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// True when `a` and `b` are equal with A-Z folded.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

/// True when `text` begins with `prefix`, A-Z folded.
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

/// `text` without leading and trailing blanks (space, tab, CR, LF).
std::string_view TrimBlanks(std::string_view text);

/// The leading number of a text: optional blanks, an optional sign and the
/// decimal digits up to the first other character. `magnitude` saturates at
/// 2^32; `hasDigits` is false when no digit follows.
struct LeadingNumber {
    bool negative = false;
    bool hasDigits = false;
    std::uint64_t magnitude = 0;
};
LeadingNumber ParseLeadingNumber(std::string_view text);

/// A whole decimal number (optionally negative) that fits an int, with nothing
/// around it but spaces and tabs; nothing otherwise.
std::optional<int> ParseWholeNumber(std::string_view text);

}  // namespace pictor
