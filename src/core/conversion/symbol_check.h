#pragma once

#include <string>
#include <vector>

#include "core/common/translatable.h"

namespace pictor::conversion {

/// Warnings about the symbols that `Icon.h` gets for the pictures named `names`
/// (in list order): a symbol that is not a valid C identifier (empty, a leading
/// digit, a space, a hyphen, a byte outside ASCII or any other character but
/// letters, digits and '_'), and a symbol that two or more pictures share. One
/// English line per finding, without a line end, in list order; empty when all
/// symbols are usable. The output itself is never changed by these findings.
/// The texts go through `lookup` (a front end's translation). Pure and
/// thread-safe.
std::vector<std::string> SymbolWarnings(const std::vector<std::string>& names,
                                        const CoreTextLookup& lookup = {});

}  // namespace pictor::conversion
