#include "core/common/regular_file.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <utility>

// The parts that need no system call of their own; the rest is in
// regular_file_posix.cpp and regular_file_win32.cpp.

namespace pictor {

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            CloseFile(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) {
        CloseFile(fd_);
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

int CreateUniqueFile(const std::filesystem::path& dir, std::string_view prefix,
                     std::filesystem::path& created) {
    std::random_device device;
    for (int attempt = 0; attempt < 32; ++attempt) {
        const unsigned long long value =
            (static_cast<unsigned long long>(device()) << 32) ^ device();
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%012llx", value & 0xFFFFFFFFFFFFull);
        std::filesystem::path candidate = dir / PathFromUtf8(std::string(prefix) + suffix);
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

}  // namespace pictor
