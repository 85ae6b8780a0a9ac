#include "core/workspace/project_file.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/common/ascii_text.h"
#include "core/common/regular_file.h"
#include "core/common/save_file.h"
#include "core/common/text_format.h"
#include "core/workspace/entry_pictures.h"
#include "core/workspace/project_item_keys.h"

namespace pictor::workspace {

namespace {

constexpr std::uint64_t kMaxProjectBytes = std::uint64_t{16} * 1024 * 1024;
constexpr std::string_view kPictureSection = "picture";
constexpr std::string_view kTextSection = "text";

// --- values -------------------------------------------------------------------

// Blanks at either end of a name or value, and carriage returns, which a line end
// may hold more than one of: a value kept as it was read must not end in one, or
// the line end of the rewritten file would take it.
std::string_view Trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Values are written after "key = " on one line. A backslash, a line break and a
// tab are escaped, and so is a space at either end (it would be trimmed when read).
std::string EscapeValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case ' ':
                out += (i == 0 || i + 1 == value.size()) ? "\\s" : " ";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Undoes EscapeValue. A backslash before any other character stays as it is, so a
// hand-written value with a lone backslash reads as typed.
std::string UnescapeValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c != '\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const char next = value[i + 1];
        switch (next) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 's':
                out += ' ';
                break;
            default:
                out += '\\';
                out += next;
                break;
        }
        ++i;
    }
    return out;
}

std::optional<bool> ParseFlag(std::string_view text) {
    if (text == "yes" || text == "1" || text == "true") {
        return true;
    }
    if (text == "no" || text == "0" || text == "false") {
        return false;
    }
    return std::nullopt;
}

std::optional<ProjectPosition> ParsePosition(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<int> left = ParseWholeNumber(text.substr(0, comma));
    const std::optional<int> top = ParseWholeNumber(text.substr(comma + 1));
    if (!left || !top) {
        return std::nullopt;
    }
    return ProjectPosition{*left, *top};
}

// --- paths --------------------------------------------------------------------

