#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/common/message.h"
#include "core/common/translatable.h"
#include "core/text/text_picture.h"
#include "core/workspace/picture_import.h"
#include "core/workspace/picture_list.h"
#include "core/workspace/picture_operations.h"

namespace pictor::workspace {

/// The suffix of project files, with its dot.
inline constexpr const char* kProjectSuffix = ".pictor";
/// The format version this program writes and the newest it reads.
inline constexpr int kProjectFormatVersion = 1;

/// A `key = value` line kept as it was read (a key this program does not know).
struct ProjectKey {
    std::string key;
    std::string value;

    friend bool operator==(const ProjectKey&, const ProjectKey&) = default;
};

/// A section with a name this program does not know, kept whole.
struct ProjectSection {
    std::string name;
    std::vector<ProjectKey> keys;

    friend bool operator==(const ProjectSection&, const ProjectSection&) = default;
};

/// A position on the LCD in pixels.
struct ProjectPosition {
    int left = 0;
    int top = 0;

    friend bool operator==(const ProjectPosition&, const ProjectPosition&) = default;
};

/// One picture of a project: a picture file (a `[picture]` section) or a text
/// drawn with a font (a `[text]` section).
struct ProjectPicture {
    /// The picture file. Loading makes it absolute (resolved against the project
    /// file's directory); saving stores it relative to that directory. Empty for a
    /// text.
    std::filesystem::path path;
    bool shown = false;
    /// The position from the project; without one the picture's trailer gives it.
    std::optional<ProjectPosition> position;
    /// Keys of the picture's section this program does not know, in file order.
    std::vector<ProjectKey> otherKeys;
    /// The operations the picture goes through when it is loaded.
    PictureOperations operations = {};
    /// Set for a text; its font path is absolute after loading, like `path`.
    std::optional<text::TextPicture> text = {};
    /// The name of a text (its symbol is made from it); unused for a picture file,
    /// whose name comes from its file.
    std::string name = {};

    friend bool operator==(const ProjectPicture&, const ProjectPicture&) = default;
};

/// The content of a project file.
struct Project {
    std::vector<ProjectPicture> pictures;  // in list order
    std::string model;                     // model name; empty: not set
    /// Output folder; empty: not set. Absolute after loading, like picture paths.
    std::filesystem::path outputDir;
    std::vector<ProjectKey> otherKeys;          // unknown top-level keys, in file order
    std::vector<ProjectSection> otherSections;  // unknown sections, in file order

    friend bool operator==(const Project&, const Project&) = default;
};

struct ProjectLoadResult {
    bool ok = false;
    /// Why the file could not be read (one line, names the file); empty when `ok`.
    std::string error;
    /// Every picture of the file, missing ones included, so a rewrite keeps them
    /// only when the caller wants to.
    Project project;
    /// Absolute paths of the pictures whose files do not exist, in project order.
    std::vector<std::filesystem::path> missing;
};

/// The directory that relative paths of the project file at `projectFile` are
/// relative to: the directory of the file a symlink finally points to (the
/// directory of `projectFile` itself when it is not a symlink or does not exist
/// yet), made absolute.
std::filesystem::path ProjectBaseDirectory(const std::filesystem::path& projectFile);

/// Reads the project file at `projectFile` (UTF-8 text). Malformed input (no or a
/// newer format version, a line that is neither a comment, a section nor a
/// `key = value`, a bad value of a known key, a picture without a file, a file
/// larger than 16 MiB, or one that is not a regular file) gives `ok` false and a
/// message naming the file and the line (its texts through `lookup`, a front
/// end's translation). Never throws.
ProjectLoadResult LoadProject(const std::filesystem::path& projectFile,
                              const CoreTextLookup& lookup = {});

/// Parses project text as if read from a file whose relative paths start at
/// `baseDirectory`; `displayName` names the source in messages. Used by
/// `LoadProject` and by tests.
ProjectLoadResult ParseProject(const std::string& text, const std::filesystem::path& baseDirectory,
                               const std::string& displayName, const CoreTextLookup& lookup = {});

/// The text `SaveProject` writes: fixed key order, paths relative to
/// `baseDirectory` with '/' separators, unknown keys and sections after the known
/// ones in their original order.
std::string FormatProject(const Project& project, const std::filesystem::path& baseDirectory);

/// Writes `project` to `projectFile` through SaveFile: a temporary file in the same
/// directory with the old file's permission bits, synced, renamed over the target,
/// and the directory synced. When `projectFile` is a symlink the file it points to
/// is replaced and the link is kept. On failure returns false, leaves any previous
/// file as it was and, when `error` is given, stores a one-line reason naming the
/// file. Never throws.
bool SaveProject(const std::filesystem::path& projectFile, const Project& project,
                 std::string* error = nullptr);

/// The project describing `list`: every entry's path (made absolute) or text,
/// shown flag, position and operations, with `model` and `outputDir`. Unknown keys
/// and sections of `previous` are kept, and a picture keeps the unknown keys of the
/// picture with the same path (a text: the same name) in `previous`.
Project ProjectFromList(const PictureList& list, const std::string& model,
                        const std::filesystem::path& outputDir, const Project& previous = {});

/// The list entry of one picture of a project: a picture file imported through
/// `ImportPictures` (same loading, same messages for a file that does not load) or
/// a text drawn (`MakeTextEntry`; a font that does not load is reported), with the
/// picture's operations, shown flag and position (a picture without a position
/// keeps its trailer's). Nothing for a picture file that does not exist (silently:
/// loading the project listed it), one that does not load, and operations that do
/// not apply to the picture's size (reported). Thread-safe.
std::optional<ImageEntry> LoadProjectPicture(const ProjectPicture& picture, MessageSink& messages,
                                             const ImportOptions& options = {});

/// Builds the picture list of `project` as the GUI shows it: each picture through
/// `LoadProjectPicture`, in project order. No picture is current afterwards.
/// Returns the list; `added` (when given) receives how many pictures and texts
/// were listed.
PictureList BuildPictureList(const Project& project, MessageSink& messages,
                             const ImportOptions& options = {}, int* added = nullptr);

}  // namespace pictor::workspace
