#include "core/conversion/output_writer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/common/regular_file.h"

namespace pictor::conversion {

namespace {

constexpr std::size_t kBufferSize = std::size_t{256} * 1024;
// Bytes appended between two requests to start writing them to the disk.
constexpr std::uint64_t kWritebackChunk = std::uint64_t{4} << 20;

// A name for a temporary file that no other process is likely to pick: the
// final name with a random suffix; creation with O_EXCL settles any clash.
std::filesystem::path TemporaryName(const std::filesystem::path& finalPath, unsigned attempt) {
    std::random_device device;
    const unsigned long long value =
        (static_cast<unsigned long long>(device()) << 32) ^ device() ^ attempt;
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "%012llx", value & 0xFFFFFFFFFFFFull);
    std::filesystem::path name = finalPath;
    name.replace_filename(
        PathFromUtf8("." + Utf8FromPath(finalPath.filename()) + ".tmp-" + suffix));
    return name;
}

}  // namespace

FileWriter::FileWriter(int fd) : fd_(fd), buffer_(std::make_unique<std::uint8_t[]>(kBufferSize)) {}

FileWriter::~FileWriter() {
    if (fd_ >= 0) {
        CloseFile(fd_);
    }
}

std::unique_ptr<FileWriter> FileWriter::CreateNew(const std::filesystem::path& path) {
    const int fd = OpenForWriting(path, WriteOpen::CreateNew);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<FileWriter>(new FileWriter(fd));
}

std::unique_ptr<FileWriter> FileWriter::OpenTruncated(const std::filesystem::path& path) {
    const int fd = OpenForWriting(path, WriteOpen::Truncate);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<FileWriter>(new FileWriter(fd));
}

bool FileWriter::WriteAll(const std::uint8_t* data, std::size_t size) {
    if (!pictor::WriteAll(fd_, std::span(data, size))) {
        failed_ = true;
        return false;
    }
    appended_ += size;
    // Start the disk writes of what has accumulated, so that the sync in Finish has
    // little left to wait for; failures show up in that sync.
    if (appended_ - writebackStart_ >= kWritebackChunk) {
        StartWriteback(fd_, writebackStart_, appended_ - writebackStart_);
        writebackStart_ = appended_;
    }
    return true;
}

bool FileWriter::Flush() {
    if (failed_ || fd_ < 0) {
        return false;
    }
    const std::size_t pending = buffered_;
    buffered_ = 0;
    return WriteAll(buffer_.get(), pending);
}

bool FileWriter::Write(const std::uint8_t* data, std::size_t size) {
    if (failed_ || fd_ < 0) {
        return false;
    }
    if (size == 0) {
        return true;  // an empty vector's data() may be null
    }
    if (buffered_ + size <= kBufferSize) {
        std::memcpy(buffer_.get() + buffered_, data, size);
        buffered_ += size;
        return true;
    }
    if (!Flush()) {
        return false;
    }
    if (size >= kBufferSize) {
        return WriteAll(data, size);
    }
    std::memcpy(buffer_.get(), data, size);
    buffered_ = size;
    return true;
}

bool FileWriter::Overwrite(std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
    if (!Flush()) {
        return false;
    }
    if (!WriteAllAt(fd_, offset, std::span(data, size))) {
        failed_ = true;
        return false;
    }
    return true;
}

bool FileWriter::Finish() {
    if (fd_ < 0) {
        return false;
    }
    bool ok = Flush();
    // Data must be on the disk before a rename publishes the file.
    if (ok && !SyncFileData(fd_)) {
        ok = false;
    }
    if (!CloseFile(fd_)) {
        ok = false;
    }
    fd_ = -1;
    failed_ = failed_ || !ok;
    return ok;
}

StagedFile::StagedFile(std::filesystem::path finalPath, std::filesystem::path temporaryPath,
                       std::unique_ptr<OutputWriter> writer)
    : finalPath_(std::move(finalPath)),
      temporaryPath_(std::move(temporaryPath)),
      writer_(std::move(writer)) {}

StagedFile::~StagedFile() {
    if (!published_) {
        writer_.reset();  // closes the file before it is removed
        std::error_code ignored;
        std::filesystem::remove(temporaryPath_, ignored);
    }
}

