#include "core/device/download_plan.h"

#include <algorithm>

#include "core/device/device_frames.h"
#include "core/device/device_protocol.h"
#include "core/device/line_timing.h"

namespace pictor::device {

namespace {

using Seconds = std::chrono::duration<double>;

constexpr std::size_t kReplyBytes = 2;

/// Adds `sector` to the runs, extending the last run when it follows on.
void AppendSector(std::vector<SectorRun>& runs, std::uint32_t sector) {
    if (!runs.empty() && runs.back().first + runs.back().count == sector) {
        ++runs.back().count;
    } else {
        runs.push_back({sector, 1});
    }
}

std::uint32_t CountSectors(const std::vector<SectorRun>& runs) {
    std::uint32_t total = 0;
    for (const SectorRun& run : runs) {
        total += run.count;
    }
    return total;
}

bool IsErased(std::span<const std::uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0xFF; });
}

/// The mean of what was measured, or `model` when nothing was.
Seconds PerItem(Seconds measured, std::uint32_t count, Seconds model) {
    return count > 0 ? measured / count : model;
}

Seconds Line(std::size_t bytes, int baud) {
    return LineTime(bytes, baud);
}

}  // namespace

std::uint32_t BlockChanges::ChangedCount() const {
    return static_cast<std::uint32_t>(std::count(changed.begin(), changed.end(), true));
}

BlockChanges CompareBlocks(std::span<const std::uint8_t> newImage,
                           std::span<const std::uint8_t> oldImage) {
    BlockChanges changes;
    for (std::size_t start = 0; start < newImage.size(); start += kBlockBytes) {
        const std::size_t end = std::min<std::size_t>(start + kBlockBytes, newImage.size());
        const bool changed = oldImage.size() < end ||
                             !std::equal(newImage.begin() + static_cast<std::ptrdiff_t>(start),
                                         newImage.begin() + static_cast<std::ptrdiff_t>(end),
                                         oldImage.begin() + static_cast<std::ptrdiff_t>(start));
        changes.changed.push_back(changed);
    }
    return changes;
}

std::vector<std::uint32_t> CheckSectors(const BlockChanges& changes, std::size_t oldImageBytes) {
    std::vector<std::uint32_t> sectors;
    if (oldImageBytes >= kSectorBytes) {
        sectors.push_back(0);
    }
    for (std::uint32_t block = 0; block < changes.BlockCount(); ++block) {
        const std::uint32_t first = block * kSectorsPerBlock;
        if (!changes.changed[block] && (sectors.empty() || sectors.back() != first)) {
            sectors.push_back(first);
        }
    }
    return sectors;
}

std::uint32_t DownloadPlan::SectorsToWrite() const {
    return CountSectors(writeRuns);
}

std::uint32_t DownloadPlan::SectorsToRead() const {
    return CountSectors(readRuns);
}

DownloadPlan PlanWholeDownload(const EraseRange& toEnd, std::uint32_t imageStartSector,
                               std::uint32_t sectorCount, EraseScope scope, bool readBack) {
    DownloadPlan plan;
    plan.eraseToEnd = scope == EraseScope::ToEnd;
    const EraseRange erase = plan.eraseToEnd ? toEnd : ImageBlocks(imageStartSector, sectorCount);
    for (std::uint32_t block = erase.firstBlock; block < erase.endBlock; ++block) {
        plan.eraseBlocks.push_back(block);
    }
    if (sectorCount > 0) {
        plan.writeRuns.push_back({0, sectorCount});
        if (readBack) {
            plan.readRuns.push_back({0, sectorCount});
        }
    }
    return plan;
}

DownloadPlan PlanChangedBlocks(const BlockChanges& changes, std::span<const std::uint8_t> newImage,
                               std::uint32_t imageStartSector, bool readBack) {
    DownloadPlan plan;
    const std::uint32_t firstBlock = imageStartSector / kSectorsPerBlock;
    const std::uint32_t sectorCount = AllSectors(newImage.size()).count;
    for (std::uint32_t block = 0; block < changes.BlockCount(); ++block) {
        if (!changes.changed[block]) {
            continue;
        }
        plan.eraseBlocks.push_back(firstBlock + block);
        const std::uint32_t end = std::min(sectorCount, (block + 1) * kSectorsPerBlock);
        for (std::uint32_t sector = block * kSectorsPerBlock; sector < end; ++sector) {
            const std::size_t offset = std::size_t{sector} * kSectorBytes;
            const auto bytes = newImage.subspan(
                offset, std::min<std::size_t>(kSectorBytes, newImage.size() - offset));
            if (!IsErased(bytes)) {
                AppendSector(plan.writeRuns, sector);
            }
            if (readBack) {
                AppendSector(plan.readRuns, sector);
            }
        }
    }
    return plan;
}

std::chrono::duration<double> EstimateDuration(const DownloadPlan& plan, const WorkTimes& measured,
                                               bool withChecksum, int baud) {
    const Seconds exchangePause = DeviceProtocol::kExchangePause;
    const Seconds dataPause = DeviceProtocol::kSectorDataPause;
    const std::size_t frame = WriteSectorFrame(0, 0, false).size();
    const std::size_t data = kSectorBytes + (withChecksum ? 2 : 0);
    const Seconds eraseModel = exchangePause + Line(EraseBlockFrame(0).size() + kReplyBytes, baud);
    const Seconds writeModel = Line(frame + kReplyBytes, baud) +
                               std::max(Line(data, baud), dataPause) + Line(kReplyBytes, baud);
    const Seconds readModel = Line(frame + kSectorBytes + kReplyBytes, baud);
    const Seconds connectModel =
        exchangePause + Line(ConnectFrame(true).size() + kReplyBytes, baud);
    const Seconds connect =
        measured.connect > Seconds(0) ? Seconds(measured.connect) : connectModel;
    return connect +
           static_cast<double>(plan.eraseBlocks.size()) *
               PerItem(measured.erase, measured.blocksErased, eraseModel) +
           static_cast<double>(plan.SectorsToWrite()) *
               PerItem(measured.write, measured.sectorsWritten, writeModel) +
           static_cast<double>(plan.SectorsToRead()) *
               PerItem(measured.read, measured.sectorsRead, readModel);
}

}  // namespace pictor::device
