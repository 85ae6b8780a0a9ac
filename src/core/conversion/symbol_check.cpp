#include "core/conversion/symbol_check.h"

#include <map>
#include <optional>

#include "core/common/text_format.h"
#include "core/conversion/header_writer.h"

namespace pictor::conversion {
namespace {

bool IsAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsAsciiDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Why `symbol` is not a C identifier; nothing when it is one. The first offending
// character decides, so a name with several faults gets one clear reason.
std::optional<std::string> IdentifierFault(const std::string& symbol,
                                           const CoreTextLookup& lookup) {
    if (symbol.empty()) {
        return LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "it is empty"));
    }
    if (IsAsciiDigit(static_cast<unsigned char>(symbol.front()))) {
        return LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "it starts with a digit"));
    }
    for (const char ch : symbol) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_') {
            continue;
        }
        if (c == ' ') {
            return LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "it contains a space"));
        }
        if (c == '-') {
            return LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "it contains a hyphen"));
        }
        if (c >= 0x80) {
            return LookUp(lookup,
                          PICTOR_TRANSLATE_NOOP("Core", "it contains a non-ASCII character"));
        }
        if (c < 0x20 || c == 0x7F) {
            return LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "it contains a control character"));
        }
        return FillPlaceholders(LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "it contains '%1'")),
                                {std::string(1, ch)});
    }
    return std::nullopt;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::vector<std::string> SymbolWarnings(const std::vector<std::string>& names,
                                        const CoreTextLookup& lookup) {
    std::vector<std::string> warnings;
    // Symbol → the names that give it, in list order.
    std::map<std::string, std::vector<std::string>> users;
    std::vector<std::string> order;
    for (const std::string& name : names) {
        const std::string symbol = SymbolName(name);
        if (const auto fault = IdentifierFault(symbol, lookup)) {
            warnings.push_back(FillPlaceholders(
                LookUp(lookup,
                       PICTOR_TRANSLATE_NOOP("Core",
                                             "warning: picture %1 gives the symbol %2 in Icon.h, "
                                             "which is not a valid C identifier (%3)")),
                {Quoted(name), Quoted(symbol), *fault}));
        }
        auto& list = users[symbol];
        if (list.empty()) {
            order.push_back(symbol);
        }
        list.push_back(name);
    }
    for (const std::string& symbol : order) {
        const auto& list = users[symbol];
        if (list.size() < 2) {
            continue;
        }
        const std::string comma = LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", ", "));
        const std::string lastSeparator = LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", " and "));
        std::string pictures;
        for (std::size_t i = 0; i < list.size(); ++i) {
            pictures += (i == 0                 ? ""
                         : i + 1 == list.size() ? lastSeparator
                                                : comma) +
                        Quoted(list[i]);
        }
        const char* pattern =
            list.size() == 2 ? PICTOR_TRANSLATE_NOOP(
                                   "Core", "warning: pictures %1 both give the symbol %2 in Icon.h")
                             : PICTOR_TRANSLATE_NOOP(
                                   "Core", "warning: pictures %1 all give the symbol %2 in Icon.h");
        warnings.push_back(FillPlaceholders(LookUp(lookup, pattern), {pictures, Quoted(symbol)}));
    }
    return warnings;
}

}  // namespace pictor::conversion
