#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/common/translatable.h"

namespace pictor {

/// How a regular file is opened.
enum class FileAccess { Read, ReadWrite };

/// Why `RegularFile::Open` failed.
enum class OpenFailure {
    None,
    NotFound,    // no such file
    NotRegular,  // a directory, FIFO, socket or device: never opened for data
    PermissionDenied,
    Other,
};

/// An open file descriptor of a regular file (or of a link's regular target).
///
/// Only regular files are ever read: the open itself never blocks (on POSIX a
/// FIFO or a device is opened non-blocking, recognised by fstat and closed at
/// once; on Windows the handle's file type must be a disk file), so a picture
/// or image path that names a pipe cannot hang the program. Move-only; the
/// descriptor is closed on destruction. Not thread-safe per object.
class RegularFile {
  public:
    /// Opens `path` if it is a regular file. On failure returns nothing and, when
    /// `failure` is given, stores the reason.
    static std::optional<RegularFile> Open(const std::filesystem::path& path, FileAccess access,
                                           OpenFailure* failure = nullptr);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    [[nodiscard]] int Descriptor() const { return fd_; }
    /// The size in bytes at the time of the open.
    [[nodiscard]] std::uint64_t Size() const { return size_; }

    /// Reads the whole file from offset 0 (up to `limit` bytes). Returns nothing
    /// when a read fails or the file holds more than `limit` bytes.
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadAll(std::uint64_t limit) const;

    /// Reads into `out` from `offset` until `out` is full or the file ends, and
    /// returns the number of bytes read. A failed read stops early and, when
    /// `failed` is given, sets it; interrupted reads are repeated.
    [[nodiscard]] std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out,
                                     bool* failed = nullptr) const;

  private:
    RegularFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}

    int fd_ = -1;
    std::uint64_t size_ = 0;
};

/// Writes all of `bytes` to descriptor `fd` from `offset` on, repeating short and
/// interrupted writes. False when a write fails or writes nothing.
[[nodiscard]] bool WriteAllAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> bytes);

/// Gives the new file open as `fd`, which is to replace `target`, the permission
/// bits of `target`; when `target` does not exist, those a newly created file gets
/// (0666 less the umask). Nothing to do on Windows, where files have no mode bits.
void SetModeForReplacing(int fd, const std::filesystem::path& target);

/// How `OpenForWriting` treats a file that is already there.
enum class WriteOpen {
    CreateNew,  // fail with EEXIST
    Truncate,   // empty it
};

/// Opens `path` write-only in binary mode, creating it (0666 less the umask on
/// POSIX), not inherited by child processes. Returns the descriptor, or -1 with
/// errno set.
[[nodiscard]] int OpenForWriting(const std::filesystem::path& path, WriteOpen how);

/// Creates a new, empty file named `prefix` followed by random characters in
/// `dir` and opens it for writing. Returns the descriptor and stores the path in
/// `created`; -1 with errno set when no file could be created.
[[nodiscard]] int CreateUniqueFile(const std::filesystem::path& dir, std::string_view prefix,
                                   std::filesystem::path& created);

/// Writes all of `bytes` at the current position of `fd`, repeating short and
/// interrupted writes. False when a write fails.
[[nodiscard]] bool WriteAll(int fd, std::span<const std::uint8_t> bytes);

/// Writes the file's data to the disk (fdatasync / FlushFileBuffers). False when
/// the device reports an error.
[[nodiscard]] bool SyncFileData(int fd);

/// Starts writing `length` bytes from `offset` of `fd` to the disk without waiting
/// for them, so that a later `SyncFileData` has less to do. Only a hint.
void StartWriteback(int fd, std::uint64_t offset, std::uint64_t length);

/// Closes `fd`; false when the close reports an error (a write that failed late).
bool CloseFile(int fd);

/// Replaces `target` with `source` in one step: a reader sees the old or the new
/// file, never neither (rename(2); MoveFileExW with MOVEFILE_REPLACE_EXISTING and
/// MOVEFILE_WRITE_THROUGH on Windows, which returns once the move is on the disk).
/// Both must be on the same file system. Stores the reason in `error` on failure.
bool ReplaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target,
                           std::error_code& error);

/// A short reason for a failed file operation, in words for a message ("access
/// denied: …", "the file is in use by another program"). On Windows the core's own
/// texts for the portable reasons (translated by `lookup`), the system's text for
/// any other error; elsewhere the system's text (strerror).
[[nodiscard]] std::string FileErrorText(const std::error_code& error,
                                        const CoreTextLookup& lookup = {});

#ifdef _WIN32
/// The reason of a failed file operation from its Windows system error code
/// (GetLastError()), as a portable error: permission_denied for access denied
/// (which MoveFileExW also answers when another program has the target open),
/// device_or_resource_busy for a sharing or lock violation (the file is in use by
/// another program), no_such_file_or_directory, file_exists,
/// read_only_file_system and no_space_on_device. Any other code stays the
/// system's error.
[[nodiscard]] std::error_code FileErrorOfWindowsCode(unsigned long code);
#endif

/// Makes the last renames inside `dir` durable (fsync of the directory). Windows
/// has no such call and needs none after a write-through move.
void SyncDirectory(const std::filesystem::path& dir);

/// A path from UTF-8 text and the UTF-8 text of a path. On POSIX both keep the
/// bytes as they are; on Windows, whose narrow strings are in the ANSI code page,
/// they convert between UTF-8 and the wide-character path, so file names in any
/// script survive. There, text that is not UTF-8 turns into U+FFFD characters.
[[nodiscard]] std::filesystem::path PathFromUtf8(std::string_view utf8);
[[nodiscard]] std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace pictor
