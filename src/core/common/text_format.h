#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

/// Formats a status text with one "%d" and optional "%%" (the progress texts'
/// pattern, e.g. "写数据...%d %%"): "%d" becomes the decimal value, "%%" a single "%".
std::string FormatPercentText(std::string_view pattern, int value);

}  // namespace pictor

namespace pictor {

/// `pattern` with %1 ... %9 replaced by `args` (the first argument for %1), in one
/// pass, so a value that contains "%2" is not replaced again. A placeholder
/// without a value and a "%" that starts no placeholder stay as they are.
std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& args);

/// The value `FormatPercentText(pattern, value)` was made with, when `text` has
/// that form; -1 otherwise. The front ends use it to translate a status text.
int MatchPercentText(std::string_view pattern, std::string_view text);

/// The values `FillPlaceholders(pattern, values)` made `text` with, when every
/// placeholder of `pattern` (%1 ... %9) stands for a decimal number in `text`
/// ("%1 of %2 blocks changed" and "3 of 96 blocks changed" give {"3", "96"});
/// nullopt otherwise. The front ends use it to translate a status text.
std::optional<std::vector<std::string>> MatchNumberPlaceholders(std::string_view pattern,
                                                                std::string_view text);

}  // namespace pictor
