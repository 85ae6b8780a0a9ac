#pragma once

#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

namespace pictor::settings {

/// Access to one settings file in the classic INI form: "[section]" lines open a
/// section, "key=value" lines give values. There is no cache: every call reads or
/// rewrites the file, so a value written is in the file when the call returns.
///
/// Section and key names match without regard to ASCII case and without their edge
/// blanks, on reads and writes alike. A name no line of the file could hold (empty,
/// a section name with "[" or "]", a key with "=", a line break) is never found
/// and never written. A missing file, section or key gives the caller's default.
/// Writes create the file, the section and the key as needed and keep every other
/// line byte for byte; they replace the file atomically through SaveFile (a
/// temporary file beside it with its permission bits, synced, renamed, the folder
/// synced), so a crash never leaves a half-written settings file. When the path is
/// a symbolic link, the file it leads to is replaced (in that file's directory) and
/// the link stays. Values are UTF-8 text without line breaks.
///
/// Not thread-safe against concurrent writers of the same file.
class ProfileFile {
  public:
    /// Buffer sizes the readers use: values of "COMMON" and the model sections are
    /// seen up to 1023 characters, values of "Scom" up to 99.
    static constexpr std::size_t kLongValue = 1023;
    static constexpr std::size_t kShortValue = 99;
    /// For paths and other values that are written back: never cut.
    static constexpr std::size_t kWholeValue = std::numeric_limits<std::size_t>::max();

    explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    [[nodiscard]] bool Exists() const;

    /// The value of `key` in `section`, cut to at most `maxLength` bytes (never in
    /// the middle of a UTF-8 sequence); `defaultValue` (also cut) when the file,
    /// section or key is missing. Surrounding blanks and one pair of enclosing
    /// quotes are removed from the value.
    [[nodiscard]] std::string GetString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue,
                                        std::size_t maxLength = kLongValue) const;

    /// The value read as an integer: optional blanks, an optional minus sign and
    /// the leading decimal digits (a present value without digits reads 0; values
    /// beyond the int range saturate). `defaultValue` when the key is missing.
    [[nodiscard]] int GetInt(std::string_view section, std::string_view key,
                             int defaultValue) const;

    /// Sets `key` in `section` to `value`. Returns false when the file could not be
    /// written or a name or the value cannot be stored (the old file is then
    /// unchanged).
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    /// Convenience: writes the decimal text of `value`.
    bool WriteInt(std::string_view section, std::string_view key, long long value);

  private:
    std::filesystem::path path_;
};

/// The value of an INI-style integer text: optional blanks, optional minus sign,
/// leading decimal digits; no digits gives 0; saturates at the int range.
int ParseLeadingInt(std::string_view text);

}  // namespace pictor::settings
