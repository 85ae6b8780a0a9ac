#include "core/common/save_file.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "core/common/regular_file.h"

namespace pictor {

namespace {

constexpr std::size_t kBufferSize = std::size_t{256} * 1024;
// Bytes appended between two requests to start writing them to the disk.
constexpr std::uint64_t kWritebackChunk = std::uint64_t{4} << 20;
// How many symbolic links are followed to find the file a save replaces.
constexpr int kMaxLinkHops = 40;

std::span<const std::uint8_t> BytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::error_code LastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

std::filesystem::path Absolute(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

}  // namespace

std::filesystem::path SaveTarget(const std::filesystem::path& path) {
    std::filesystem::path current = Absolute(path);
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) {
            break;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error) {
            break;
        }
        current = next.is_absolute() ? next.lexically_normal()
                                     : (current.parent_path() / next).lexically_normal();
    }
    return current;  // after a loop: the last link seen, which the rename replaces
}

SaveFile::SaveFile(SaveCalls& calls, std::filesystem::path requested, std::filesystem::path target,
                   std::filesystem::path temporary, int fd)
    : calls_(calls),
      requested_(std::move(requested)),
      target_(std::move(target)),
      temporary_(std::move(temporary)),
      fd_(fd) {}

SaveFile::~SaveFile() {
    if (fd_ >= 0) {
        calls_.Close(fd_);
    }
    if (!published_) {
        calls_.Remove(temporary_);
    }
}

std::unique_ptr<SaveFile> SaveFile::Begin(const std::filesystem::path& path, std::error_code& error,
                                          SaveCalls& calls) {
    std::filesystem::path target = SaveTarget(path);
    const std::filesystem::path dir = target.parent_path();
    std::filesystem::path temporary;
    errno = 0;
    const int fd =
        calls.CreateBeside(dir, "." + Utf8FromPath(target.filename()) + ".tmp-", temporary);
    if (fd < 0) {
        error = LastError();
        return nullptr;
    }
    // Before any data: the new file is never readable by more than the old one.
    calls.KeepMode(fd, target);
    error.clear();
    return std::unique_ptr<SaveFile>(
        new SaveFile(calls, path, std::move(target), std::move(temporary), fd));
}

bool SaveFile::Fail() {
    if (!error_) {
        error_ = LastError();
    }
    return false;
}

bool SaveFile::WriteThrough(std::span<const std::uint8_t> bytes) {
    errno = 0;
    if (!calls_.Write(fd_, bytes)) {
        return Fail();
    }
    appended_ += bytes.size();
    // Starts the disk writes of what has accumulated, so that the sync in Finish
    // has little left to wait for; failures show up in that sync.
    if (appended_ - writebackStart_ >= kWritebackChunk) {
        StartWriteback(fd_, writebackStart_, appended_ - writebackStart_);
        writebackStart_ = appended_;
    }
    return true;
}

bool SaveFile::Flush() {
    const std::size_t pending = std::exchange(buffered_, 0);
    return pending == 0 || WriteThrough({buffer_.get(), pending});
}

bool SaveFile::Write(std::span<const std::uint8_t> bytes) {
    if (error_ || fd_ < 0) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    if (buffered_ + bytes.size() <= kBufferSize) {
        if (!buffer_) {
            buffer_ = std::make_unique<std::uint8_t[]>(kBufferSize);
        }
        std::memcpy(buffer_.get() + buffered_, bytes.data(), bytes.size());
        buffered_ += bytes.size();
        return true;
    }
    if (!Flush()) {
        return false;
    }
    return bytes.size() >= kBufferSize ? WriteThrough(bytes) : Write(bytes);
}

bool SaveFile::Write(std::string_view text) {
    return Write(BytesOf(text));
}

bool SaveFile::Overwrite(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (error_ || fd_ < 0 || !Flush()) {
        return false;
    }
    errno = 0;
    return calls_.WriteAt(fd_, offset, bytes) || Fail();
}

bool SaveFile::Finish() {
    if (fd_ < 0) {
        return finished_;
    }
    // The data must be on the disk before a rename publishes the file.
    bool ok = !error_ && Flush();
    errno = 0;
    ok = ok && (calls_.SyncData(fd_) || Fail());
    errno = 0;
    if (!calls_.Close(fd_)) {
        ok = Fail();
    }
    fd_ = -1;
    buffer_.reset();
    finished_ = ok;
    return ok;
}

bool SaveFile::RenameIntoPlace() {
    if (!finished_ || published_) {
        return false;
    }
    std::error_code error;
    published_ = calls_.Replace(temporary_, target_, error);
    if (!published_ && !error_) {
        error_ = error;
    }
    return published_;
}

bool SaveFile::Publish() {
    if (!RenameIntoPlace()) {
        return false;
    }
    calls_.SyncDirectory(target_.parent_path());
    return true;
}

bool SaveFileContent(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                     std::error_code& error, SaveCalls& calls) {
    const std::unique_ptr<SaveFile> file = SaveFile::Begin(path, error, calls);
    if (!file) {
        return false;
    }
    if (file->Write(bytes) && file->Commit()) {
        return true;
    }
    error = file->Error();
    return false;
}

bool SaveFileContent(const std::filesystem::path& path, std::string_view text,
                     std::error_code& error, SaveCalls& calls) {
    return SaveFileContent(path, BytesOf(text), error, calls);
}

}  // namespace pictor
