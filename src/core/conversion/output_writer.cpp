#include "core/conversion/output_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

namespace pictor::conversion {

namespace {

constexpr std::size_t kBufferSize = std::size_t{256} * 1024;

int OpenFile(const std::filesystem::path& path, int extraFlags) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | extraFlags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A name for a temporary file that no other process is likely to pick: the
// final name with a random suffix; creation with O_EXCL settles any clash.
std::filesystem::path TemporaryName(const std::filesystem::path& finalPath, unsigned attempt) {
    std::random_device device;
    const unsigned long long value =
        (static_cast<unsigned long long>(device()) << 32) ^ device() ^ attempt;
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "%012llx", value & 0xFFFFFFFFFFFFull);
    std::filesystem::path name = finalPath;
    name.replace_filename("." + finalPath.filename().string() + ".tmp-" + suffix);
    return name;
}

}  // namespace

FileWriter::FileWriter(int fd) : fd_(fd), buffer_(std::make_unique<std::uint8_t[]>(kBufferSize)) {}

FileWriter::~FileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::unique_ptr<FileWriter> FileWriter::CreateNew(const std::filesystem::path& path) {
    const int fd = OpenFile(path, O_EXCL);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<FileWriter>(new FileWriter(fd));
}

std::unique_ptr<FileWriter> FileWriter::OpenTruncated(const std::filesystem::path& path) {
    const int fd = OpenFile(path, O_TRUNC);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<FileWriter>(new FileWriter(fd));
}

bool FileWriter::WriteAll(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            failed_ = true;
            return false;
        }
        if (written == 0) {
            failed_ = true;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
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
    while (size > 0) {
        const ssize_t written = ::pwrite(fd_, data, size, static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failed_ = true;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += static_cast<std::uint64_t>(written);
    }
    return true;
}

bool FileWriter::Finish() {
    if (fd_ < 0) {
        return false;
    }
    bool ok = Flush();
    // Data must be on the disk before a rename publishes the file.
    if (ok && ::fdatasync(fd_) != 0 && errno != EINVAL) {
        ok = false;
    }
    if (::close(fd_) != 0) {
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
    if (!finished_) {
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporaryPath_, finalPath_, error);
    published_ = !error;
    return published_;
}

}  // namespace pictor::conversion