std::filesystem::path Absolute(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

// The directory part resolved through symlinked directories; the file name itself
// is kept, so a picture that is a symlink keeps its own name.
std::filesystem::path RealDirectory(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path dir = std::filesystem::weakly_canonical(path, error);
    return error ? path : dir;
}

std::string RelativeText(const std::filesystem::path& path,
                         const std::filesystem::path& baseDirectory) {
    const std::filesystem::path absolute = Absolute(path);
    const std::filesystem::path real = RealDirectory(absolute.parent_path()) / absolute.filename();
    std::filesystem::path relative = real.lexically_relative(RealDirectory(baseDirectory));
    if (relative.empty()) {
        relative = absolute.lexically_relative(baseDirectory);
    }
    // Project files store '/' separators and UTF-8 on every platform.
    std::string text = Utf8FromPath(relative.empty() ? absolute : relative);
    if constexpr (std::filesystem::path::preferred_separator != '/') {
        std::replace(text.begin(), text.end(),
                     static_cast<char>(std::filesystem::path::preferred_separator), '/');
    }
    return text;
}

std::filesystem::path ResolveText(const std::string& text,
                                  const std::filesystem::path& baseDirectory) {
    const std::filesystem::path stored = PathFromUtf8(text);
    return stored.is_absolute() ? stored.lexically_normal()
                                : (baseDirectory / stored).lexically_normal();
}

// --- parsing ------------------------------------------------------------------

class Parser {
  public:
    Parser(const std::filesystem::path& baseDirectory, std::string displayName,
           CoreTextLookup lookup)
        : base_(baseDirectory), name_(std::move(displayName)), lookup_(std::move(lookup)) {}

    ProjectLoadResult Run(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        }
        std::size_t lineNumber = 0;
        while (!text.empty() && result_.error.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            ++lineNumber;
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            HandleLine(Trim(line), lineNumber);
        }
        if (result_.error.empty()) {
            FinishPicture();
        }
        if (result_.error.empty() && !version_) {
            result_.error = FillPlaceholders(
                LookUp(lookup_, PICTOR_TRANSLATE_NOOP(
                                    "Core", "%1: not a project file (no \"version\" line)")),
                {name_});
        }
        result_.ok = result_.error.empty();
        if (!result_.ok) {
            result_.project = Project{};
            return std::move(result_);
        }
        for (const ProjectPicture& picture : result_.project.pictures) {
            std::error_code error;
            if (!picture.text && !std::filesystem::exists(picture.path, error)) {
                result_.missing.push_back(picture.path);
            }
        }
        return std::move(result_);
    }

  private:
    enum class Section { Top, Picture, Text, Other };

    void Fail(std::size_t line, const std::string& reason) {
        if (result_.error.empty()) {
            result_.error =
                FillPlaceholders(LookUp(lookup_, PICTOR_TRANSLATE_NOOP("Core", "%1: line %2: %3")),
                                 {name_, std::to_string(line), reason});
        }
    }

    void HandleLine(std::string_view line, std::size_t number) {
        // No path holds a NUL, and the system calls would cut one there.
        if (line.find('\0') != std::string_view::npos) {
            Fail(number,
                 LookUp(lookup_, PICTOR_TRANSLATE_NOOP("Core", "the line holds a NUL character")));
            return;
        }
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            return;
        }
        if (line.front() == '[') {
            // A name of blanks only ("[ ]") would be kept as an empty name and
            // saved as "[]", which no longer loads: refused like "[]" itself.
            if (line.back() != ']' || line.size() < 3 ||
                Trim(line.substr(1, line.size() - 2)).empty()) {
                Fail(number, LookUp(lookup_, PICTOR_TRANSLATE_NOOP(
                                                 "Core", "a section line must look like [name]")));
                return;
            }
            FinishPicture();
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            if (name == kPictureSection || name == kTextSection) {
                section_ = name == kTextSection ? Section::Text : Section::Picture;
                picture_ = ProjectPicture{};
                if (section_ == Section::Text) {
                    picture_.text = text::TextPicture{};
                }
                pictureLine_ = number;
                seen_.clear();
            } else {
                section_ = Section::Other;
                result_.project.otherSections.push_back(ProjectSection{std::string(name), {}});
            }
            return;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            Fail(number,
                 LookUp(lookup_, PICTOR_TRANSLATE_NOOP("Core", "expected \"key = value\"")));
            return;
        }
        const std::string key(Trim(line.substr(0, equals)));
        if (key.empty()) {
            Fail(number,
                 LookUp(lookup_, PICTOR_TRANSLATE_NOOP("Core", "a key is missing before '='")));
            return;
        }
        const std::string rawValue(Trim(line.substr(equals + 1)));
        switch (section_) {
            case Section::Top:
                TopKey(key, rawValue, number);
                break;
            case Section::Picture:
            case Section::Text:
                PictureKey(key, rawValue, number);
                break;
            case Section::Other:
                result_.project.otherSections.back().keys.push_back(ProjectKey{key, rawValue});
                break;
        }
    }

    // Known keys may appear once per section.
    bool FirstTime(const std::string& key, std::size_t number) {
        for (const std::string& seen : seen_) {
            if (seen == key) {
                Fail(number, FillPlaceholders(LookUp(lookup_, PICTOR_TRANSLATE_NOOP(
                                                                  "Core", "\"%1\" appears twice")),
                                              {key}));
                return false;
            }
        }
        seen_.push_back(key);
        return true;
    }

    void TopKey(const std::string& key, const std::string& value, std::size_t number) {
        Project& project = result_.project;
        if (key == "version") {
            if (!FirstTime(key, number)) {
                return;
            }
            const std::optional<int> version = ParseWholeNumber(value);
            if (!version || *version < 1) {
                Fail(number,
                     LookUp(lookup_, PICTOR_TRANSLATE_NOOP(
                                         "Core", "the version must be a whole number from 1")));
            } else if (*version > kProjectFormatVersion) {
                Fail(
                    number,
                    FillPlaceholders(
                        LookUp(lookup_, PICTOR_TRANSLATE_NOOP("Core",
                                                              "written in project format %1, newer "
                                                              "than this program reads (%2)")),
                        {std::to_string(*version), std::to_string(kProjectFormatVersion)}));
            }
            version_ = version;
        } else if (key == "model") {
            if (FirstTime(key, number)) {
                project.model = UnescapeValue(value);
            }
        } else if (key == "output-dir") {
            if (FirstTime(key, number)) {
                const std::string dir = UnescapeValue(value);
                project.outputDir = dir.empty() ? std::filesystem::path() : ResolveText(dir, base_);
            }
        } else {
            project.otherKeys.push_back(ProjectKey{key, value});
        }
    }

    void PictureKey(const std::string& key, const std::string& value, std::size_t number) {
        if (section_ == Section::Text && TextItemKey(key, value, number)) {
            return;
        }
        if (key == "file" && section_ == Section::Picture) {
            if (!FirstTime(key, number)) {
                return;
            }
            const std::string file = UnescapeValue(value);
            if (file.empty()) {
                Fail(number,
                     LookUp(lookup_, PICTOR_TRANSLATE_NOOP("Core", "the picture's file is empty")));
                return;
            }
            picture_.path = ResolveText(file, base_);
        } else if (key == "shown") {
            if (!FirstTime(key, number)) {
                return;
            }
            const std::optional<bool> shown = ParseFlag(value);
            if (!shown) {
                Fail(number,
                     LookUp(lookup_, PICTOR_TRANSLATE_NOOP("Core", "\"shown\" must be yes or no")));
                return;
            }
            picture_.shown = *shown;
        } else if (key == "position") {
            if (!FirstTime(key, number)) {
                return;
            }
            picture_.position = ParsePosition(value);
            if (!picture_.position) {
                Fail(number,
                     LookUp(lookup_,
                            PICTOR_TRANSLATE_NOOP(
                                "Core", "\"position\" must be two whole numbers: left,top")));
            }
        } else if (!ItemKey(ReadOperationKey(key, value, picture_.operations, reason_, lookup_),
                            key, number)) {
            picture_.otherKeys.push_back(ProjectKey{key, value});
        }
    }

    // A key of a picture's operations or a text's style: checked for a second
    // appearance and its value. False for a key of neither kind.
    bool ItemKey(ItemKeyRead read, const std::string& key, std::size_t number) {
        if (read == ItemKeyRead::Unknown) {
            return false;
        }
        if (FirstTime(key, number) && read == ItemKeyRead::Refused) {
            Fail(number, reason_);
        }
        return true;
    }

    // The keys only a text has; false for others.
    bool TextItemKey(const std::string& key, const std::string& value, std::size_t number) {
        if (key == "font" || key == "name") {
            if (!FirstTime(key, number)) {
                return true;
            }
            const std::string text = UnescapeValue(value);
            if (text.empty()) {
                Fail(number,
                     FillPlaceholders(
                         LookUp(lookup_, PICTOR_TRANSLATE_NOOP("Core", "\"%1\" is empty")), {key}));
            } else if (key == "font") {
                picture_.text->font = ResolveText(text, base_);
            } else {
                picture_.name = text;
            }
            return true;
        }
        return ItemKey(ReadTextKey(key, UnescapeValue(value), *picture_.text, reason_, lookup_),
                       key, number);
    }

    void FinishPicture() {
        if (section_ == Section::Text) {
            for (const char* key : {"name", "text", "font"}) {
                if (std::find(seen_.begin(), seen_.end(), key) == seen_.end()) {
                    Fail(pictureLine_,
                         FillPlaceholders(
                             LookUp(lookup_,
                                    PICTOR_TRANSLATE_NOOP("Core", "the text has no \"%1\" line")),
                             {key}));
                    return;
                }
            }
            result_.project.pictures.push_back(std::move(picture_));
            picture_ = ProjectPicture{};
        }
        if (section_ == Section::Picture) {
            if (picture_.path.empty()) {
                Fail(pictureLine_,
                     LookUp(lookup_,
                            PICTOR_TRANSLATE_NOOP("Core", "the picture has no \"file\" line")));
                return;
            }
            result_.project.pictures.push_back(std::move(picture_));
            picture_ = ProjectPicture{};
        }
        seen_.clear();
    }

    std::filesystem::path base_;
    std::string name_;
    CoreTextLookup lookup_;
    ProjectLoadResult result_;
    Section section_ = Section::Top;
    ProjectPicture picture_;
    std::size_t pictureLine_ = 0;
    std::vector<std::string> seen_;
    std::optional<int> version_;
    std::string reason_;  // why the last item key was refused
};

