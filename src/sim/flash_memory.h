#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace pictor::sim {

/// Bytes in one erase block of the module's flash.
inline constexpr std::size_t kEraseBlockSize = 64 * 1024;

/// Flash capacity in bytes for a flash kind of the connect reply: kinds 1 and 2
/// have 8 MiB, 3 has 16 MiB, 4 has 32 MiB, 5 has 2 MiB; 0 for any other kind.
std::size_t FlashCapacityForKind(int kind);

/// A NOR flash: erased bytes read 0xFF, erasing works on 64 KiB blocks, and
/// programming can only clear bits (new = old AND data), so programming over data
/// that was not erased corrupts it. Optionally kept in a file: every change is
/// written through at once, so the content survives the process.
class FlashMemory {
  public:
    /// An erased flash of `capacity` bytes held in memory only.
    explicit FlashMemory(std::size_t capacity);

    FlashMemory(FlashMemory&& other) noexcept;
    FlashMemory& operator=(FlashMemory&& other) noexcept;
    FlashMemory(const FlashMemory&) = delete;
    FlashMemory& operator=(const FlashMemory&) = delete;
    ~FlashMemory();

    /// Opens or creates the file at `path` as a flash of `capacity` bytes. A
    /// missing or empty file starts erased (all 0xFF). A file of another size is
    /// refused rather than cut or grown. False with `error` set on failure.
    bool OpenFile(const std::filesystem::path& path, std::string& error);

    [[nodiscard]] std::size_t Capacity() const { return bytes_.size(); }

    /// Erases block `block` (64 KiB) to 0xFF. False when it lies outside the flash.
    bool EraseBlock(std::size_t block);

    /// ANDs `data` into the flash at byte `offset`. False, and nothing changed,
    /// when the range does not fit inside the flash.
    bool Program(std::size_t offset, std::span<const std::uint8_t> data);

    /// Copies flash bytes from `offset` into `out`; bytes beyond the end read 0xFF.
    void Read(std::size_t offset, std::span<std::uint8_t> out) const;

    [[nodiscard]] std::span<const std::uint8_t> Bytes() const { return bytes_; }

  private:
    void WriteThrough(std::size_t offset, std::size_t count);

    std::vector<std::uint8_t> bytes_;
    int fd_ = -1;
};

}  // namespace pictor::sim
