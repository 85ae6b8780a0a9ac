#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pictor::device {

inline constexpr std::uint32_t kBlockBytes = 65536;
inline constexpr std::uint32_t kSectorsPerBlock = 128;

/// `count` consecutive 512-byte sectors from `first`, counted from the image's
/// first sector (not from the start of the flash).
struct SectorRun {
    std::uint32_t first = 0;
    std::uint32_t count = 0;

    friend bool operator==(const SectorRun&, const SectorRun&) = default;
};

/// Every sector of an image of `imageBytes` bytes (a partial last sector counts).
inline SectorRun AllSectors(std::size_t imageBytes) {
    return {0, static_cast<std::uint32_t>((imageBytes + 511) / 512)};
}

/// Blocks a download erases: `firstBlock` up to, not including, `endBlock`.
struct EraseRange {
    std::uint32_t firstBlock = 0;
    std::uint32_t endBlock = 0;

    friend bool operator==(const EraseRange&, const EraseRange&) = default;
};

/// Erase range by flash size code: 2 → 16..32, 8 → 32..128, 16 → 32..256. For 32
/// (256 Mbit) the range runs from the block that holds the image start to block
/// 255: erase frames cannot address blocks from 256 on, so the download uses the
/// first 16 MiB only. Any other code is treated as 8. The range never depends on
/// the image's size.
EraseRange EraseRangeFor(int flashSizeCode, std::uint32_t imageStartSector);

/// The blocks an image of `sectorCount` sectors from `imageStartSector` occupies:
/// from the block holding its first sector to the one holding its last.
/// Empty (`firstBlock == endBlock`) for an empty image.
EraseRange ImageBlocks(std::uint32_t imageStartSector, std::uint32_t sectorCount);

/// The largest image a flash takes (a file of exactly this length is accepted)
/// and the warning for a larger one.
struct CapacityLimit {
    std::uint64_t maxBytes = 0;
    std::string_view warning;
};

/// 2 → 1 MiB "Bin文件超过1M 容量!!", 8 → 6 MiB "…6M…", 16 → 14 MiB "…14M…". For
/// 32 the limit is 14 MiB with the "…14M…" text too, because only blocks up to 255
/// can be erased (image at 2 MiB). Any other code is treated as 8. Used by the
/// download job and by image loading in the resource download dialog alike.
CapacityLimit CapacityLimitFor(int flashSizeCode);

/// True when `sectorCount` sectors from `imageStartSector` lie inside `range`.
bool FitsEraseRange(std::uint32_t imageStartSector, std::uint32_t sectorCount,
                    const EraseRange& range);

}  // namespace pictor::device
