#include "core/conversion/dither.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
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

// Floyd-Steinberg state of one channel: the errors (in sixteenths) waiting for
// the next row, indexed x + 1 so that x - 1 and x + 1 always exist (shares that
// fall outside the picture land in slots 0 and width + 1 and are dropped), and
// the share carried to the next pixel of the row.
struct Diffusion {
    const Channel* channel = nullptr;
    std::vector<std::uint8_t> nearest;  // code of each value 0..kFullScale in sixteenths
    std::vector<int> intensity16;
    std::vector<int> current;
    std::vector<int> next;
    int carry = 0;

    Diffusion(const Channel& c, std::size_t width)
        : channel(&c), current(width + 2, 0), next(width + 2, 0) {
        nearest.resize(kFullScale + 1);
        for (int v = 0; v <= kFullScale; ++v) {
            nearest[static_cast<std::size_t>(v)] =
                static_cast<std::uint8_t>(NearestCode(v, c.levels));
        }
        for (const int i : c.intensity) {
            intensity16.push_back(i * 16);
        }
    }

    // Quantises `value` (8-bit) at slot x + 1 going `step` (+1 or -1); returns the
    // written 8-bit value.
    std::uint8_t Pixel(int value, std::size_t slot, int step) {
        const int v = value * 16 + current[slot] + carry;
        const int code = v <= 0            ? 0
                         : v >= kFullScale ? channel->levels - 1
                                           : nearest[static_cast<std::size_t>(v)];
        const int error = v - intensity16[static_cast<std::size_t>(code)];
        const int ahead = error * 7 / 16;
        const int behindBelow = error * 3 / 16;
        const int below = error * 5 / 16;
        carry = ahead;
        next[step > 0 ? slot - 1 : slot + 1] += behindBelow;
        next[slot] += below;
        next[step > 0 ? slot + 1 : slot - 1] += error - ahead - behindBelow - below;
        return channel->output[static_cast<std::size_t>(code)];
    }

    void EndRow() {
        current.swap(next);
        std::fill(next.begin(), next.end(), 0);
        current.front() = 0;
        current.back() = 0;
        carry = 0;
    }
};

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

// Runs `visit(x, y, i, step)` over every pixel in the order the mode needs:
// row by row, every row left to right (ordered) or alternately (serpentine).
template <class Visit>
void Scan(int width, int height, bool serpentine, Visit visit) {
    for (int y = 0; y < height; ++y) {
        const bool leftToRight = !serpentine || (y % 2) == 0;
        const std::size_t rowStart = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int i = 0; i < width; ++i) {
            const int x = leftToRight ? i : width - 1 - i;
            visit(x, y, rowStart + static_cast<std::size_t>(x), leftToRight ? 1 : -1);
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

    if (profile.colorDepth != 16) {
        const Channel grey = GreyChannel(profile);
        if (ordered) {
            const OrderedTable table = MakeOrderedTable(grey);
            Scan(image.width, image.height, false, [&](int x, int y, std::size_t i, int) {
                const auto cell = static_cast<std::size_t>(((y & 7) << 3) | (x & 7));
                out[i] = GreyPixel(table[cell][GreyOf(source[i])]);
            });
        } else {
            Diffusion diffusion(grey, width);
            Scan(image.width, image.height, true, [&](int x, int, std::size_t i, int step) {
                const auto slot = static_cast<std::size_t>(x) + 1;
                out[i] =
                    GreyPixel(diffusion.Pixel(static_cast<int>(GreyOf(source[i])), slot, step));
                if ((step > 0 && static_cast<std::size_t>(x) + 1 == width) ||
                    (step < 0 && x == 0)) {
                    diffusion.EndRow();
                }
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
        Scan(image.width, image.height, false, [&](int x, int y, std::size_t i, int) {
            const auto cell = static_cast<std::size_t>(((y & 7) << 3) | (x & 7));
            const std::uint32_t p = source[i];
            out[i] = 0xFF000000u |
                     (static_cast<std::uint32_t>(tables[0][cell][(p >> 16) & 0xFFu]) << 16) |
                     (static_cast<std::uint32_t>(tables[1][cell][(p >> 8) & 0xFFu]) << 8) |
                     tables[2][cell][p & 0xFFu];
        });
        return storage;
    }
    std::array<Diffusion, 3> diffusions = {Diffusion(channels[0], width),
                                           Diffusion(channels[1], width),
                                           Diffusion(channels[2], width)};
    Scan(image.width, image.height, true, [&](int x, int, std::size_t i, int step) {
        const auto slot = static_cast<std::size_t>(x) + 1;
        const std::uint32_t p = source[i];
        out[i] = 0xFF000000u |
                 (static_cast<std::uint32_t>(
                      diffusions[0].Pixel(static_cast<int>((p >> 16) & 0xFFu), slot, step))
                  << 16) |
                 (static_cast<std::uint32_t>(
                      diffusions[1].Pixel(static_cast<int>((p >> 8) & 0xFFu), slot, step))
                  << 8) |
                 diffusions[2].Pixel(static_cast<int>(p & 0xFFu), slot, step);
        if ((step > 0 && static_cast<std::size_t>(x) + 1 == width) || (step < 0 && x == 0)) {
            for (Diffusion& d : diffusions) {
                d.EndRow();
            }
        }
    });
    return storage;
}

}  // namespace pictor::conversion
