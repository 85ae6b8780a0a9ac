#include "core/workspace/bitmap_format.h"

#include <algorithm>
#include <limits>

namespace pictor::workspace {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kFileHeaderBytes = 14;

std::uint32_t Le16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8);
}

std::uint32_t Le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return Le16(bytes, at) | (Le16(bytes, at + 2) << 16);
}

bool IsKnownInfoHeader(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Compression and bit count pairs the decoders know.
bool IsKnownEncoding(std::uint32_t compression, int bitCount) {
    switch (compression) {
        case kRgb:
            return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                   bitCount == 24 || bitCount == 32;
        case kRle8:
            return bitCount == 8;
        case kRle4:
            return bitCount == 4;
        case kBitFields:
            return bitCount == 16 || bitCount == 32;
        default:
            return false;
    }
}

std::uint64_t PaletteEnd(const BitmapHeader& header) {
    return header.paletteOffset + std::uint64_t{header.paletteEntries} *
                                      static_cast<std::uint64_t>(header.paletteEntryBytes);
}

// Walks a run-length stream as a decoder would, without storing pixels. The stream
// is complete when it reaches the last stored row: by end-of-line or delta moves
// past it, by the end-of-bitmap mark on it, or by running out of bytes right after
// filling it. Every step consumes at least two bytes, so the walk ends.
bool RunLengthStreamIsComplete(const BitmapHeader& header, std::span<const std::uint8_t> stream) {
    const bool fourBits = header.compression == kRle4;
    const std::uint64_t width = static_cast<std::uint64_t>(header.width);
    const std::uint64_t lastRow = static_cast<std::uint64_t>(header.height) - 1;
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::size_t at = 0;
    while (true) {
        if (stream.size() - at < 2) {
            return y == lastRow && x >= width;
        }
        const std::uint8_t count = stream[at];
        const std::uint8_t value = stream[at + 1];
        at += 2;
        if (count > 0) {
            x += count;
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                if (++y > lastRow) {
                    return true;
                }
                break;
            case 1:  // end of bitmap
                return y == lastRow;
            case 2: {  // delta: move right and down
                if (stream.size() - at < 2) {
                    return false;
                }
                x += stream[at];
                y += stream[at + 1];
                at += 2;
                if (y > lastRow) {
                    return true;
                }
                break;
            }
            default: {  // absolute run of `value` pixels, padded to a 16-bit word
                std::size_t bytes = fourBits ? (value + 1U) / 2U : value;
                bytes += bytes % 2;
                if (stream.size() - at < bytes) {
                    return false;
                }
                at += bytes;
                x += value;
                break;
            }
        }
    }
}

}  // namespace

