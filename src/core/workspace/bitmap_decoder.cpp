#include "core/workspace/bitmap_decoder.h"

#include <array>
#include <bit>
#include <vector>

namespace pictor::workspace {

namespace {

constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000U;

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One colour channel of a 16- or 32-bit pixel: its bits are shifted down to bit 0 and
// multiplied by 256 / 2^width, so a 5-bit channel reads 0..0xF8 and an 8-bit one
// 0..0xFF. A mask with gaps counts from its lowest to its highest bit; a range wider
// than 8 bits gives a factor 0 (the channel reads 0).
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t scale = 0;

    [[nodiscard]] std::uint32_t Value(std::uint32_t pixel) const {
        return (((pixel & mask) >> shift) * scale) & 0xFFU;
    }
};

// False when the mask covers all 32 bits: its range does not fit the factor.
bool MakeChannel(std::uint32_t mask, Channel& channel) {
    channel.mask = mask;
    channel.shift = mask == 0 ? 0 : std::countr_zero(mask);
    const std::uint32_t levels = (mask >> channel.shift) + 1U;
    if (levels == 0) {
        return false;
    }
    channel.scale = 256U / levels;
    return true;
}

struct Channels {
    Channel red;
    Channel green;
    Channel blue;

    [[nodiscard]] std::uint32_t Colour(std::uint32_t pixel) const {
        return kOpaqueBlack | (red.Value(pixel) << 16) | (green.Value(pixel) << 8) |
               blue.Value(pixel);
    }
};

// Bit fields apply only with the bit-field compression; plain 16-bit pixels are 5-5-5
// and plain 24- and 32-bit pixels 8-8-8, whatever masks a larger header carries.
std::optional<Channels> MakeChannels(const BitmapHeader& header) {
    std::array<std::uint32_t, 3> masks{0xFF0000U, 0x00FF00U, 0x0000FFU};
    if (header.compression == kBitFields) {
        masks = header.masks;
        // An alpha mask whose range cannot be scaled makes the bitmap unreadable too.
        Channel alpha;
        if (!MakeChannel(header.alphaMask, alpha)) {
            return std::nullopt;
        }
    } else if (header.bitCount == 16) {
        masks = {0x7C00U, 0x03E0U, 0x001FU};
    }
    Channels channels;
    if (!MakeChannel(masks[0], channels.red) || !MakeChannel(masks[1], channels.green) ||
        !MakeChannel(masks[2], channels.blue)) {
        return std::nullopt;
    }
    return channels;
}

// The colour table: stored entries, black beyond them. A 1-bit picture with a single
// stored colour reads white for index 1, as the two-colour default fills the gap.
std::array<std::uint32_t, 256> MakePalette(const BitmapHeader& header,
                                           std::span<const std::uint8_t> file) {
    std::array<std::uint32_t, 256> palette{};
    palette.fill(kOpaqueBlack);
    const auto entryBytes = static_cast<std::size_t>(header.paletteEntryBytes);
    for (std::uint32_t i = 0; i < header.paletteEntries; ++i) {
        const std::uint8_t* entry =
            file.data() + static_cast<std::size_t>(header.paletteOffset) + i * entryBytes;
        palette[i] = kOpaqueBlack | (static_cast<std::uint32_t>(entry[2]) << 16) |
                     (static_cast<std::uint32_t>(entry[1]) << 8) | entry[0];
    }
    if (header.bitCount == 1 && header.paletteEntries == 1) {
        palette[1] = 0xFFFFFFFFU;
    }
    return palette;
}

void DecodeStoredRow(const BitmapHeader& header, const std::uint8_t* row,
                     const std::array<std::uint32_t, 256>& palette, const Channels& channels,
                     std::uint32_t* out) {
    const auto width = static_cast<std::size_t>(header.width);
    switch (header.bitCount) {
        case 1:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1U];
            }
            break;
        case 4:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = palette[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0FU];
            }
            break;
        case 8:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = palette[row[x]];
            }
            break;
        case 16:
            for (std::size_t x = 0; x < width; ++x) {
                out[x] =
                    channels.Colour(row[2 * x] | (static_cast<std::uint32_t>(row[2 * x + 1]) << 8));
            }
            break;
        case 24:
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint8_t* p = row + 3 * x;
                out[x] = kOpaqueBlack | (static_cast<std::uint32_t>(p[2]) << 16) |
                         (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
            }
            break;
        default:  // 32
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = channels.Colour(Le32(row + 4 * x));
            }
            break;
    }
}

// Decodes a run-length stream into palette indexes, one byte per pixel, in rows of
// `stride` bytes with the bottom row of the picture stored last, which is the order
// the stream fills them in. Runs are clipped only where they would pass the end of
// that last stored row, so a run longer than the rest of its row goes on into the
// row stored after it (the row below in the picture). A delta that moves beyond the
// picture stops at its last column or top row. An absolute run that is clipped reads
// only the pixels it keeps, and its padding follows the kept count. End of data ends
// the picture; data that stops inside an absolute run is damage.
class RunLengthDecoder {
  public:
    RunLengthDecoder(const BitmapHeader& header, std::span<const std::uint8_t> stream)
        : stream_(stream),
          fourBits_(header.compression == kRle4),
          width_(header.width),
          height_(header.height),
          stride_((static_cast<std::int64_t>(header.width) + 3) / 4 * 4),
          indexes_(static_cast<std::size_t>(stride_ * header.height), 0),
          end_((height_ - 1) * stride_ + width_) {}

