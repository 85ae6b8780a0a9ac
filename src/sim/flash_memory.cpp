#include "sim/flash_memory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace pictor::sim {

std::size_t FlashCapacityForKind(int kind) {
    constexpr std::size_t kMiB = 1024 * 1024;
    switch (kind) {
        case 1:
        case 2:
            return 8 * kMiB;
        case 3:
            return 16 * kMiB;
        case 4:
            return 32 * kMiB;
        case 5:
            return 2 * kMiB;
        default:
            return 0;
    }
}

FlashMemory::FlashMemory(std::size_t capacity) : bytes_(capacity, 0xFF) {}

FlashMemory::FlashMemory(FlashMemory&& other) noexcept
    : bytes_(std::move(other.bytes_)), fd_(std::exchange(other.fd_, -1)) {}

FlashMemory& FlashMemory::operator=(FlashMemory&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        bytes_ = std::move(other.bytes_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FlashMemory::~FlashMemory() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FlashMemory::OpenFile(const std::filesystem::path& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = path.string() + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size != 0 && size != bytes_.size()) {
        error = path.string() + ": holds " + std::to_string(size) + " bytes, the flash has " +
                std::to_string(bytes_.size());
        ::close(fd);
        return false;
    }
    if (size == 0) {
        std::fill(bytes_.begin(), bytes_.end(), std::uint8_t{0xFF});
        if (::pwrite(fd, bytes_.data(), bytes_.size(), 0) != static_cast<ssize_t>(bytes_.size())) {
            error = path.string() + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
    } else {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n =
                ::pread(fd, bytes_.data() + done, size - done, static_cast<off_t>(done));
            if (n <= 0) {
                error = path.string() + ": read failed";
                ::close(fd);
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
    return true;
}

bool FlashMemory::EraseBlock(std::size_t block) {
    const std::size_t offset = block * kEraseBlockSize;
    if (offset >= bytes_.size() || bytes_.size() - offset < kEraseBlockSize) {
        return false;
    }
    std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), kEraseBlockSize,
                std::uint8_t{0xFF});
    WriteThrough(offset, kEraseBlockSize);
    return true;
}

bool FlashMemory::Program(std::size_t offset, std::span<const std::uint8_t> data) {
    if (offset > bytes_.size() || bytes_.size() - offset < data.size()) {
        return false;
    }
    for (std::size_t i = 0; i < data.size(); ++i) {
        bytes_[offset + i] &= data[i];
    }
    WriteThrough(offset, data.size());
    return true;
}

void FlashMemory::Read(std::size_t offset, std::span<std::uint8_t> out) const {
    std::fill(out.begin(), out.end(), std::uint8_t{0xFF});
    if (offset >= bytes_.size()) {
        return;
    }
    const std::size_t count = std::min(out.size(), bytes_.size() - offset);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
}

void FlashMemory::WriteThrough(std::size_t offset, std::size_t count) {
    if (fd_ < 0 || count == 0) {
        return;
    }
    // A failed write leaves the file behind the memory copy; the simulator keeps
    // serving from memory, which is what the tool on the line observes.
    [[maybe_unused]] const ssize_t written =
        ::pwrite(fd_, bytes_.data() + offset, count, static_cast<off_t>(offset));
}

}  // namespace pictor::sim