std::optional<BitmapHeader> ParseBitmapHeader(std::span<const std::uint8_t> head) {
    if (head.size() < kFileHeaderBytes + 12 || head[0] != 'B' || head[1] != 'M') {
        return std::nullopt;
    }
    BitmapHeader header;
    header.dataOffset = Le32(head, 10);
    header.headerSize = Le32(head, 14);
    std::uint32_t declaredColours = 0;
    std::uint32_t planes = 0;
    if (header.headerSize == 12) {
        header.width = static_cast<int>(Le16(head, 18));
        header.height = static_cast<int>(Le16(head, 20));
        planes = Le16(head, 22);
        header.bitCount = static_cast<int>(Le16(head, 24));
        header.paletteEntryBytes = 3;
    } else if (IsKnownInfoHeader(header.headerSize)) {
        if (head.size() < kFileHeaderBytes + 40) {
            return std::nullopt;
        }
        const auto width = static_cast<std::int32_t>(Le32(head, 18));
        const auto height = static_cast<std::int32_t>(Le32(head, 22));
        if (height == std::numeric_limits<std::int32_t>::min()) {
            return std::nullopt;
        }
        header.width = width;
        header.topDown = height < 0;
        header.height = height < 0 ? -height : height;
        planes = Le16(head, 26);
        header.bitCount = static_cast<int>(Le16(head, 28));
        header.compression = Le32(head, 30);
        declaredColours = Le32(head, 46);
    } else {
        return std::nullopt;
    }
    // A bitmap has exactly one plane; Qt's decoder refuses any other count.
    if (planes != 1 || header.width <= 0 || header.height <= 0 ||
        !IsKnownEncoding(header.compression, header.bitCount)) {
        return std::nullopt;
    }

    std::uint64_t masksBytes = 0;
    if (header.headerSize >= 52) {
        // V2 and later headers carry the masks themselves.
        if (head.size() < kFileHeaderBytes + 56) {
            return std::nullopt;
        }
        header.masks = {Le32(head, 54), Le32(head, 58), Le32(head, 62)};
        header.alphaMask = header.headerSize >= 56 ? Le32(head, 66) : 0;
    } else if (header.compression == kBitFields) {
        if (head.size() < kFileHeaderBytes + 40 + 12) {
            return std::nullopt;
        }
        header.masks = {Le32(head, 54), Le32(head, 58), Le32(head, 62)};
        masksBytes = 12;
    }
    header.paletteOffset = kFileHeaderBytes + header.headerSize + masksBytes;
    if (header.bitCount <= 8) {
        header.paletteEntries = declaredColours != 0 ? declaredColours : 1U << header.bitCount;
    }
    header.rowBytes =
        (static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.bitCount) +
         31) /
        32 * 4;
    return header;
}

std::uint64_t PixelDataOffset(const BitmapHeader& header) {
    // A data offset inside the headers, the masks or the palette is not where the
    // pixels are read: reading goes on behind the palette.
    return std::max(header.dataOffset, PaletteEnd(header));
}

bool SizeHoldsDeclaredRows(const BitmapHeader& header, std::uint64_t fileSize) {
    const std::uint64_t paletteEnd = PaletteEnd(header);
    if (paletteEnd > fileSize) {
        return false;
    }
    const std::uint64_t start = PixelDataOffset(header);
    if (start > fileSize) {
        return false;
    }
    if (header.IsRunLength()) {
        return true;
    }
    // Divided rather than multiplied, so no product of header fields has to fit.
    const std::uint64_t room = fileSize - start;
    return header.rowBytes <= room &&
           static_cast<std::uint64_t>(header.height) <= room / header.rowBytes;
}

bool HoldsDeclaredPixels(const BitmapHeader& header, std::span<const std::uint8_t> file) {
    if (!SizeHoldsDeclaredRows(header, file.size())) {
        return false;
    }
    if (!header.IsRunLength()) {
        return true;
    }
    const std::uint64_t start = PixelDataOffset(header);
    return RunLengthStreamIsComplete(header, file.subspan(static_cast<std::size_t>(start)));
}

