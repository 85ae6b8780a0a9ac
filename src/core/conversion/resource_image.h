#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/common/message.h"
#include "core/settings/model_profile.h"
#include "core/workspace/pixel_image.h"

namespace pictor::conversion {

/// Layout of the resource image: a 2048-byte index table of 512 little-endian
/// 32-bit entries (block start offsets in allocation units), then the picture
/// blocks, each aligned to `minAllocateSize` and optionally kept inside one
/// 512-byte flash sector and preceded by a size prefix.
inline constexpr std::size_t kTableEntries = 512;
inline constexpr std::uint64_t kTableBytes = 2048;
inline constexpr std::uint64_t kSectorBytes = 512;

/// The two dimensions a size prefix carries: `v` down the picture, `h` across it,
/// the one along the byte groups counted in whole bytes (rounded down).
struct PrefixDimensions {
    int v = 0;
    int h = 0;
    friend bool operator==(const PrefixDimensions&, const PrefixDimensions&) = default;
};

/// Direction 0: v = height, h = width / pixels per byte; direction 1:
/// v = height / pixels per byte, h = width (pixels per byte from the depth).
PrefixDimensions SizePrefixDimensions(const settings::ModelProfile& profile, int width, int height);

/// Bytes of the size prefix in the binary form: 6, or the unit when larger.
std::uint64_t SizePrefixBytes(const settings::ModelProfile& profile);

/// The sector rule's estimate of a block: the prefix (when written) plus the
/// picture's bits rounded up to whole bytes (depth x width x height).
std::uint64_t SectorEstimate(const settings::ModelProfile& profile, int width, int height);

/// The index table as it is stored at offset 0.
std::array<std::uint8_t, kTableBytes> EncodeIndexTable(
    const std::array<std::uint32_t, kTableEntries>& entries);

/// Entry `index` of the index table at the start of `image`, which holds at least
/// the table's bytes.
std::uint32_t TableEntry(std::span<const std::uint8_t> image, std::size_t index);

/// Where one picture's block went, as the layout placed it. The fills are the
/// zero bytes inserted in front of the block; the block itself is the size prefix
/// (with its fill to the unit) and the pixels.
struct PlacedBlock {
    std::uint64_t start = 0;          // byte offset in the file
    std::uint64_t alignmentFill = 0;  // zero bytes the allocation unit put before it
    std::uint64_t sectorFill = 0;     // zero bytes the sector rule put before it
    std::uint64_t prefixBytes = 0;
    std::uint64_t pixelBytes = 0;
};

/// Places picture blocks in the resource image and keeps the address counter (the
/// byte offset in the file, starting behind the table) and the index table. Each
/// operation appends the bytes it places to the caller's buffer and advances the
/// counter by them. Not thread-safe.
class ResourceImageLayout {
  public:
    /// `minAllocateSize` below 1 counts as 1.
    explicit ResourceImageLayout(const settings::ModelProfile& profile);

    [[nodiscard]] std::uint64_t Counter() const { return counter_; }
    [[nodiscard]] const std::array<std::uint32_t, kTableEntries>& Table() const { return table_; }
    [[nodiscard]] std::uint64_t Unit() const { return unit_; }
    /// Every block begun by RecordBlockStart, in the order they were begun.
    [[nodiscard]] const std::vector<PlacedBlock>& Blocks() const { return blocks_; }

    /// Appends zero bytes up to the next multiple of the allocation unit.
    void AlignToUnit(std::vector<std::uint8_t>& out);

    /// The sector rule for a block of `estimate` bytes: refuses a block over 512
    /// bytes (shows "单个图片尺寸大于1 sector!" and returns false); otherwise, when
    /// the block would cross the next sector boundary, appends zero bytes up to it.
    bool KeepInSector(std::uint64_t estimate, std::vector<std::uint8_t>& out,
                      MessageSink& messages);

    /// Records the counter, in allocation units, as table entry `index` (< 512),
    /// and begins a block there: the fills since the previous block are its fills,
    /// and the prefix and pixels placed after this call belong to it.
    void RecordBlockStart(std::size_t index);

    /// Appends the binary size prefix: v low, h low, v high, h high, the series
    /// count big-endian, then zero bytes up to the allocation unit.
    void WriteSizePrefix(PrefixDimensions dimensions, int seriesCount,
                         std::vector<std::uint8_t>& out);

    /// Appends the encoded pixels of `image`; false for an image the encoder
    /// refuses (nothing appended then).
    bool WritePixels(const workspace::PixelImage& image, std::vector<std::uint8_t>& out);

    /// Advances the counter over `bytes` of pixel data that are written elsewhere
    /// (the layout is planned before the pictures are encoded).
    void SkipPixels(std::uint64_t bytes);

  private:
    void AppendZeros(std::uint64_t count, std::vector<std::uint8_t>& out);
    void AddToBlock(std::uint64_t PlacedBlock::*part, std::uint64_t bytes);

    settings::ModelProfile profile_;
    std::uint64_t unit_;
    std::uint64_t counter_ = kTableBytes;
    std::array<std::uint32_t, kTableEntries> table_{};
    std::vector<PlacedBlock> blocks_;
    PlacedBlock next_;  // the fills placed since the last block began
};

}  // namespace pictor::conversion
