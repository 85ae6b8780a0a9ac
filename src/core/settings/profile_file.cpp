#include "core/settings/profile_file.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/common/ascii_text.h"
#include "core/common/regular_file.h"
#include "core/common/save_file.h"

namespace pictor::settings {

namespace {

// Cuts `text` to at most `maxLength` bytes without splitting a UTF-8 sequence.
std::string CutToLength(std::string_view text, std::size_t maxLength) {
    if (text.size() <= maxLength) {
        return std::string(text);
    }
    std::size_t end = maxLength;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) {
        --end;
    }
    return std::string(text.substr(0, end));
}

// One physical line of the file, with its line end kept as it was.
struct Line {
    std::string text;    // without the line end
    std::string ending;  // "\n", "\r\n" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& content) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t nl = content.find('\n', pos);
        if (nl == std::string::npos) {
            lines.push_back({content.substr(pos), ""});
            break;
        }
        std::size_t textEnd = nl;
        std::string ending = "\n";
        if (textEnd > pos && content[textEnd - 1] == '\r') {
            --textEnd;
            ending = "\r\n";
        }
        lines.push_back({content.substr(pos, textEnd - pos), ending});
        pos = nl + 1;
    }
    return lines;
}

// The section name of a "[name]" line, or nothing.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    if (t.empty() || t.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = t.find(']');
    const std::string_view inner =
        close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1);
    return TrimBlanks(inner);
}

// The key of a "key=value" line, or nothing for blank, comment and other lines.
std::optional<std::string_view> KeyName(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') {
        return std::nullopt;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimBlanks(t.substr(0, eq));
}

std::string_view ValueOf(std::string_view line) {
    const std::size_t eq = line.find('=');
    std::string_view value = TrimBlanks(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// A settings file larger than this is not one the tool wrote; it is not read.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{64} << 20U;

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    const std::optional<RegularFile> file = RegularFile::Open(path, FileAccess::Read);
    if (!file) {
        return std::nullopt;
    }
    const std::optional<std::vector<std::uint8_t>> bytes = file->ReadAll(kMaxFileBytes);
    if (!bytes) {
        return std::nullopt;
    }
    return std::string(bytes->begin(), bytes->end());
}

// A section or key name as the file's lines are compared with it: without edge
// blanks. Names that no "[name]" or "name=" line could hold give nothing, so they
// are never read from nor written to a section or key of another name.
std::optional<std::string_view> LineName(std::string_view name, bool isSection) {
    const std::string_view trimmed = TrimBlanks(name);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    for (const char c : trimmed) {
        if (c == '\n' || c == '\r' || (isSection && (c == '[' || c == ']')) ||
            (!isSection && c == '=')) {
            return std::nullopt;
        }
    }
    if (!isSection && (trimmed.front() == ';' || trimmed.front() == '[')) {
        return std::nullopt;
    }
    return trimmed;
}

}  // namespace

int ParseLeadingInt(std::string_view text) {
    const LeadingNumber number = ParseLeadingNumber(text);
    const auto value = static_cast<long long>(number.magnitude);
    if (number.negative) {
        return static_cast<int>(std::max(-value, static_cast<long long>(INT_MIN)));
    }
    return static_cast<int>(std::min(value, static_cast<long long>(INT_MAX)));
}

bool ProfileFile::Exists() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(path_, ec);
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue, std::size_t maxLength) const {
    const std::optional<std::string_view> sectionName = LineName(section, true);
    const std::optional<std::string_view> keyName = LineName(key, false);
    const std::optional<std::string> content = ReadWholeFile(path_);
    if (!content || !sectionName || !keyName) {
        return CutToLength(defaultValue, maxLength);
    }
    bool inSection = false;
    for (const Line& line : SplitLines(*content)) {
        if (const auto name = SectionName(line.text)) {
            if (inSection) {
                break;  // the first matching section ended without the key
            }
            inSection = EqualsIgnoringAsciiCase(*name, *sectionName);
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (const auto k = KeyName(line.text); k && EqualsIgnoringAsciiCase(*k, *keyName)) {
            return CutToLength(ValueOf(line.text), maxLength);
        }
    }
    return CutToLength(defaultValue, maxLength);
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
    // A value that can never occur in a file marks "missing".
    static constexpr std::string_view kMissing = "\n";
    const std::string value = GetString(section, key, kMissing, kLongValue);
    if (value == kMissing) {
        return defaultValue;
    }
    return ParseLeadingInt(value);
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    const std::optional<std::string_view> sectionName = LineName(section, true);
    const std::optional<std::string_view> keyName = LineName(key, false);
    // A line break in the value would end its line and start another.
    if (!sectionName || !keyName || value.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    const std::filesystem::path target = SaveTarget(path_);
    // A file that exists but cannot be read is never rewritten: that would lose
    // every other setting in it.
    std::error_code ec;
    const bool present = std::filesystem::exists(std::filesystem::symlink_status(target, ec));
    const std::optional<std::string> existing = ReadWholeFile(target);
    if (present && !existing) {
        return false;
    }
    const std::string content = existing.value_or(std::string());
    std::vector<Line> lines = SplitLines(content);
    const std::string eol = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const std::string keyLine = std::string(*keyName) + "=" + std::string(value);

    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> lastKeyLine;
    std::optional<std::size_t> keyLineIndex;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i].text)) {
            if (sectionLine) {
                break;
            }
            if (EqualsIgnoringAsciiCase(*name, *sectionName)) {
                sectionLine = i;
            }
            continue;
        }
        if (!sectionLine) {
            continue;
        }
        if (const auto k = KeyName(lines[i].text)) {
            lastKeyLine = i;
            if (EqualsIgnoringAsciiCase(*k, *keyName)) {
                keyLineIndex = i;
                break;
            }
        }
    }

    if (keyLineIndex) {
        lines[*keyLineIndex].text = keyLine;
    } else if (sectionLine) {
        const std::size_t after = lastKeyLine.value_or(*sectionLine);
        if (lines[after].ending.empty()) {
            lines[after].ending = eol;
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after) + 1, Line{keyLine, eol});
    } else {
        if (!lines.empty() && lines.back().ending.empty()) {
            lines.back().ending = eol;
        }
        lines.push_back({"[" + std::string(*sectionName) + "]", eol});
        lines.push_back({keyLine, eol});
    }

    std::string out;
    out.reserve(content.size() + keyLine.size() + section.size() + 8);
    for (const Line& line : lines) {
        out += line.text;
        out += line.ending;
    }
    std::error_code error;
    return SaveFileContent(target, out, error);
}

bool ProfileFile::WriteInt(std::string_view section, std::string_view key, long long value) {
    return WriteString(section, key, std::to_string(value));
}

}  // namespace pictor::settings
