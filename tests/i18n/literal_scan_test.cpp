// Every user-visible text of the desktop application and the command-line tool
// is marked for translation. The scan looks at the string literals of src/gui and
// src/cli outside the marking calls; a literal that reads like text (Chinese
// characters, or two words) must be marked or be listed in allowed_literals.txt
// (keys, file names, formats, names of things that are not translated). A Qt
// string literal (QStringLiteral, QLatin1String, QString::fromUtf8, …) is what
// widgets show, so there a single word counts as text too, unless it is written
// like a key (importButton, zoom%1Action, folders/import).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "source_files.h"

namespace {

namespace fs = std::filesystem;
using pictor::i18n_test::ListedLines;
using pictor::i18n_test::ReadAll;

// The source with comments, #include lines and marked calls blanked out (newlines
// kept, so line numbers stay right).
std::string Unmarked(const std::string& source) {
    std::string out = source;
    // Comments and preprocessor lines.
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '"') {  // skip a literal
            for (++i; i < out.size() && out[i] != '"'; ++i) {
                if (out[i] == '\\') {
                    ++i;
                }
            }
        } else if (out.compare(i, 2, "//") == 0 ||
                   (out[i] == '#' && (i == 0 || out[i - 1] == '\n'))) {
            for (; i < out.size() && out[i] != '\n'; ++i) {
                out[i] = ' ';
            }
        }
    }
    // Marked calls, up to their closing parenthesis.
    static const std::regex marker(
        R"(\b(tr|Translate|QT_TR_NOOP|QT_TRANSLATE_NOOP|PICTOR_TRANSLATE_NOOP|translate)\s*\()");
    for (auto it = std::sregex_iterator(out.begin(), out.end(), marker);
         it != std::sregex_iterator(); ++it) {
        std::size_t i = static_cast<std::size_t>(it->position() + it->length());
        int depth = 1;
        for (; i < out.size() && depth > 0; ++i) {
            if (out[i] == '"') {
                const std::size_t start = i;
                for (++i; i < out.size() && out[i] != '"'; ++i) {
                    if (out[i] == '\\') {
                        ++i;
                    }
                }
                for (std::size_t k = start; k <= i && k < out.size(); ++k) {
                    if (out[k] != '\n') {
                        out[k] = ' ';
                    }
                }
            } else if (out[i] == '(') {
                ++depth;
            } else if (out[i] == ')') {
                --depth;
            }
        }
    }
    return out;
}

bool ReadsLikeText(const std::string& literal) {
    static const std::regex words(R"([A-Za-z]{2,}[,.:;!?']? [A-Za-z(]{2,})");
    for (const unsigned char c : literal) {
        if (c >= 0xE3 && c <= 0xEF) {  // lead byte of CJK characters and punctuation
            return true;
        }
    }
    return std::regex_search(literal, words);
}

// A Qt string literal that holds a word but is not written like a key or a name
// of a thing: "open", "(none)", "%1 pictures", "Choose a file".
bool ReadsLikeShownText(const std::string& literal) {
    static const std::regex word(R"([A-Za-z]{2,})");
    static const std::regex key(R"([A-Za-z:][A-Za-z0-9%]*[A-Z0-9%_/.:][A-Za-z0-9%_/.:-]*)");
    return ReadsLikeText(literal) ||
           (std::regex_search(literal, word) && !std::regex_match(literal, key));
}

// True when the literal starting at `quote` is the argument of a Qt string literal.
bool InQtStringLiteral(const std::string& text, std::size_t quote) {
    static const std::regex opening(
        R"((QStringLiteral|QLatin1String|QLatin1StringView|QString::fromUtf8|QString::fromLatin1|QString)\s*\(\s*$)");
    const std::size_t from = quote > 40 ? quote - 40 : 0;
    return std::regex_search(text.substr(from, quote - from), opening);
}

std::set<std::string> AllowedLiterals() {
    return ListedLines("tests/i18n/allowed_literals.txt");
}

