#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace pictor::sim {

/// Reads a command code given on the command line: "0x94" is hex; "90" to "97"
/// (the codes as the protocol writes them) are hex too; otherwise decimal, so
/// "148" is 0x94. Only 0x90..0x97 are accepted (0x92 names the final answer to
/// a written sector). Empty when the text is not such a code.
std::optional<std::uint8_t> ParseCommandCode(std::string_view text);

/// Reads bytes written in hex, with or without blanks, colons or commas between
/// the bytes ("9107", "91 07", "91:07"). At least one byte, at most 64. Empty on
/// an odd digit count or a character that is not a hex digit or separator.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text);

}  // namespace pictor::sim
