// The Chinese translation is one: an entry whose source is English must not be
// left in English, unless it is listed in identical_translations.txt as the same
// in both languages (names, units, file names, formats).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "source_files.h"

namespace {

namespace fs = std::filesystem;
using pictor::i18n_test::ListedLines;
using pictor::i18n_test::ReadAll;

std::string Unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities) {
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + 1)) {
            text.replace(at, std::char_traits<char>::length(entity), character);
        }
    }
    return text;
}

bool HasChinese(const std::string& text) {
    for (const unsigned char c : text) {
        if (c >= 0xE3 && c <= 0xEF) {  // lead byte of CJK characters and punctuation
            return true;
        }
    }
    return false;
}

// A source is English when it has no Chinese, or reads as an English sentence
// that merely quotes a Chinese name ("open it first (\"打开串口\")").
bool IsEnglish(const std::string& source) {
    static const std::regex word(R"([A-Za-z]{2,})");
    const auto words = std::distance(std::sregex_iterator(source.begin(), source.end(), word),
                                     std::sregex_iterator());
    return !HasChinese(source) || words >= 3;
}

struct Entry {
    std::string context;
    std::string source;
    std::string translation;
};

// The text between `open` and the next `close` from `from` on; `from` moves past
// `close`. Plain searching rather than a regular expression: libstdc++'s regex
// recurses once per character and overflows the stack on a whole .ts context.
std::optional<std::string> Between(const std::string& text, std::size_t& from,
                                   std::string_view open, std::string_view close,
                                   std::size_t limit) {
    const std::size_t start = text.find(open, from);
    if (start == std::string::npos || start >= limit) {
        return std::nullopt;
    }
    const std::size_t body = start + open.size();
    const std::size_t end = text.find(close, body);
    if (end == std::string::npos || end > limit) {
        return std::nullopt;
    }
    from = end + close.size();
    return text.substr(body, end - body);
}

std::vector<Entry> Entries(const std::string& ts) {
    std::vector<Entry> entries;
    std::size_t at = 0;
    for (std::size_t context = ts.find("<context>"); context != std::string::npos;
         context = ts.find("<context>", at)) {
        const std::size_t context_end = std::min(ts.find("</context>", context), ts.size());
        at = context;
        const std::string name = Between(ts, at, "<name>", "</name>", context_end).value_or("");
        while (const auto source = Between(ts, at, "<source>", "</source>", context_end)) {
            // The translation element may carry attributes (type="unfinished").
            const std::size_t open = ts.find("<translation", at);
            const std::size_t body = open == std::string::npos ? open : ts.find('>', open);
            const std::size_t end =
                body == std::string::npos ? body : ts.find("</translation>", body);
            if (end == std::string::npos || end > context_end) {
                break;
            }
            entries.push_back(
                {name, Unescaped(*source), Unescaped(ts.substr(body + 1, end - body - 1))});
            at = end;
        }
        at = context_end;
    }
    return entries;
}

// English sources whose Chinese text is left as it is, one per line.
std::set<std::string> IntentionallyIdentical() {
    return ListedLines("tests/i18n/identical_translations.txt");
}

// English sources left untranslated in a .ts text, as "context: source".
std::vector<std::string> Untranslated(const std::string& ts, const std::set<std::string>& same) {
    std::vector<std::string> found;
    for (const Entry& entry : Entries(ts)) {
        if (IsEnglish(entry.source) && entry.translation == entry.source &&
            same.count(entry.source) == 0) {
            found.push_back(entry.context + ": " + entry.source);
        }
    }
    return found;
}

TEST(TranslationCheck, FindsEnglishLeftInEnglish) {
    const std::string ts =
        "<context>\n    <name>A</name>\n"
        "    <message>\n        <source>Open &quot;x&quot;</source>\n"
        "        <translation>Open &quot;x&quot;</translation>\n    </message>\n"
        "    <message>\n        <source>Close</source>\n"
        "        <translation>关闭</translation>\n    </message>\n"
        "    <message>\n        <source>导入</source>\n"
        "        <translation>导入</translation>\n    </message>\n"
        "    <message>\n        <source>Open it first (&quot;打开串口&quot;).</source>\n"
        "        <translation>Open it first (&quot;打开串口&quot;).</translation>\n"
        "    </message>\n"
        "    <message>\n        <source>下载 Bin档成功</source>\n"
        "        <translation>下载 Bin档成功</translation>\n    </message>\n"
        "    <message>\n        <source>16Mbit</source>\n"
        "        <translation>16Mbit</translation>\n    </message>\n"
        "</context>\n";
    EXPECT_EQ(Untranslated(ts, {"16Mbit"}),
              (std::vector<std::string>{"A: Open \"x\"", "A: Open it first (\"打开串口\")."}));
}

TEST(TranslationCheck, ChineseTranslationLeavesNoEnglishSourceInEnglish) {
    const std::vector<std::string> found =
        Untranslated(ReadAll(fs::path(PICTOR_SOURCE_DIR) / "translations/pictor_zh.ts"),
                     IntentionallyIdentical());
    std::string report;
    for (const std::string& line : found) {
        report += line + "\n";
    }
    EXPECT_TRUE(found.empty())
        << "English texts with an English \"translation\" in pictor_zh.ts (translate them, or "
           "list names, units and file names in tests/i18n/identical_translations.txt):\n"
        << report;
}

}  // namespace
