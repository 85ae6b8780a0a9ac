#include "core/common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

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

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::optional<std::vector<std::uint8_t>> RegularFile::ReadAll(std::uint64_t limit) const {
    if (fd_ < 0 || size_ > limit) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size_));
    bool failed = false;
    const std::size_t got = ReadAt(0, bytes, &failed);
    if (failed) {
        return std::nullopt;
    }
    bytes.resize(got);  // shorter when the file shrank since the open
    return bytes;
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