// --- writing ------------------------------------------------------------------

void AppendKey(std::string& out, std::string_view key, std::string_view escapedValue) {
    out.append(key);
    out.append(" = ");
    out.append(escapedValue);
    out += '\n';
}

}  // namespace

std::filesystem::path ProjectBaseDirectory(const std::filesystem::path& projectFile) {
    return SaveTarget(projectFile).parent_path();
}

ProjectLoadResult ParseProject(const std::string& text, const std::filesystem::path& baseDirectory,
                               const std::string& displayName, const CoreTextLookup& lookup) {
    return Parser(Absolute(baseDirectory), displayName, lookup).Run(text);
}

ProjectLoadResult LoadProject(const std::filesystem::path& projectFile,
                              const CoreTextLookup& lookup) {
    const std::string name = Utf8FromPath(projectFile);
    OpenFailure failure = OpenFailure::None;
    const std::optional<RegularFile> file =
        RegularFile::Open(projectFile, FileAccess::Read, &failure);
    if (!file) {
        ProjectLoadResult result;
        switch (failure) {
            case OpenFailure::NotFound:
                result.error = FillPlaceholders(
                    LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "%1: no such file")), {name});
                break;
            case OpenFailure::NotRegular:
                result.error = FillPlaceholders(
                    LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "%1: not a regular file")),
                    {name});
                break;
            case OpenFailure::PermissionDenied:
                result.error = FillPlaceholders(
                    LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "%1: permission denied")), {name});
                break;
            default:
                result.error = FillPlaceholders(
                    LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "%1: cannot be opened")), {name});
                break;
        }
        return result;
    }
    const std::optional<std::vector<std::uint8_t>> bytes = file->ReadAll(kMaxProjectBytes);
    if (!bytes) {
        ProjectLoadResult result;
        result.error = FillPlaceholders(
            file->Size() > kMaxProjectBytes
                ? LookUp(lookup, PICTOR_TRANSLATE_NOOP(
                                     "Core", "%1: too large for a project file (over 16 MiB)"))
                : LookUp(lookup, PICTOR_TRANSLATE_NOOP("Core", "%1: read error")),
            {name});
        return result;
    }
    const std::string text(bytes->begin(), bytes->end());
    return ParseProject(text, ProjectBaseDirectory(projectFile), name, lookup);
}

