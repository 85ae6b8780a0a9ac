#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/common/regular_file.h"

namespace pictor {

namespace {

OpenFailure FailureOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return OpenFailure::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return OpenFailure::PermissionDenied;
        case EISDIR:
        case ENXIO:
            return OpenFailure::NotRegular;
        default:
            return OpenFailure::Other;
    }
}

// Writes all of `bytes` through `put(data, size, done)`, one call after another
// until every byte is written; retries on EINTR, fails on an error or no progress.
template <class Put>
bool WriteInFull(std::span<const std::uint8_t> bytes, Put put) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = put(bytes.data() + done, bytes.size() - done, done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

std::optional<RegularFile> RegularFile::Open(const std::filesystem::path& path, FileAccess access,
                                             OpenFailure* failure) {
    OpenFailure ignored = OpenFailure::None;
    OpenFailure& reason = failure != nullptr ? *failure : ignored;
    reason = OpenFailure::None;
    // O_NONBLOCK makes the open of a FIFO or a device return at once; fstat then
    // tells whether it is a file we may read.
    const int mode = access == FileAccess::Read ? O_RDONLY : O_RDWR;
    int fd = -1;
    do {
        fd = ::open(path.c_str(), mode | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        reason = FailureOf(errno);
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        reason = OpenFailure::NotRegular;
        return std::nullopt;
    }
    // O_NONBLOCK stays set: reads and writes of a regular file ignore it, and two
    // fewer system calls per open count when a conversion opens hundreds of files.
    return RegularFile(fd, static_cast<std::uint64_t>(status.st_size));
}

std::size_t RegularFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out,
                                bool* failed) const {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got =
            ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && failed != nullptr) {
            *failed = true;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool WriteAllAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    return WriteInFull(bytes,
                       [fd, offset](const std::uint8_t* data, std::size_t size, std::size_t done) {
                           return ::pwrite(fd, data, size, static_cast<off_t>(offset + done));
                       });
}

int OpenForWriting(const std::filesystem::path& path, WriteOpen how) {
    const int flags =
        O_WRONLY | O_CREAT | O_CLOEXEC | (how == WriteOpen::CreateNew ? O_EXCL : O_TRUNC);
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    return WriteInFull(bytes, [fd](const std::uint8_t* data, std::size_t size, std::size_t) {
        return ::write(fd, data, size);
    });
}

bool SyncFileData(int fd) {
    // EINVAL: the file cannot be synced (a special file); nothing is lost then.
    return ::fdatasync(fd) == 0 || errno == EINVAL;
}

void StartWriteback(int fd, std::uint64_t offset, std::uint64_t length) {
    ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(length),
                      SYNC_FILE_RANGE_WRITE);
}

bool CloseFile(int fd) {
    return ::close(fd) == 0;
}

bool ReplaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target,
                           std::error_code& error) {
    if (::rename(source.c_str(), target.c_str()) != 0) {
        error.assign(errno, std::generic_category());
        return false;
    }
    error.clear();
    return true;
}

std::string FileErrorText(const std::error_code& error, const CoreTextLookup& /*lookup*/) {
    return error.message();
}

void SyncDirectory(const std::filesystem::path& dir) {
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(utf8);
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return path.string();
}

void SetModeForReplacing(int fd, const std::filesystem::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
}

}  // namespace pictor
