#pragma once

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace pictor::i18n_test {

/// The bytes of a file of the source tree (empty when it cannot be read).
inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// The lines of a list file under the source tree, without '#' comments and
/// empty lines.
inline std::set<std::string> ListedLines(const std::string& relativePath) {
    std::set<std::string> listed;
    std::istringstream lines(ReadAll(std::filesystem::path(PICTOR_SOURCE_DIR) / relativePath));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != '#') {
            listed.insert(line);
        }
    }
    return listed;
}

}  // namespace pictor::i18n_test
