#include "core/conversion/dither.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/conversion/picture_decoder.h"
#include "core/conversion/pixel_encoder.h"

namespace pictor::conversion {

namespace {

using workspace::PixelImage;

// The 8x8 Bayer matrix: the order in which an 8x8 tile's pixels switch on.
constexpr std::array<std::array<int, 8>, 8> kBayer = {{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

constexpr int kFullScale = 255 * 16;  // an 8-bit value in sixteenths

// One channel to quantise: `levels` codes; code k stands for the 8-bit
// `intensity[k]` and is written as the 8-bit value `output[k]`, the lowest value
// the encoder maps to it.
struct Channel {
    int levels = 2;
    std::vector<int> intensity;
    std::vector<std::uint8_t> output;
};

// Ordered dithering of one value: the code of value + threshold, where the
// thresholds spread one code step evenly over the 64 cells of the tile.
int OrderedCode(int value, int cell, int levels) {
    const int code = (value * (levels - 1) * 128 + (2 * cell + 1) * 255) / (255 * 128);
    return std::min(code, levels - 1);
}

// The nearest code of a value given in sixteenths.
int NearestCode(int sixteenths, int levels) {
    const int code = (sixteenths * (levels - 1) + 255 * 8) / (255 * 16);
    return std::clamp(code, 0, levels - 1);
}

// The written value of every (Bayer cell, 8-bit value) pair of a channel.
using OrderedTable = std::vector<std::array<std::uint8_t, 256>>;

OrderedTable MakeOrderedTable(const Channel& channel) {
    OrderedTable table(64);  // indexed by (y mod 8) x 8 + (x mod 8)
    for (std::size_t position = 0; position < 64; ++position) {
        const int cell = kBayer[position / 8][position % 8];
        for (int value = 0; value < 256; ++value) {
            table[position][static_cast<std::size_t>(value)] =
                channel.output[static_cast<std::size_t>(OrderedCode(value, cell, channel.levels))];
        }
    }
    return table;
}

// What one pixel's value (in sixteenths) decides under Floyd-Steinberg: the
// error's shares (7/16 to the next pixel of the row, 3/16 to the pixel below
// the previous one, 5/16 straight below, the rest below the next one) and the
// written 8-bit value.
struct Outcome {
    int ahead = 0;
    int behind = 0;
    int below = 0;
    int rest = 0;
    std::uint32_t written = 0;
};

Outcome OutcomeOf(const Channel& channel, int v, std::size_t code) {
    const int error = v - channel.intensity[code] * 16;
    Outcome outcome;
    outcome.ahead = error * 7 / 16;
    outcome.behind = error * 3 / 16;
    outcome.below = error * 5 / 16;
    outcome.rest = error - outcome.ahead - outcome.behind - outcome.below;
    outcome.written = channel.output[code];
    return outcome;
}

Outcome OutcomeOf(const Channel& channel, int v) {
    return OutcomeOf(
        channel, v,
        static_cast<std::size_t>(NearestCode(std::clamp(v, 0, kFullScale), channel.levels)));
}

// The lowest value (in sixteenths, 0..kFullScale) whose nearest code is k, for
// each code k: the codes of ascending values follow without a division each.
std::vector<int> FirstValueOfEachCode(int levels) {
    std::vector<int> first(static_cast<std::size_t>(levels), 0);
    for (int k = 1; k < levels; ++k) {
        int low = 0;
        int high = kFullScale + 1;
        while (low < high) {
            const int middle = (low + high) / 2;
            if (NearestCode(middle, levels) >= k) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        first[static_cast<std::size_t>(k)] = low;
    }
    return first;
}

// Floyd-Steinberg over one channel. The outcomes of all values within kMargin
// of 0..kFullScale are tabulated (errors stay well inside; values outside are
// computed), so a pixel costs a few loads and the serial part of a row, where
// each pixel waits for the share its predecessor carries ahead, is one load.
class Diffusion {
  public:
    static constexpr int kMargin = 2048;

    // The state of a row walk: the carried share, the
    // errors the previous row left for this one (`current`) and the next row's
    // slots being filled. Each slot of the next row gets its three shares from
    // three consecutive pixels, so they are summed in `behindSlot` (the slot
    // behind the pixel) and `hereSlot` (its own) and stored once, final: rows
    // need no clearing. Slots -1 and width exist; what lands there is dropped.
    struct Lane {
        std::ptrdiff_t carried = 0;
        int behindSlot = 0;
        int hereSlot = 0;
        const int* current = nullptr;
        int* next = nullptr;
    };

    Diffusion(const Channel& channel, std::size_t width)
        : channel_(channel),
          carriedShares_(kEntries),
          outcomes_(kEntries),
          rowA_(width + 2, 0),
          rowB_(width + 2, 0) {
        const std::vector<int> first = FirstValueOfEachCode(channel.levels);
        std::size_t code = 0;
        for (std::size_t i = 0; i < kEntries; ++i) {
            const int v = static_cast<int>(i) - kMargin;
            while (code + 1 < first.size() && v >= first[code + 1]) {
                ++code;
            }
            const Outcome o = OutcomeOf(channel, v, code);
            carriedShares_[i] = static_cast<std::int16_t>(o.ahead);
            outcomes_[i] = Pack(o.behind) | (Pack(o.below) << 16) | (Pack(o.rest) << 32) |
                           (std::uint64_t{o.written} << 48);
        }
    }

    [[nodiscard]] Lane StartRow() {
        Lane lane;
        lane.current = current_->data() + 1;
        lane.next = next_->data() + 1;
        return lane;
    }

    // Stores the slot of the row's last pixel `lastX` and turns to the next row.
    void EndRow(const Lane& lane, std::ptrdiff_t lastX) {
        lane.next[lastX] = lane.behindSlot;
        std::swap(current_, next_);
    }

    // Quantises the pixel at `x` whose own value is `sixteenths` (an 8-bit value
    // x 16), walking `Dir`; returns the written 8-bit value.
    template <int Dir>
    std::uint32_t Pixel(Lane& lane, std::uint32_t sixteenths, std::ptrdiff_t x) const {
        const std::ptrdiff_t own = static_cast<std::ptrdiff_t>(sixteenths) + lane.current[x];
        const std::ptrdiff_t v = own + lane.carried;
        const auto index = static_cast<std::size_t>(v + kMargin);
        if (index >= kEntries) {
            return Computed<Dir>(lane, static_cast<int>(v), x);
        }
        // The load the next pixel waits for.
        lane.carried = carriedShares_[index];
        const std::uint64_t outcome = outcomes_[index];
        lane.next[x - Dir] = lane.behindSlot + Unpack(outcome);
        lane.behindSlot = lane.hereSlot + Unpack(outcome >> 16);
        lane.hereSlot = Unpack(outcome >> 32);
        return static_cast<std::uint32_t>(outcome >> 48);
    }

  private:
    static constexpr std::size_t kEntries = kFullScale + 2 * kMargin + 1;
    static std::uint64_t Pack(int share) { return static_cast<std::uint16_t>(share); }
    static int Unpack(std::uint64_t bits) { return static_cast<std::int16_t>(bits & 0xFFFFu); }

    template <int Dir>
    std::uint32_t Computed(Lane& lane, int v, std::ptrdiff_t x) const {
        const Outcome o = OutcomeOf(channel_, v);
        lane.carried = o.ahead;
        lane.next[x - Dir] = lane.behindSlot + o.behind;
        lane.behindSlot = lane.hereSlot + o.below;
        lane.hereSlot = o.rest;
        return o.written;
    }

    const Channel& channel_;
    std::vector<std::int16_t> carriedShares_;  // per value: error x 7 / 16
    std::vector<std::uint64_t> outcomes_;      // per value: behind, below, rest, written
    std::vector<int> rowA_;
    std::vector<int> rowB_;
    std::vector<int>* current_ = &rowA_;
    std::vector<int>* next_ = &rowB_;
};

// Runs `row(Dir, y)` for every row, the even ones left to right.
template <class Row>
void Serpentine(int height, Row row) {
    for (int y = 0; y < height; ++y) {
        if (y % 2 == 0) {
            row(std::integral_constant<int, 1>{}, y);
        } else {
            row(std::integral_constant<int, -1>{}, y);
        }
    }
}

// Lowest grey the encoder maps to each code (its thresholds searched from the
// top code down); a code no grey reaches borrows the nearest reachable code's.
std::vector<std::uint8_t> GreyOfEachCode(const settings::ModelProfile& profile) {
    const int levels = 1 << profile.colorDepth;
    std::vector<int> lowest(static_cast<std::size_t>(levels), -1);
    for (int grey = 255; grey >= 0; --grey) {
        int code = 0;
        for (int k = levels - 1; k >= 0; --k) {
            if (grey >= profile.colorLevels[static_cast<std::size_t>(k)]) {
                code = k;
                break;
            }
        }
        lowest[static_cast<std::size_t>(code)] = grey;
    }
    std::vector<std::uint8_t> result(static_cast<std::size_t>(levels), 0);
    for (int k = 0; k < levels; ++k) {
        for (int distance = 0; distance < levels; ++distance) {
            const int below = k - distance;
            const int above = k + distance;
            if (below >= 0 && lowest[static_cast<std::size_t>(below)] >= 0) {
                result[static_cast<std::size_t>(k)] =
                    static_cast<std::uint8_t>(lowest[static_cast<std::size_t>(below)]);
                break;
            }
            if (above < levels && lowest[static_cast<std::size_t>(above)] >= 0) {
                result[static_cast<std::size_t>(k)] =
                    static_cast<std::uint8_t>(lowest[static_cast<std::size_t>(above)]);
                break;
            }
        }
    }
    return result;
}

Channel GreyChannel(const settings::ModelProfile& profile) {
    Channel channel;
    channel.levels = 1 << profile.colorDepth;
    for (int k = 0; k < channel.levels; ++k) {
        channel.intensity.push_back(k * 255 / (channel.levels - 1));
    }
    channel.output = GreyOfEachCode(profile);
    return channel;
}

Channel ColourChannel(int bits) {
    Channel channel;
    channel.levels = 1 << bits;
    for (int k = 0; k < channel.levels; ++k) {
        channel.intensity.push_back(
            static_cast<int>(WidenChannel(static_cast<std::uint32_t>(k), bits)));
        // The encoder keeps the top `bits` bits: code k is the value k << (8 - bits).
        channel.output.push_back(static_cast<std::uint8_t>(k << (8 - bits)));
    }
    return channel;
}

inline std::uint32_t GreyOf(std::uint32_t p) {
    return (((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu)) / 3;
}

inline std::uint32_t GreyPixel(std::uint32_t grey) {
    return 0xFF000000u | (grey * 0x010101u);
}

// Runs `visit(x, y, i)` over every pixel, row by row, left to right.
template <class Visit>
void Scan(int width, int height, Visit visit) {
    for (int y = 0; y < height; ++y) {
        const std::size_t rowStart = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            visit(x, y, rowStart + static_cast<std::size_t>(x));
        }
    }
}

}  // namespace

DitherMode DitherModeOf(const settings::ModelProfile& profile) {
    switch (profile.dither) {
        case 1:
            return DitherMode::Ordered;
        case 2:
            return DitherMode::FloydSteinberg;
        default:
            return DitherMode::None;
    }
}

std::optional<DitherMode> ParseDitherMode(std::string_view text) {
    if (text == "none") {
        return DitherMode::None;
    }
    if (text == "ordered") {
        return DitherMode::Ordered;
    }
    if (text == "fs") {
        return DitherMode::FloydSteinberg;
    }
    return std::nullopt;
}

bool Dithers(const settings::ModelProfile& profile) {
    const int depth = profile.colorDepth;
    const bool quantises = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    return quantises && DitherModeOf(profile) != DitherMode::None;
}

const PixelImage& DitherForEncoding(const PixelImage& image, const settings::ModelProfile& profile,
                                    PixelImage& storage) {
    const std::size_t count = static_cast<std::size_t>(std::max(image.width, 0)) *
                              static_cast<std::size_t>(std::max(image.height, 0));
    if (!Dithers(profile) || image.pixels.size() != count) {
        return image;  // the encoder refuses an inconsistent picture itself
    }
    const bool ordered = DitherModeOf(profile) == DitherMode::Ordered;
    storage.width = image.width;
    storage.height = image.height;
    storage.hasAlpha = false;
    storage.pixels.resize(count);
    // Transparent pixels are blended over the background first, as the encoder does.
    const std::uint32_t* source = image.pixels.data();
    if (image.hasAlpha) {
        std::transform(
            image.pixels.begin(), image.pixels.end(), storage.pixels.begin(),
            [bk = profile.bkColor](std::uint32_t p) { return BlendOverBackground(p, bk); });
        source = storage.pixels.data();
    }
    std::uint32_t* out = storage.pixels.data();
    const auto width = static_cast<std::size_t>(image.width);
    if (count == 0) {
        return storage;
    }

    if (profile.colorDepth != 16) {
        const Channel grey = GreyChannel(profile);
        if (ordered) {
            const OrderedTable table = MakeOrderedTable(grey);
            constexpr std::size_t kSums = 3 * 255 + 1;
            if (count < 64 * kSums) {
                // A small picture: cheaper than making the table below.
                Scan(image.width, image.height, [&](int x, int y, std::size_t i) {
                    const auto cell = static_cast<std::size_t>(((y & 7) << 3) | (x & 7));
                    out[i] = GreyPixel(table[cell][GreyOf(source[i])]);
                });
                return storage;
            }
            // The written grey of every (cell, R + G + B): no division per pixel.
            // A row uses 8 of the 64 cells, so its part of the table stays cached.
            std::vector<std::uint8_t> bySum(64 * kSums);
            for (std::size_t cell = 0; cell < 64; ++cell) {
                for (std::size_t sum = 0; sum < kSums; ++sum) {
                    bySum[cell * kSums + sum] = table[cell][sum / 3];
                }
            }
            for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
                const std::uint8_t* rowCells = bySum.data() + (y & 7) * 8 * kSums;
                const std::uint32_t* in = source + y * width;
                std::uint32_t* row = out + y * width;
                for (std::size_t x = 0; x < width; ++x) {
                    const std::uint32_t p = in[x];
                    const std::uint32_t sum =
                        ((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu);
                    row[x] = GreyPixel(rowCells[(x & 7) * kSums + sum]);
                }
            }
        } else {
            Diffusion diffusion(grey, width);
            // The grey of each channel sum R + G + B, in sixteenths.
            std::array<std::uint32_t, 3 * 255 + 1> greySixteenths{};
            for (std::uint32_t sum = 0; sum < greySixteenths.size(); ++sum) {
                greySixteenths[sum] = sum / 3 * 16;
            }
            Serpentine(image.height, [&](auto dir, int y) {
                constexpr int kDir = decltype(dir)::value;
                const std::uint32_t* in = source + static_cast<std::size_t>(y) * width;
                std::uint32_t* row = out + static_cast<std::size_t>(y) * width;
                Diffusion::Lane lane = diffusion.StartRow();
                const auto w = static_cast<std::ptrdiff_t>(width);
                std::ptrdiff_t x = kDir > 0 ? 0 : w - 1;
                for (std::ptrdiff_t n = 0; n < w; ++n, x += kDir) {
                    const std::uint32_t p = in[x];
                    const std::uint32_t sum =
                        ((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu);
                    row[x] = GreyPixel(diffusion.Pixel<kDir>(lane, greySixteenths[sum], x));
                }
                diffusion.EndRow(lane, x - kDir);
            });
        }
        return storage;
    }

    const settings::ChannelLayout& layout = profile.channelLayout;
    const std::array<Channel, 3> channels = {ColourChannel(std::clamp(layout.redBits, 1, 8)),
                                             ColourChannel(std::clamp(layout.greenBits, 1, 8)),
                                             ColourChannel(std::clamp(layout.blueBits, 1, 8))};
    if (ordered) {
        const std::array<OrderedTable, 3> tables = {MakeOrderedTable(channels[0]),
                                                    MakeOrderedTable(channels[1]),
                                                    MakeOrderedTable(channels[2])};
        Scan(image.width, image.height, [&](int x, int y, std::size_t i) {
            const auto cell = static_cast<std::size_t>(((y & 7) << 3) | (x & 7));
            const std::uint32_t p = source[i];
            out[i] = 0xFF000000u |
                     (static_cast<std::uint32_t>(tables[0][cell][(p >> 16) & 0xFFu]) << 16) |
                     (static_cast<std::uint32_t>(tables[1][cell][(p >> 8) & 0xFFu]) << 8) |
                     tables[2][cell][p & 0xFFu];
        });
        return storage;
    }
    Diffusion red(channels[0], width);
    Diffusion green(channels[1], width);
    Diffusion blue(channels[2], width);
    Serpentine(image.height, [&](auto dir, int y) {
        constexpr int kDir = decltype(dir)::value;
        const std::uint32_t* in = source + static_cast<std::size_t>(y) * width;
        std::uint32_t* row = out + static_cast<std::size_t>(y) * width;
        // The three channels are independent: interleaved, their waits overlap.
        Diffusion::Lane r = red.StartRow();
        Diffusion::Lane g = green.StartRow();
        Diffusion::Lane b = blue.StartRow();
        const auto w = static_cast<std::ptrdiff_t>(width);
        std::ptrdiff_t x = kDir > 0 ? 0 : w - 1;
        for (std::ptrdiff_t n = 0; n < w; ++n, x += kDir) {
            const std::uint32_t p = in[x];
            row[x] = 0xFF000000u | (red.Pixel<kDir>(r, (p >> 12) & 0xFF0u, x) << 16) |
                     (green.Pixel<kDir>(g, (p >> 4) & 0xFF0u, x) << 8) |
                     blue.Pixel<kDir>(b, (p << 4) & 0xFF0u, x);
        }
        red.EndRow(r, x - kDir);
        green.EndRow(g, x - kDir);
        blue.EndRow(b, x - kDir);
    });
    return storage;
}

}  // namespace pictor::conversion