std::string FormatProject(const Project& project, const std::filesystem::path& baseDirectory) {
    const std::filesystem::path base = Absolute(baseDirectory);
    std::string out = "# Pictor project\n";
    AppendKey(out, "version", std::to_string(kProjectFormatVersion));
    if (!project.model.empty()) {
        AppendKey(out, "model", EscapeValue(project.model));
    }
    if (!project.outputDir.empty()) {
        AppendKey(out, "output-dir", EscapeValue(RelativeText(project.outputDir, base)));
    }
    for (const ProjectKey& key : project.otherKeys) {
        AppendKey(out, key.key, key.value);
    }
    for (const ProjectPicture& picture : project.pictures) {
        if (picture.text) {
            out += "\n[text]\n";
            AppendKey(out, "name", EscapeValue(picture.name));
            const std::vector<ItemKeyValue> style = TextKeys(*picture.text);
            AppendKey(out, style.front().first, EscapeValue(style.front().second));
            AppendKey(out, "font", EscapeValue(RelativeText(picture.text->font, base)));
            for (auto key = style.begin() + 1; key != style.end(); ++key) {
                AppendKey(out, key->first, EscapeValue(key->second));
            }
        } else {
            out += "\n[picture]\n";
            AppendKey(out, "file", EscapeValue(RelativeText(picture.path, base)));
        }
        AppendKey(out, "shown", picture.shown ? "yes" : "no");
        if (picture.position) {
            AppendKey(out, "position",
                      std::to_string(picture.position->left) + "," +
                          std::to_string(picture.position->top));
        }
        for (const auto& [key, value] : OperationKeys(picture.operations)) {
            AppendKey(out, key, EscapeValue(value));
        }
        for (const ProjectKey& key : picture.otherKeys) {
            AppendKey(out, key.key, key.value);
        }
    }
    for (const ProjectSection& section : project.otherSections) {
        out += "\n[" + section.name + "]\n";
        for (const ProjectKey& key : section.keys) {
            AppendKey(out, key.key, key.value);
        }
    }
    return out;
}

