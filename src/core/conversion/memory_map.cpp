#include "core/conversion/memory_map.h"

#include <algorithm>
#include <cstdio>

#include "core/common/regular_file.h"
#include "core/common/save_file.h"
#include "core/common/text_format.h"
#include "core/conversion/header_writer.h"

namespace pictor::conversion {

MemoryMap BuildMemoryMap(const ResourceImageLayout& layout, const workspace::PictureList& list,
                         std::uint64_t flashCapacity) {
    MemoryMap map;
    const std::vector<PlacedBlock>& blocks = layout.Blocks();
    const std::size_t count = std::min({blocks.size(), list.Size(), kTableEntries});
    map.rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const workspace::ImageEntry& entry = list.At(i);
        const PlacedBlock& block = blocks[i];
        MemoryMapRow row;
        row.index = i;
        row.symbol = SymbolName(entry.name);
        // A text's picture is made from its font.
        row.sourceFile = entry.text ? Utf8FromPath(entry.text->font) : entry.path;
        row.width = entry.width;
        row.height = entry.height;
        row.offset = std::uint64_t{layout.Table()[i]} * layout.Unit();
        row.storedSize = block.prefixBytes + block.pixelBytes;
        row.firstSector = row.offset / kSectorBytes;
        row.lastSector =
            (row.offset + std::max<std::uint64_t>(row.storedSize, 1) - 1) / kSectorBytes;
        row.crossesSector = row.lastSector != row.firstSector;
        map.rows.push_back(std::move(row));

        map.totals.pixelBytes += block.pixelBytes;
        map.totals.prefixBytes += block.prefixBytes;
        map.totals.alignmentPadding += block.alignmentFill;
        map.totals.sectorPadding += block.sectorFill;
    }
    for (std::size_t i = 0; i + 1 < map.rows.size(); ++i) {
        const std::uint64_t end = map.rows[i].offset + map.rows[i].storedSize;
        const std::uint64_t next = map.rows[i + 1].offset;
        map.rows[i].paddingAfter = next > end ? next - end : 0;
    }
    map.totals.pictures = map.rows.size();
    map.totals.tableBytes = kTableBytes;
    map.totals.imageBytes = layout.Counter();
    map.totals.flashCapacity = flashCapacity;
    return map;
}

std::string FlashShareText(std::uint64_t imageBytes, std::uint64_t capacity) {
    if (capacity == 0) {
        return "-";
    }
    // Hundredths of a percent in integers: the same text on every machine and locale.
    const std::uint64_t hundredths = (imageBytes * 10000 + capacity / 2) / capacity;
    char text[48];
    std::snprintf(text, sizeof text, "%llu.%02llu %%",
                  static_cast<unsigned long long>(hundredths / 100),
                  static_cast<unsigned long long>(hundredths % 100));
    return text;
}

std::vector<std::string> MemoryMapSummary(const MemoryMapTotals& totals,
                                          const CoreTextLookup& lookup) {
    const auto line = [&lookup](const char* pattern, const std::vector<std::string>& args) {
        return FillPlaceholders(LookUp(lookup, pattern), args);
    };
    const auto n = [](std::uint64_t value) { return std::to_string(value); };
    std::vector<std::string> lines;
    lines.push_back(line(PICTOR_TRANSLATE_NOOP("Core", "pictures: %1"), {n(totals.pictures)}));
    lines.push_back(
        line(PICTOR_TRANSLATE_NOOP("Core", "pixel data: %1 bytes"), {n(totals.pixelBytes)}));
    lines.push_back(
        line(PICTOR_TRANSLATE_NOOP("Core", "size prefixes: %1 bytes"), {n(totals.prefixBytes)}));
    lines.push_back(line(
        PICTOR_TRANSLATE_NOOP("Core", "padding: %1 bytes (allocation unit %2, sector rule %3)"),
        {n(totals.alignmentPadding + totals.sectorPadding), n(totals.alignmentPadding),
         n(totals.sectorPadding)}));
    lines.push_back(line(PICTOR_TRANSLATE_NOOP("Core", "table: %1 bytes"), {n(totals.tableBytes)}));
    lines.push_back(line(PICTOR_TRANSLATE_NOOP("Core", "image: %1 bytes"), {n(totals.imageBytes)}));
    lines.push_back(
        line(PICTOR_TRANSLATE_NOOP("Core", "flash: %1 bytes, %2 used"),
             {n(totals.flashCapacity), FlashShareText(totals.imageBytes, totals.flashCapacity)}));
    return lines;
}

std::string CsvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
        return std::string(text);
    }
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"') {
            field += '"';
        }
        field += c;
    }
    field += '"';
    return field;
}

std::string MemoryMapCsv(const MemoryMap& map) {
    std::string csv =
        "index,symbol,source_file,width,height,offset,stored_size,padding_after,"
        "first_sector,last_sector,crosses_sector\n";
    for (const MemoryMapRow& row : map.rows) {
        csv += std::to_string(row.index) + ',' + CsvField(row.symbol) + ',' +
               CsvField(row.sourceFile) + ',' + std::to_string(row.width) + ',' +
               std::to_string(row.height) + ',' + std::to_string(row.offset) + ',' +
               std::to_string(row.storedSize) + ',' + std::to_string(row.paddingAfter) + ',' +
               std::to_string(row.firstSector) + ',' + std::to_string(row.lastSector) + ',' +
               (row.crossesSector ? "yes" : "no") + '\n';
    }
    return csv;
}

bool WriteMemoryMapCsv(const MemoryMap& map, const std::filesystem::path& path) {
    std::error_code ignored;
    return SaveFileContent(path, MemoryMapCsv(map), ignored);
}

}  // namespace pictor::conversion