// Unmarked literals that read like text, as "file:line: literal".
std::vector<std::string> Findings(const std::string& name, const std::string& source,
                                  const std::set<std::string>& allowed) {
    std::vector<std::string> found;
    const std::string text = Unmarked(source);
    static const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), literal);
         it != std::sregex_iterator(); ++it) {
        const std::string value = (*it)[1].str();
        const bool text_like = InQtStringLiteral(text, static_cast<std::size_t>(it->position()))
                                   ? ReadsLikeShownText(value)
                                   : ReadsLikeText(value);
        if (text_like && allowed.count(value) == 0) {
            const auto line = 1 + std::count(text.begin(), text.begin() + it->position(), '\n');
            found.push_back(name + ":" + std::to_string(line) + ": \"" + value + "\"");
        }
    }
    return found;
}

TEST(LiteralScan, FindsUnmarkedTextsAndIgnoresMarkedOnes) {
    const std::string source =
        "// \"注释 in a comment\"\n"
        "label->setText(tr(\"导入\"));\n"
        "auto t = streams.Translate(\"Cli\",\n    \"two words\" \"joined here\");\n"
        "setObjectName(QStringLiteral(\"importButton\"));\n"
        "ShowMessage(\"没有正常导入bmp\", icon);\n"
        "err << \"no serial ports found\";\n"
        "QStringLiteral(\"Pictor\");\n";
    const std::vector<std::string> found = Findings("x.cpp", source, {});
    ASSERT_EQ(found.size(), 3U) << ::testing::PrintToString(found);
    EXPECT_EQ(found[0], "x.cpp:6: \"没有正常导入bmp\"");
    EXPECT_EQ(found[1], "x.cpp:7: \"no serial ports found\"");
    EXPECT_EQ(found[2], "x.cpp:8: \"Pictor\"");
    EXPECT_TRUE(
        Findings("x.cpp", source, {"没有正常导入bmp", "no serial ports found", "Pictor"}).empty());
}

// A Qt string literal shown by a widget is text even as one word; keys,
// object names and formats are not.
TEST(LiteralScan, QtStringLiteralsCountSingleWordsButNotKeys) {
    const std::string source =
        "port.arg(open ? QStringLiteral(\"open\") : QStringLiteral(\"closed\"));\n"
        "menu->addAction(QStringLiteral(\"(none)\"));\n"
        "label->setText(QStringLiteral(\"%1 pictures\").arg(n));\n"
        "button->setToolTip(QLatin1String(\"Choose a file\"));\n"
        "setObjectName(QStringLiteral(\"importButton\"));\n"
        "Action(QStringLiteral(\"zoom%1Action\"));\n"
        "Store().value(QStringLiteral(\"folders/import\"));\n"
        "QStringLiteral(\"%1 x %2, %3\");\n"
        "const char* key = \"open\";\n";
    const std::vector<std::string> found = Findings("y.cpp", source, {});
    EXPECT_EQ(found, (std::vector<std::string>{"y.cpp:1: \"open\"", "y.cpp:1: \"closed\"",
                                               "y.cpp:2: \"(none)\"", "y.cpp:3: \"%1 pictures\"",
                                               "y.cpp:4: \"Choose a file\""}));
}

TEST(LiteralScan, FrontEndTextsAreMarked) {
    const std::set<std::string> allowed = AllowedLiterals();
    std::vector<std::string> found;
    for (const char* dir : {"src/gui", "src/cli"}) {
        // The programs' own folders only: src/gui/screenshot is a developer tool.
        for (const auto& entry : fs::directory_iterator(fs::path(PICTOR_SOURCE_DIR) / dir)) {
            const fs::path& path = entry.path();
            if (path.extension() != ".cpp" && path.extension() != ".h") {
                continue;
            }
            const std::string name = fs::relative(path, PICTOR_SOURCE_DIR).generic_string();
            for (std::string& finding : Findings(name, ReadAll(path), allowed)) {
                found.push_back(std::move(finding));
            }
        }
    }
    std::string report;
    for (const std::string& finding : found) {
        report += finding + "\n";
    }
    EXPECT_TRUE(found.empty()) << "Texts not marked for translation (mark them, or list "
                                  "non-texts in tests/i18n/allowed_literals.txt):\n"
                               << report;
}

}  // namespace