std::unique_ptr<StagedFile> StagedFile::Create(const std::filesystem::path& finalPath) {
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path temporary = TemporaryName(finalPath, attempt);
        if (auto writer = FileWriter::CreateNew(temporary)) {
            return std::unique_ptr<StagedFile>(
                new StagedFile(finalPath, std::move(temporary), std::move(writer)));
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

bool StagedFile::WrapWriter(
    const std::function<std::unique_ptr<OutputWriter>(std::unique_ptr<OutputWriter>)>& wrap) {
    writer_ = wrap(std::move(writer_));
    return writer_ != nullptr;
}

bool StagedFile::Finish() {
    finished_ = writer_ != nullptr && writer_->Finish();
    return finished_;
}

bool StagedFile::Publish() {
    return finished_ && RenameIntoPlace();
}

bool StagedFile::RenameIntoPlace() {
    std::error_code error;
    published_ = ReplaceFileAtomically(temporaryPath_, finalPath_, error);
    return published_;
}

namespace {

namespace fs = std::filesystem;

fs::path Beside(const fs::path& finalPath, const std::string& suffix) {
    fs::path name = finalPath;
    name.replace_filename(PathFromUtf8("." + Utf8FromPath(finalPath.filename()) + suffix));
    return name;
}

// The previous content of a final file during a publication.
fs::path PreviousPath(const fs::path& finalPath) {
    return Beside(finalPath, ".previous");
}

// The journal of a publication, named after its first file.
fs::path JournalPath(const fs::path& firstFinal) {
    return Beside(firstFinal, ".publishing");
}

constexpr std::string_view kJournalEnd = "end\n";

void RemoveQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

// Keeps the current final file as its previous copy. False when it exists and
// cannot be kept (or is a directory, which no rename may replace). `existed` tells
// whether there was a final file.
bool KeepPrevious(const fs::path& finalPath, bool& existed) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(finalPath, error);
    existed = fs::exists(status);
    if (!existed) {
        return true;
    }
    if (fs::is_directory(status)) {
        return false;
    }
    const fs::path previous = PreviousPath(finalPath);
    RemoveQuietly(previous);
    // A hard link costs nothing and keeps the file as it is; where links are
    // impossible (an immutable file, some file systems) a copy does.
    fs::create_hard_link(finalPath, previous, error);
    if (!error) {
        return true;
    }
    error.clear();
    return fs::copy_file(finalPath, previous, fs::copy_options::overwrite_existing, error) &&
           !error;
}

bool WriteJournal(const fs::path& journal, const fs::path& first, bool firstExisted,
                  const fs::path& second, bool secondExisted) {
    std::string text;
    for (const auto& [path, existed] : {std::pair{first, firstExisted}, {second, secondExisted}}) {
        text += existed ? "1 " : "0 ";
        text += Utf8FromPath(path.filename());
        text += '\n';
    }
    text += kJournalEnd;
    RemoveQuietly(journal);
    // No sync: the journal guards against the process dying, and the file system
    // commits its creation no later than the renames that follow it.
    const int fd = OpenForWriting(journal, WriteOpen::CreateNew);
    if (fd < 0) {
        return false;
    }
    const bool written = pictor::WriteAll(
        fd, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return CloseFile(fd) && written;
}

// Puts the previous file back in place, or removes the final file when there was none.
void PutBack(const fs::path& finalPath, bool existed) {
    if (existed) {
        std::error_code error;
        ReplaceFileAtomically(PreviousPath(finalPath), finalPath, error);
    } else {
        RemoveQuietly(finalPath);
    }
}

void RemoveLeftovers(const fs::path& first, const fs::path& second) {
    RemoveQuietly(JournalPath(first));
    RemoveQuietly(PreviousPath(first));
    RemoveQuietly(PreviousPath(second));
}

}  // namespace

PairPublish PublishPair(StagedFile& first, StagedFile& second,
                        const PublishHook& afterFirstRename) {
    const fs::path& firstFinal = first.FinalPath();
    const fs::path& secondFinal = second.FinalPath();
    if (!first.Finished()) {
        return PairPublish::FirstFailed;
    }
    if (!second.Finished()) {
        return PairPublish::SecondFailed;
    }
    bool firstExisted = false;
    bool secondExisted = false;
    if (!KeepPrevious(firstFinal, firstExisted)) {
        RemoveLeftovers(firstFinal, secondFinal);
        return PairPublish::FirstFailed;
    }
    if (!KeepPrevious(secondFinal, secondExisted)) {
        RemoveLeftovers(firstFinal, secondFinal);
        return PairPublish::SecondFailed;
    }
    const fs::path journal = JournalPath(firstFinal);
    if (!WriteJournal(journal, firstFinal, firstExisted, secondFinal, secondExisted)) {
        RemoveLeftovers(firstFinal, secondFinal);
        return PairPublish::FirstFailed;
    }
    if (!first.RenameIntoPlace()) {
        RemoveLeftovers(firstFinal, secondFinal);
        return PairPublish::FirstFailed;
    }
    const PublishStep step = afterFirstRename ? afterFirstRename() : PublishStep::Continue;
    if (step == PublishStep::Abandon) {
        return PairPublish::SecondFailed;
    }
    if (step == PublishStep::Fail || !second.RenameIntoPlace()) {
        PutBack(firstFinal, firstExisted);
        RemoveLeftovers(firstFinal, secondFinal);
        return PairPublish::SecondFailed;
    }
    // The journal goes first: without it the new pair stands.
    RemoveLeftovers(firstFinal, secondFinal);
    return PairPublish::Published;
}

bool RecoverInterruptedPublish(const fs::path& firstFinal, const fs::path& secondFinal) {
    const fs::path journal = JournalPath(firstFinal);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(journal, error))) {
        // Previous copies without a journal are from a publication that ended (or
        // never started renaming); the pair in place belongs together.
        RemoveQuietly(PreviousPath(firstFinal));
        RemoveQuietly(PreviousPath(secondFinal));
        return false;
    }
    std::string text;
    {
        // Closed before the journal is removed: Windows cannot remove an open file.
        std::ifstream in(journal, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // A journal without its end mark was cut while written, before any rename.
    const bool complete =
        text.size() >= kJournalEnd.size() &&
        text.compare(text.size() - kJournalEnd.size(), kJournalEnd.size(), kJournalEnd) == 0;
    bool putBack = false;
    if (complete) {
        std::istringstream lines(text);
        std::string existed;
        std::string name;
        while (lines >> existed >> name && name != "end") {
            const fs::path finalPath = name == Utf8FromPath(firstFinal.filename())    ? firstFinal
                                       : name == Utf8FromPath(secondFinal.filename()) ? secondFinal
                                                                                      : fs::path();
            if (!finalPath.empty()) {
                PutBack(finalPath, existed == "1");
                putBack = true;
            }
        }
    }
    RemoveLeftovers(firstFinal, secondFinal);
    return putBack;
}

}  // namespace pictor::conversion