std::optional<DirectBitmap::Kind> DirectBitmap::LayoutKind(const BitmapHeader& header) {
    if (header.headerSize < 40 || header.IsRunLength()) {
        return std::nullopt;
    }
    // The pixels must start behind the headers and the palette, where they are read.
    if (header.dataOffset < PaletteEnd(header)) {
        return std::nullopt;
    }
    const bool plainHeader = header.headerSize == 40;
    const bool noAlpha = header.alphaMask == 0;
    const auto& masks = header.masks;
    using Masks = std::array<std::uint32_t, 3>;
    switch (header.bitCount) {
        case 1:
            // Two colours exactly: a one-colour table is an odd case left to the
            // general decoder.
            if (header.paletteEntries != 2) {
                return std::nullopt;
            }
            return Kind::Palette1;
        case 4:
        case 8:
            if (header.paletteEntries == 0 || header.paletteEntries > (1U << header.bitCount)) {
                return std::nullopt;
            }
            return header.bitCount == 4 ? Kind::Palette4 : Kind::Palette8;
        case 16:
            if (header.compression == kRgb && plainHeader) {
                return Kind::Rgb555;
            }
            if (header.compression == kBitFields && noAlpha &&
                masks == Masks{0x7C00, 0x03E0, 0x001F}) {
                return Kind::Rgb555;
            }
            if (header.compression == kBitFields && noAlpha &&
                masks == Masks{0xF800, 0x07E0, 0x001F}) {
                return Kind::Rgb565;
            }
            return std::nullopt;
        case 24:
            return Kind::Bgr24;
        case 32:
            if ((header.compression == kRgb && plainHeader) ||
                (header.compression == kBitFields && noAlpha &&
                 masks == Masks{0xFF0000, 0x00FF00, 0x0000FF})) {
                return Kind::Bgrx32;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

bool DirectBitmap::IsDirectLayout(const BitmapHeader& header) {
    return LayoutKind(header).has_value();
}

std::optional<DirectBitmap> DirectBitmap::Open(std::span<const std::uint8_t> file) {
    const std::optional<BitmapHeader> parsed = ParseBitmapHeader(file);
    if (!parsed) {
        return std::nullopt;
    }
    const BitmapHeader& header = *parsed;
    const std::optional<Kind> kind = LayoutKind(header);
    if (!kind || !HoldsDeclaredPixels(header, file)) {
        return std::nullopt;
    }
    DirectBitmap bitmap(header, *kind, file);
    // Indexes beyond the stored palette read as black, as in the general decoder.
    bitmap.palette_.fill(0xFF000000U);
    for (std::uint32_t i = 0; i < header.paletteEntries; ++i) {
        const auto at = static_cast<std::size_t>(header.paletteOffset) + std::size_t{i} * 4;
        bitmap.palette_[i] = 0xFF000000U | (static_cast<std::uint32_t>(file[at + 2]) << 16) |
                             (static_cast<std::uint32_t>(file[at + 1]) << 8) | file[at];
    }
    return bitmap;
}

const std::uint8_t* DirectBitmap::StoredRow(int y) const {
    const auto stored = static_cast<std::uint64_t>(header_.topDown ? y : header_.height - 1 - y);
    return file_.data() + static_cast<std::size_t>(header_.dataOffset + stored * header_.rowBytes);
}

const std::uint8_t* DirectBitmap::Bgr24Row(int y) const {
    return kind_ == Kind::Bgr24 ? StoredRow(y) : nullptr;
}

void DirectBitmap::DecodeRow(int y, std::uint32_t* out) const {
    const std::uint8_t* row = StoredRow(y);
    const auto width = static_cast<std::size_t>(header_.width);
    switch (kind_) {
        case Kind::Palette1:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = palette_[(row[x / 8] >> (7 - x % 8)) & 1U];
            }
            break;
        case Kind::Palette4:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = palette_[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0FU];
            }
            break;
        case Kind::Palette8:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = palette_[row[x]];
            }
            break;
        case Kind::Rgb555:
            // Each 5-bit channel is widened by a factor 8, so full scale reads 0xF8.
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t c =
                    row[2 * x] | (static_cast<std::uint32_t>(row[2 * x + 1]) << 8);
                out[x] = 0xFF000000U | (((c >> 10) & 0x1FU) << 19) | (((c >> 5) & 0x1FU) << 11) |
                         ((c & 0x1FU) << 3);
            }
            break;
        case Kind::Rgb565:
            // 5-bit channels times 8, the 6-bit green times 4 (full scale 0xFC).
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t c =
                    row[2 * x] | (static_cast<std::uint32_t>(row[2 * x + 1]) << 8);
                out[x] = 0xFF000000U | ((c >> 11) << 19) | (((c >> 5) & 0x3FU) << 10) |
                         ((c & 0x1FU) << 3);
            }
            break;
        case Kind::Bgr24:
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint8_t* p = row + 3 * x;
                out[x] = 0xFF000000U | (static_cast<std::uint32_t>(p[2]) << 16) |
                         (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
            }
            break;
        case Kind::Bgrx32:
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint8_t* p = row + 4 * x;
                out[x] = 0xFF000000U | (static_cast<std::uint32_t>(p[2]) << 16) |
                         (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
            }
            break;
    }
}

}  // namespace pictor::workspace
