#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/translatable.h"
#include "core/conversion/resource_image.h"
#include "core/workspace/picture_list.h"

namespace pictor::conversion {

/// One picture's place in `Icon.bin`. Offsets and sectors count bytes and
/// 512-byte sectors from the start of the file, index table included.
struct MemoryMapRow {
    std::size_t index = 0;  // the picture's number in Icon.h
    std::string symbol;
    std::string sourceFile;
    int width = 0;
    int height = 0;
    std::uint64_t offset = 0;        // table entry x allocation unit
    std::uint64_t storedSize = 0;    // size prefix (with its fill) + pixel data
    std::uint64_t paddingAfter = 0;  // zero bytes up to the next block; 0 for the last
    std::uint64_t firstSector = 0;
    std::uint64_t lastSector = 0;  // the first sector for a block of no bytes
    bool crossesSector = false;
};

/// What the image is made of. table + prefixes + pixels + both paddings = image.
struct MemoryMapTotals {
    std::size_t pictures = 0;
    std::uint64_t pixelBytes = 0;
    std::uint64_t prefixBytes = 0;       // size prefixes with their fill to the unit
    std::uint64_t alignmentPadding = 0;  // zero bytes the allocation unit inserted
    std::uint64_t sectorPadding = 0;     // zero bytes the sector rule inserted
    std::uint64_t tableBytes = 0;
    std::uint64_t imageBytes = 0;     // the size of Icon.bin
    std::uint64_t flashCapacity = 0;  // bytes of the flash the image was checked against
};

/// The map of a binary resource image, one row per picture in table order.
struct MemoryMap {
    std::vector<MemoryMapRow> rows;
    MemoryMapTotals totals;
};

/// The map of the image `layout` placed for `list` (sorted as converted: block i
/// belongs to list position i). Offsets come from the layout's table and unit,
/// sizes and fills from its blocks, so the map describes exactly the bytes the
/// writer produced.
MemoryMap BuildMemoryMap(const ResourceImageLayout& layout, const workspace::PictureList& list,
                         std::uint64_t flashCapacity);

/// `imageBytes` as a share of `capacity` in hundredths of a percent, rounded to
/// the nearest ("12.34 %"); "-" without a capacity.
std::string FlashShareText(std::uint64_t imageBytes, std::uint64_t capacity);

/// The totals as "name: value" lines (no line ends), for a console or a label;
/// the texts go through `lookup` (a front end's translation).
std::vector<std::string> MemoryMapSummary(const MemoryMapTotals& totals,
                                          const CoreTextLookup& lookup = {});

/// One CSV field: as it is, or between double quotes (inner quotes doubled) when
/// it holds a comma, a double quote, a line break or edge blanks.
std::string CsvField(std::string_view text);

/// The map as CSV: a header line, then one line per picture; LF line ends.
std::string MemoryMapCsv(const MemoryMap& map);

/// Writes MemoryMapCsv to `path` through a temporary file renamed into place,
/// so a failed write leaves any previous file as it was. False on any failure.
bool WriteMemoryMapCsv(const MemoryMap& map, const std::filesystem::path& path);

}  // namespace pictor::conversion