bool SaveProject(const std::filesystem::path& projectFile, const Project& project,
                 std::string* error) {
    std::string ignored;
    std::string& reason = error != nullptr ? *error : ignored;
    reason.clear();
    const std::filesystem::path target = SaveTarget(projectFile);
    std::error_code saveError;
    if (!SaveFileContent(target, FormatProject(project, target.parent_path()), saveError)) {
        reason =
            Utf8FromPath(projectFile) + ": cannot be written (" + FileErrorText(saveError) + ")";
        return false;
    }
    return true;
}

Project ProjectFromList(const PictureList& list, const std::string& model,
                        const std::filesystem::path& outputDir, const Project& previous) {
    Project project;
    project.model = model;
    project.outputDir = outputDir.empty() ? std::filesystem::path() : Absolute(outputDir);
    project.otherKeys = previous.otherKeys;
    project.otherSections = previous.otherSections;
    for (const ImageEntry& entry : list.Entries()) {
        ProjectPicture picture;
        if (entry.text) {
            picture.text = *entry.text;
            picture.text->font = Absolute(picture.text->font);
            picture.name = entry.name;
        } else {
            picture.path = Absolute(PathFromUtf8(entry.path));
        }
        picture.shown = entry.shown;
        picture.position = ProjectPosition{entry.left, entry.top};
        picture.operations = entry.operations;
        for (const ProjectPicture& old : previous.pictures) {
            const bool same = picture.text ? old.text && old.name == picture.name
                                           : !old.text && Absolute(old.path) == picture.path;
            if (same) {
                picture.otherKeys = old.otherKeys;
                break;
            }
        }
        project.pictures.push_back(std::move(picture));
    }
    return project;
}

std::optional<ImageEntry> LoadProjectPicture(const ProjectPicture& picture, MessageSink& messages,
                                             const ImportOptions& options) {
    std::optional<ImageEntry> entry;
    if (picture.text) {
        entry = MakeTextEntry(*picture.text, picture.name, picture.operations, options.keepPixels,
                              messages);
    } else {
        std::error_code error;
        if (!std::filesystem::exists(picture.path, error)) {
            return std::nullopt;
        }
        // One import per picture keeps the project's order (an import sorts its list).
        PictureList single;
        if (ImportPictures(single, {Utf8FromPath(picture.path)}, messages, options) != 1) {
            return std::nullopt;
        }
        entry = single.At(0);
        Message why;
        if (!SetEntryOperations(*entry, picture.operations, &why, entry->bitmap.get())) {
            messages.Show(why);
            return std::nullopt;
        }
    }
    if (entry) {
        entry->shown = picture.shown;
        if (picture.position) {
            entry->left = picture.position->left;
            entry->top = picture.position->top;
        }
    }
    return entry;
}

PictureList BuildPictureList(const Project& project, MessageSink& messages,
                             const ImportOptions& options, int* added) {
    PictureList list;
    for (const ProjectPicture& picture : project.pictures) {
        if (std::optional<ImageEntry> entry = LoadProjectPicture(picture, messages, options)) {
            list.Append(std::move(*entry));
        }
    }
    list.Select(-1);
    if (added != nullptr) {
        *added = static_cast<int>(list.Size());
    }
    return list;
}

}  // namespace pictor::workspace
