#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <system_error>

#include "core/common/save_calls.h"

namespace pictor {

/// The file that saving `path` replaces: `path` itself, or, when it is a symbolic
/// link (a chain of up to 40), the file at the end of the chain, which need not
/// exist. Relative link targets are taken from the link's folder. Made absolute.
std::filesystem::path SaveTarget(const std::filesystem::path& path);

/// One file saved so that a reader, a crash or a full disk never leaves it half
/// written: the new content goes to a temporary file beside the file it replaces,
/// which takes that file's permission bits; `Finish` writes what is buffered, syncs
/// the data to the disk and closes it; `Publish` renames it over the target and
/// then syncs the folder, so the rename survives a power cut. A symbolic link
/// stays a link: the file at its end is replaced, in that file's folder.
///
/// Failures are sticky: after one, every later call fails, and `Error` tells the
/// first reason. A SaveFile destroyed before it was published removes its
/// temporary file, so the target keeps its old content whatever happened. Every
/// file-system call goes through the `SaveCalls` given at the start. Not
/// thread-safe; one object per save.
class SaveFile {
  public:
    /// Starts saving `path`: creates the temporary file. Returns nothing, with the
    /// reason in `error`, when it cannot be created (a missing or read-only folder).
    static std::unique_ptr<SaveFile> Begin(const std::filesystem::path& path,
                                           std::error_code& error,
                                           SaveCalls& calls = SystemSaveCalls());

    ~SaveFile();
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    /// Appends `bytes` (buffered; large writes go straight to the file).
    bool Write(std::span<const std::uint8_t> bytes);
    bool Write(std::string_view text);
    /// Replaces bytes already written, from byte `offset` on.
    bool Overwrite(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    /// Writes out the buffer, syncs the data to the disk and closes the file. False
    /// when this or any earlier step failed.
    bool Finish();
    /// Renames the finished file over the target, without syncing the folder
    /// (PublishPair syncs it once for both files). False when not finished or the
    /// rename failed.
    bool RenameIntoPlace();
    /// RenameIntoPlace, then syncs the target's folder.
    bool Publish();
    /// Finish and Publish.
    bool Commit() { return Finish() && Publish(); }

    [[nodiscard]] bool Finished() const { return finished_; }
    [[nodiscard]] bool Published() const { return published_; }
    /// The path the save was started with.
    [[nodiscard]] const std::filesystem::path& RequestedPath() const { return requested_; }
    /// The file that is replaced (see SaveTarget).
    [[nodiscard]] const std::filesystem::path& Target() const { return target_; }
    [[nodiscard]] const std::filesystem::path& TemporaryPath() const { return temporary_; }
    /// The reason of the first failure; empty while nothing failed.
    [[nodiscard]] std::error_code Error() const { return error_; }
    [[nodiscard]] SaveCalls& Calls() const { return calls_; }

  private:
    SaveFile(SaveCalls& calls, std::filesystem::path requested, std::filesystem::path target,
             std::filesystem::path temporary, int fd);
    bool Fail();
    bool Flush();
    bool WriteThrough(std::span<const std::uint8_t> bytes);

    SaveCalls& calls_;
    std::filesystem::path requested_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::error_code error_;
    bool finished_ = false;
    bool published_ = false;
    std::unique_ptr<std::uint8_t[]> buffer_;  // taken at the first buffered write
    std::size_t buffered_ = 0;
    std::uint64_t appended_ = 0;        // bytes written to the file
    std::uint64_t writebackStart_ = 0;  // first byte whose disk write was not started
};

/// Saves `bytes` as the whole content of `path` through a SaveFile (Begin, Write,
/// Commit). False, with the reason in `error`, when any step failed; `path` then
/// keeps its previous content.
bool SaveFileContent(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                     std::error_code& error, SaveCalls& calls = SystemSaveCalls());
bool SaveFileContent(const std::filesystem::path& path, std::string_view text,
                     std::error_code& error, SaveCalls& calls = SystemSaveCalls());

}  // namespace pictor
