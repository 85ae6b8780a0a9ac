#include "core/device/flash_layout.h"

#include <algorithm>

#include "core/common/translatable.h"

namespace pictor::device {

namespace {

constexpr std::uint32_t kAddressableBlocks = 256;

}  // namespace

EraseRange EraseRangeFor(int flashSizeCode, std::uint32_t imageStartSector) {
    switch (flashSizeCode) {
        case 2:
            return {16, 32};
        case 16:
            return {32, 256};
        case 32: {
            const std::uint32_t first =
                std::min(imageStartSector / kSectorsPerBlock, kAddressableBlocks);
            return {first, kAddressableBlocks};
        }
        default:
            return {32, 128};
    }
}

EraseRange ImageBlocks(std::uint32_t imageStartSector, std::uint32_t sectorCount) {
    const std::uint32_t first = imageStartSector / kSectorsPerBlock;
    if (sectorCount == 0) {
        return {first, first};
    }
    const std::uint64_t last =
        (std::uint64_t{imageStartSector} + sectorCount - 1) / kSectorsPerBlock;
    return {first, static_cast<std::uint32_t>(last + 1)};
}

CapacityLimit CapacityLimitFor(int flashSizeCode) {
    switch (flashSizeCode) {
        case 2:
            return {1048576, PICTOR_TRANSLATE_NOOP("Core", "Bin文件超过1M 容量!!")};
        case 16:
        case 32:
            return {14680064, PICTOR_TRANSLATE_NOOP("Core", "Bin文件超过14M 容量!!")};
        default:
            return {6291456, PICTOR_TRANSLATE_NOOP("Core", "Bin文件超过6M 容量!!")};
    }
}

bool FitsEraseRange(std::uint32_t imageStartSector, std::uint32_t sectorCount,
                    const EraseRange& range) {
    const std::uint64_t first = std::uint64_t{range.firstBlock} * kSectorsPerBlock;
    const std::uint64_t end = std::uint64_t{range.endBlock} * kSectorsPerBlock;
    const std::uint64_t imageEnd = std::uint64_t{imageStartSector} + sectorCount;
    return sectorCount == 0 || (imageStartSector >= first && imageEnd <= end);
}

}  // namespace pictor::device
