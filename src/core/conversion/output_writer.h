#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace pictor::conversion {

/// Destination of one generated file. Failures are sticky: after a call has
/// failed, every later call fails too and `Finish` reports false, so a writer can
/// be used without checking every call as long as `Finish` is checked.
/// Not thread-safe; one writer belongs to one conversion.
class OutputWriter {
  public:
    virtual ~OutputWriter() = default;

    /// Appends `size` bytes behind what was written so far.
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    /// Replaces bytes that were already written, starting at byte `offset`.
    virtual bool Overwrite(std::uint64_t offset, const std::uint8_t* data, std::size_t size) = 0;
    /// Flushes everything to the file and closes it; false when any write, the
    /// flush or the close failed.
    virtual bool Finish() = 0;

    bool Write(std::span<const std::uint8_t> bytes) { return Write(bytes.data(), bytes.size()); }
    bool Write(std::string_view text) {
        return Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
};

/// An `OutputWriter` on a file descriptor, with its own write buffer. The file is
/// synced to the disk in `Finish`, so a rename after it publishes complete data.
class FileWriter final : public OutputWriter {
  public:
    /// Creates `path`, which must not exist yet (permissions 0666 less the umask).
    /// Returns nothing when the file cannot be created.
    static std::unique_ptr<FileWriter> CreateNew(const std::filesystem::path& path);
    /// Opens `path` for writing, truncating it. Returns nothing when it cannot be
    /// opened.
    static std::unique_ptr<FileWriter> OpenTruncated(const std::filesystem::path& path);

    ~FileWriter() override;
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    bool Write(const std::uint8_t* data, std::size_t size) override;
    bool Overwrite(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override;
    bool Finish() override;
    using OutputWriter::Write;

  private:
    explicit FileWriter(int fd);
    bool Flush();
    bool WriteAll(const std::uint8_t* data, std::size_t size);

    int fd_ = -1;
    bool failed_ = false;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t buffered_ = 0;
    std::uint64_t appended_ = 0;        // bytes written to the file by WriteAll
    std::uint64_t writebackStart_ = 0;  // first byte whose disk write was not started
};

/// A generated file written under a temporary name beside its final path and
/// renamed over the final path only by `Commit`. Destroying it without a
/// successful commit removes the temporary file, so the final file keeps its
/// previous content whatever happened.
class StagedFile {
  public:
    /// Creates a temporary file in the directory of `finalPath`. Returns nothing
    /// when that is impossible (missing or read-only directory).
    static std::unique_ptr<StagedFile> Create(const std::filesystem::path& finalPath);

    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    [[nodiscard]] OutputWriter& Writer() { return *writer_; }
    [[nodiscard]] const std::filesystem::path& FinalPath() const { return finalPath_; }
    [[nodiscard]] const std::filesystem::path& TemporaryPath() const { return temporaryPath_; }
    /// Gives the writer away and installs the one returned by `wrap` (usually a
    /// writer that forwards to the old one). False when `wrap` returns nothing.
    bool WrapWriter(
        const std::function<std::unique_ptr<OutputWriter>(std::unique_ptr<OutputWriter>)>& wrap);

    /// Finishes the writer (flush, sync, close). False when any write failed.
    bool Finish();
    /// Renames the finished temporary file over the final path. False when the
    /// file was not finished successfully or the rename failed.
    bool Publish();

    /// Whether Finish succeeded.
    [[nodiscard]] bool Finished() const { return finished_; }
    /// Renames without the finished check; true on success (PublishPair).
    bool RenameIntoPlace();

  private:
    StagedFile(std::filesystem::path finalPath, std::filesystem::path temporaryPath,
               std::unique_ptr<OutputWriter> writer);

    std::filesystem::path finalPath_;
    std::filesystem::path temporaryPath_;
    std::unique_ptr<OutputWriter> writer_;
    bool finished_ = false;
    bool published_ = false;
};

/// What PublishPair does after the first rename (a seam for tests): go on, fail as
/// if the second rename had failed, or stop dead as a crash would, leaving the
/// directory as it is.
enum class PublishStep { Continue, Fail, Abandon };
using PublishHook = std::function<PublishStep()>;

/// Which step of PublishPair failed.
enum class PairPublish { Published, FirstFailed, SecondFailed };

/// Renames two finished staged files into place so that both final files are
/// replaced or neither is. Before the first rename every existing final file is
/// kept as a hard link (a copy where links are impossible) beside it, and a journal
/// file records the publication; if the second rename fails the first final file
/// is put back (or removed when it did not exist). A final path that is a directory
/// fails before anything is renamed. After a crash between the renames the journal
/// stays, and RecoverInterruptedPublish puts the previous pair back. Not
/// thread-safe; one publication per directory at a time.
PairPublish PublishPair(StagedFile& first, StagedFile& second,
                        const PublishHook& afterFirstRename = {});

/// Puts back the previous pair of `firstFinal` and `secondFinal` when a
/// PublishPair of them was interrupted (its journal remains), so the two files
/// belong together again, and removes leftovers of earlier publications. Does
/// nothing when there is nothing to recover. Returns true when a pair was put back.
bool RecoverInterruptedPublish(const std::filesystem::path& firstFinal,
                               const std::filesystem::path& secondFinal);

}  // namespace pictor::conversion
