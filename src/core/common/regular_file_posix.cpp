#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
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
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
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

int CreateUniqueFile(const std::filesystem::path& dir, std::string_view prefix,
                     std::filesystem::path& created) {
    std::random_device device;
    for (int attempt = 0; attempt < 32; ++attempt) {
        const unsigned long long value =
            (static_cast<unsigned long long>(device()) << 32) ^ device();
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%012llx", value & 0xFFFFFFFFFFFFull);
        std::filesystem::path candidate = dir / (std::string(prefix) + suffix);
        const int fd = OpenForWriting(candidate, WriteOpen::CreateNew);
        if (fd >= 0) {
            created = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
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