    bool Run() {
        std::int64_t x = 0;
        std::int64_t y = 0;
        std::int64_t p = RowStart(0);
        while (y < height_) {
            std::uint8_t count = 0;
            if (!Next(count)) {
                break;
            }
            if (count != 0) {
                std::uint8_t value = 0;
                if (!Next(value)) {
                    break;
                }
                const std::int64_t kept = Clip(p, count);
                Fill(p, kept, value);
                x += kept;
                p += kept;
                continue;
            }
            std::uint8_t code = 0;
            if (!Next(code) || code == 1) {
                break;  // end of bitmap
            }
            if (code == 0) {  // end of line
                x = 0;
                ++y;
                p = RowStart(y);
            } else if (code == 2) {  // delta: right and up in the picture
                std::uint8_t right = 0;
                std::uint8_t up = 0;
                if (!Next(right) || !Next(up)) {
                    break;
                }
                x = std::min<std::int64_t>(x + right, width_ - 1);
                y = std::min<std::int64_t>(y + up, height_ - 1);
                p = RowStart(y) + x;
            } else {  // absolute run of `code` pixels
                const std::int64_t kept = Clip(p, code);
                if (!CopyAbsolute(p, kept)) {
                    return false;
                }
                x += kept;
                p += kept;
            }
        }
        return true;
    }

    // Index of the pixel at picture row `row` (0 = top) and column `x`.
    [[nodiscard]] std::uint8_t At(int row, int x) const {
        return indexes_[static_cast<std::size_t>(row * stride_ + x)];
    }

  private:
    [[nodiscard]] std::int64_t RowStart(std::int64_t y) const {
        return (height_ - 1 - y) * stride_;
    }

    [[nodiscard]] std::int64_t Clip(std::int64_t p, std::int64_t count) const {
        return p + count > end_ ? end_ - p : count;
    }

    bool Next(std::uint8_t& byte) {
        if (at_ >= stream_.size()) {
            return false;
        }
        byte = stream_[at_++];
        return true;
    }

    void Put(std::int64_t p, std::uint8_t index) { indexes_[static_cast<std::size_t>(p)] = index; }

    void Fill(std::int64_t p, std::int64_t count, std::uint8_t value) {
        for (std::int64_t i = 0; i < count; ++i) {
            // Four-bit runs alternate the two nibbles of their byte.
            Put(p + i, fourBits_ ? (i % 2 == 0 ? value >> 4 : value & 0x0FU) : value);
        }
    }

    bool CopyAbsolute(std::int64_t p, std::int64_t count) {
        std::uint8_t byte = 0;
        if (fourBits_) {
            for (std::int64_t i = 0; i < count; ++i) {
                if (i % 2 == 0 && !Next(byte)) {
                    return false;
                }
                Put(p + i, i % 2 == 0 ? byte >> 4 : byte & 0x0FU);
            }
            // The pixels' bytes are padded to a 16-bit word.
            if ((((count & 3) + 1) & 2) == 2) {
                Next(byte);
            }
            return true;
        }
        for (std::int64_t i = 0; i < count; ++i) {
            if (!Next(byte)) {
                return false;
            }
            Put(p + i, byte);
        }
        if (count % 2 == 1) {
            Next(byte);
        }
        return true;
    }

    std::span<const std::uint8_t> stream_;
    std::size_t at_ = 0;
    bool fourBits_;
    std::int64_t width_;
    std::int64_t height_;
    std::int64_t stride_;
    std::vector<std::uint8_t> indexes_;
    std::int64_t end_;  // one past the last pixel of the bottom row
};

}  // namespace

std::optional<PixelImage> DecodeBitmap(const BitmapHeader& header,
                                       std::span<const std::uint8_t> file) {
    if (header.paletteEntries > 256 || header.width <= 0 || header.height <= 0) {
        return std::nullopt;
    }
    const std::uint64_t start = PixelDataOffset(header);
    if (start > file.size()) {
        return std::nullopt;
    }
    const std::array<std::uint32_t, 256> palette = MakePalette(header, file);
    const auto width = static_cast<std::size_t>(header.width);
    const auto height = static_cast<std::size_t>(header.height);
    PixelImage picture;
    picture.width = header.width;
    picture.height = header.height;
    picture.pixels.resize(width * height);

    if (header.IsRunLength()) {
        RunLengthDecoder decoder(header, file.subspan(static_cast<std::size_t>(start)));
        if (!decoder.Run()) {
            return std::nullopt;
        }
        for (int y = 0; y < header.height; ++y) {
            // The stream's rows are bottom-up unless the header says top-down.
            const int stored = header.topDown ? header.height - 1 - y : y;
            std::uint32_t* out = picture.pixels.data() + static_cast<std::size_t>(y) * width;
            for (int x = 0; x < header.width; ++x) {
                out[x] = palette[decoder.At(stored, x)];
            }
        }
        return picture;
    }

    Channels channels;
    if (header.bitCount >= 16) {
        const std::optional<Channels> made = MakeChannels(header);
        if (!made) {
            return std::nullopt;
        }
        channels = *made;
    }
    if (start + header.rowBytes * height > file.size()) {
        return std::nullopt;
    }
    for (std::size_t y = 0; y < height; ++y) {
        const std::size_t stored = header.topDown ? y : height - 1 - y;
        const std::uint8_t* row =
            file.data() + static_cast<std::size_t>(start + stored * header.rowBytes);
        DecodeStoredRow(header, row, palette, channels, picture.pixels.data() + y * width);
    }
    return picture;
}

}  // namespace pictor::workspace
