// The manual pages and the README against the programs: every option a
// program's --help lists is documented in its manual page (in the section of its
// command), and the exit statuses are one table in the manual page and the
// README, holding exactly the exit codes pictor-cli uses.
#if defined(PICTOR_SOURCE_DIR) && defined(PICTOR_SIM_PATH)

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli_test_support.h"

namespace pictor::cli {
namespace {

std::string Source(const std::string& relative) {
    return test::ReadFile(std::filesystem::path(PICTOR_SOURCE_DIR) / relative);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The options a help text lists ("  -h,--help  ...", "  --settings TEXT ...").
std::set<std::string> HelpOptions(const std::string& help) {
    static const std::regex option(R"(^  (?:-[a-zA-Z],)?(--[a-z0-9-]+))");
    std::set<std::string> options;
    for (const std::string& line : Lines(help)) {
        if (std::smatch match; std::regex_search(line, match, option)) {
            options.insert(match[1]);
        }
    }
    return options;
}

// The commands of a help text's "Subcommands:" section.
std::vector<std::string> HelpCommands(const std::string& help) {
    std::vector<std::string> commands;
    bool inSection = false;
    for (const std::string& line : Lines(help)) {
        if (line == "Subcommands:") {
            inSection = true;
        } else if (line.empty()) {
            inSection = false;
        } else if (inSection && line.size() > 2 && line[2] != ' ') {
            commands.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
    }
    return commands;
}

// The manual page's sections ("# NAME", "## convert") by title.
std::map<std::string, std::string> Sections(const std::string& page) {
    std::map<std::string, std::string> sections;
    std::string title;
    for (const std::string& line : Lines(page)) {
        if (line.starts_with("# ") || line.starts_with("## ")) {
            title = line.substr(line.find(' ') + 1);
        } else {
            sections[title] += line + "\n";
        }
    }
    return sections;
}

// Whether `text` documents `option` as a term: a line starting "*--option*".
bool Documents(const std::string& text, const std::string& option) {
    return ("\n" + text).find("\n*" + option + "*") != std::string::npos ||
           text.find(", *" + option + "*") != std::string::npos;
}

class ManualTest : public CliTest {
  protected:
    std::string Help(std::vector<std::string> command) {
        command.emplace_back("--help");
        EXPECT_EQ(RunCli(command), kExitOk) << err_.str();
        return out_.str();
    }
};

TEST_F(ManualTest, EveryCommandAndOptionOfPictorCliIsInItsManualPage) {
    const auto sections = Sections(Source("docs/man/pictor-cli.1.scd"));
    ASSERT_TRUE(sections.contains("OPTIONS"));
    for (const std::string& option : HelpOptions(Help({}))) {
        EXPECT_TRUE(Documents(sections.at("OPTIONS"), option)) << option << " under OPTIONS";
    }
    EXPECT_TRUE(Documents(sections.at("OPTIONS"), "--version"));

    // Each command's section, with the shared sections it names (PORT OPTIONS).
    std::vector<std::vector<std::string>> pending;
    for (const std::string& command : HelpCommands(Help({}))) {
        pending.push_back({command});
    }
    int checked = 0;
    while (!pending.empty()) {
        const std::vector<std::string> command = pending.back();
        pending.pop_back();
        const std::string help = Help(command);
        for (const std::string& sub : HelpCommands(help)) {
            pending.push_back(command);
            pending.back().push_back(sub);
        }
        std::string title;
        for (const std::string& word : command) {
            title += (title.empty() ? "" : " ") + word;
        }
        if (!HelpCommands(help).empty()) {
            continue;  // "lcd": its commands have the sections
        }
        ASSERT_TRUE(sections.contains(title)) << "no section \"## " << title << "\"";
        std::string text = sections.at(title);
        for (const auto& [shared, sharedText] : sections) {
            if (shared != title &&
                sections.at(title).find("*" + shared + "*") != std::string::npos) {
                text += sharedText;
            }
        }
        for (const std::string& option : HelpOptions(help)) {
            if (option != "--help") {
                EXPECT_TRUE(Documents(text, option)) << option << " of " << title;
            }
        }
        ++checked;
    }
    EXPECT_GE(checked, 7) << "convert, preview, ports, connect, download, lcd read, lcd write";
}

TEST(PictorSimManualTest, EveryOptionIsInTheManualPage) {
    std::string help;
    FILE* pipe = ::popen(PICTOR_SIM_PATH " --help", "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        help.append(buffer, n);
    }
    ASSERT_EQ(::pclose(pipe), 0);
    const std::string page = Source("docs/man/pictor-sim.1.scd");
    const std::set<std::string> options = HelpOptions(help);
    EXPECT_GE(options.size(), 10u) << help;
    for (const std::string& option : options) {
        EXPECT_TRUE(Documents(page, option)) << option;
    }
}

// Exit status -> meaning, from the rows of a manual page table ("|  0" and
// ":  meaning") or of a Markdown table ("| 0 | meaning |").
std::map<int, std::string> ManualExitTable(const std::string& section) {
    std::map<int, std::string> table;
    const std::vector<std::string> lines = Lines(section);
    static const std::regex status(R"(^\|\s+(\d+)\s*$)");
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (std::smatch match;
            std::regex_match(lines[i], match, status) && lines[i + 1].starts_with(":")) {
            table[std::stoi(match[1])] =
                std::regex_replace(lines[i + 1], std::regex(R"(^:\s+)"), "");
        }
    }
    return table;
}

std::map<int, std::string> ReadmeExitTable(const std::string& readme) {
    const std::size_t start = readme.find("\n### Exit status\n");
    EXPECT_NE(start, std::string::npos) << "README has no \"### Exit status\" section";
    std::map<int, std::string> table;
    static const std::regex row(R"(^\| `?(\d+)`? \| (.*) \|$)");
    for (const std::string& line : Lines(readme.substr(start + 1))) {
        if (line.starts_with("#") && !line.starts_with("### Exit status")) {
            break;
        }
        if (std::smatch match; std::regex_match(line, match, row)) {
            table[std::stoi(match[1])] = match[2];
        }
    }
    return table;
}

TEST(ExitStatusTest, OneTableInTheManualPageAndTheReadme) {
    std::set<int> used;
    static const std::regex constant(R"(inline constexpr int kExit\w+ = (\d+);)");
    const std::string header = Source("src/cli/commands.h");
    for (auto it = std::sregex_iterator(header.begin(), header.end(), constant);
         it != std::sregex_iterator(); ++it) {
        used.insert(std::stoi((*it)[1]));
    }
    ASSERT_FALSE(used.empty());

    const auto manual =
        ManualExitTable(Sections(Source("docs/man/pictor-cli.1.scd"))["EXIT STATUS"]);
    std::set<int> documented;
    for (const auto& [code, meaning] : manual) {
        documented.insert(code);
    }
    EXPECT_EQ(documented, used);
    EXPECT_EQ(ReadmeExitTable(Source("README.md")), manual);
}

}  // namespace
}  // namespace pictor::cli

#endif
