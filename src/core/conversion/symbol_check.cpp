#include "core/conversion/symbol_check.h"

#include <map>
#include <optional>

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
std::optional<std::string> IdentifierFault(const std::string& symbol) {
    if (symbol.empty()) {
        return "it is empty";
    }
    if (IsAsciiDigit(static_cast<unsigned char>(symbol.front()))) {
        return "it starts with a digit";
    }
    for (const char ch : symbol) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_') {
            continue;
        }
        if (c == ' ') {
            return "it contains a space";
        }
        if (c == '-') {
            return "it contains a hyphen";
        }
        if (c >= 0x80) {
            return "it contains a non-ASCII character";
        }
        if (c < 0x20 || c == 0x7F) {
            return "it contains a control character";
        }
        return std::string("it contains '") + ch + "'";
    }
    return std::nullopt;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::vector<std::string> SymbolWarnings(const std::vector<std::string>& names) {
    std::vector<std::string> warnings;
    // Symbol → the names that give it, in list order.
    std::map<std::string, std::vector<std::string>> users;
    std::vector<std::string> order;
    for (const std::string& name : names) {
        const std::string symbol = SymbolName(name);
        if (const auto fault = IdentifierFault(symbol)) {
            warnings.push_back("warning: picture " + Quoted(name) + " gives the symbol " +
                               Quoted(symbol) + " in Icon.h, which is not a valid C identifier (" +
                               *fault + ")");
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
        std::string text = "warning: pictures ";
        for (std::size_t i = 0; i < list.size(); ++i) {
            text += (i == 0 ? "" : i + 1 == list.size() ? " and " : ", ") + Quoted(list[i]);
        }
        warnings.push_back(text + (list.size() == 2 ? " both" : " all") + " give the symbol " +
                           Quoted(symbol) + " in Icon.h");
    }
    return warnings;
}

}  // namespace pictor::conversion
