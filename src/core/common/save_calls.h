#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>

namespace pictor {

/// The file-system calls a save makes (SaveFile, PublishPair, the recovery of an
/// interrupted publication), one virtual call each. The base class makes the real
/// calls of the running system (regular_file.h); tests derive from it to record the
/// order of the calls or to make one of them fail. A call that fails leaves errno
/// set, as the real ones do. The base class holds no state and is thread-safe.
class SaveCalls {
  public:
    SaveCalls() = default;
    SaveCalls(const SaveCalls&) = delete;
    SaveCalls& operator=(const SaveCalls&) = delete;
    virtual ~SaveCalls() = default;

    /// Creates a new file named `prefix` and random characters in `dir`, open for
    /// writing; its path goes to `created`. -1 on failure.
    virtual int CreateBeside(const std::filesystem::path& dir, std::string_view prefix,
                             std::filesystem::path& created);
    /// Creates `path`, which must not exist, open for writing. -1 on failure.
    virtual int CreateNew(const std::filesystem::path& path);
    /// Appends all of `bytes` at the file position.
    virtual bool Write(int fd, std::span<const std::uint8_t> bytes);
    /// Writes all of `bytes` from byte `offset` on, leaving the file position alone.
    virtual bool WriteAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> bytes);
    /// Puts the file's data on the disk.
    virtual bool SyncData(int fd);
    virtual bool Close(int fd);
    /// Gives the new file `fd` the permission bits of `target`, which it replaces.
    virtual void KeepMode(int fd, const std::filesystem::path& target);
    /// Renames `source` over `target` in one step.
    virtual bool Replace(const std::filesystem::path& source, const std::filesystem::path& target,
                         std::error_code& error);
    /// Keeps the file `file` as it is under the name `copy` too: a hard link, or a
    /// copy where links are impossible. `copy` must not exist.
    virtual bool KeepCopy(const std::filesystem::path& file, const std::filesystem::path& copy);
    /// Removes `path`; true when it is gone (or was never there).
    virtual bool Remove(const std::filesystem::path& path);
    /// Makes the last renames and removals inside `dir` durable.
    virtual void SyncDirectory(const std::filesystem::path& dir);
};

/// The real calls (a shared, stateless instance).
SaveCalls& SystemSaveCalls();

}  // namespace pictor
