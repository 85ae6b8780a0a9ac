#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "core/device/flash_layout.h"

namespace pictor::device {

/// How much of the flash a whole download erases.
enum class EraseScope {
    ToEnd,  ///< from the image's first block to the end of the flash (the module maker's way)
    Image,  ///< only the blocks the image occupies; the flash beyond is left as it was
};

/// Which 64 KiB blocks of a new image differ from the image the module holds.
/// Block i covers image bytes i × 65536 up to (i + 1) × 65536, counted from the
/// image's first byte (every flash kind starts its image on a block boundary).
struct BlockChanges {
    /// One entry per block the new image occupies: true when it must be written.
    std::vector<bool> changed;

    [[nodiscard]] std::uint32_t BlockCount() const {
        return static_cast<std::uint32_t>(changed.size());
    }
    [[nodiscard]] std::uint32_t ChangedCount() const;
};

/// Compares the images block by block as they are written: both whole sectors
/// (zero-padded, as `ImageBuffer` holds them), each block over the new image's
/// part of it. A block that reaches past the old image's end counts as changed;
/// what the old image holds beyond the new one's end is not looked at.
BlockChanges CompareBlocks(std::span<const std::uint8_t> newImage,
                           std::span<const std::uint8_t> oldImage);

/// The sectors read before anything is erased to make sure the module holds the
/// old image: the first sector (the index table) when the old image has one, and
/// the first sector of every unchanged block. Image sectors, ascending, each once.
std::vector<std::uint32_t> CheckSectors(const BlockChanges& changes, std::size_t oldImageBytes);

/// What a download erases, writes and reads back.
struct DownloadPlan {
    std::vector<std::uint32_t> eraseBlocks;  ///< flash blocks, ascending
    /// True when the erase runs to the end of the flash (the erase progress is
    /// then the share of the flash, as it always was).
    bool eraseToEnd = false;
    std::vector<SectorRun> writeRuns;  ///< image sectors to write
    std::vector<SectorRun> readRuns;   ///< image sectors to read back (mode 1 only)

    [[nodiscard]] std::uint32_t SectorsToWrite() const;
    [[nodiscard]] std::uint32_t SectorsToRead() const;
};

/// The whole image: erase `toEnd` (the flash's range) or only the image's blocks,
/// write every sector, and with `readBack` read every sector back.
DownloadPlan PlanWholeDownload(const EraseRange& toEnd, std::uint32_t imageStartSector,
                               std::uint32_t sectorCount, EraseScope scope, bool readBack);

/// The changed blocks only: erase them, write their sectors of `newImage` except
/// those that are entirely 0xFF (an erased sector already reads so), and with
/// `readBack` read all their sectors back.
DownloadPlan PlanChangedBlocks(const BlockChanges& changes, std::span<const std::uint8_t> newImage,
                               std::uint32_t imageStartSector, bool readBack);

/// Time spent on each kind of work of a download, as measured.
struct WorkTimes {
    std::chrono::duration<double> connect{0};
    std::chrono::duration<double> erase{0};
    std::uint32_t blocksErased = 0;
    std::chrono::duration<double> write{0};
    std::uint32_t sectorsWritten = 0;
    std::chrono::duration<double> read{0};  ///< check reads and read-back
    std::uint32_t sectorsRead = 0;
};

/// How long `plan` would take: each kind of work at the mean time measured for it,
/// or, where none was measured, at the protocol's pauses plus the line time of its
/// bytes at `baud` (the flash's own erase and programming times are then unknown
/// and left out).
std::chrono::duration<double> EstimateDuration(const DownloadPlan& plan, const WorkTimes& measured,
                                               bool withChecksum, int baud);

}  // namespace pictor::device
