#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

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
/// Only regular files are ever read: the open itself never blocks (a FIFO or a
/// device is opened non-blocking, recognised by fstat and closed at once), so a
/// picture or image path that names a pipe cannot hang the program. Move-only;
/// the descriptor is closed on destruction. Not thread-safe per object.
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
/// (0666 less the umask).
void SetModeForReplacing(int fd, const std::filesystem::path& target);

}  // namespace pictor
