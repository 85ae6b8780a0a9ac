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

// One channel to quantise: `levels` codes, code k standing for `intensity[k]`.
struct Channel {
    int levels = 2;
    std::vector<int> intensity;
};

// Ordered dithering of one value: the code of value + threshold, where the
// thresholds spread one code step evenly over the 64 cells of the tile.
int OrderedCode(int value, int x, int y, int levels) {
    const int cell = kBayer[static_cast<std::size_t>(y & 7)][static_cast<std::size_t>(x & 7)];
    const int code = (value * (levels - 1) * 128 + (2 * cell + 1) * 255) / (255 * 128);
    return std::min(code, levels - 1);
}

// The nearest code of a value given in sixteenths.
int NearestCode(int sixteenths, int levels) {
    const int code = (sixteenths * (levels - 1) + 255 * 8) / (255 * 16);
    return std::clamp(code, 0, levels - 1);
}

// Codes of one plane of 8-bit values (row-major, `width` x `height`).
std::vector<int> DitherPlane(const std::vector<int>& values, int width, int height,
                             const Channel& channel, DitherMode mode) {
    std::vector<int> codes(values.size(), 0);
    const auto at = [width](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    };
    if (mode == DitherMode::Ordered) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                codes[at(x, y)] = OrderedCode(values[at(x, y)], x, y, channel.levels);
            }
        }
        return codes;
    }
    // Floyd-Steinberg in sixteenths; a neighbour outside the picture loses its share.
    const auto w = static_cast<std::size_t>(width);
    std::vector<int> current(w + 2, 0);  // index x + 1, so x - 1 and x + 1 always exist
    std::vector<int> next(w + 2, 0);
    for (int y = 0; y < height; ++y) {
        const bool leftToRight = (y % 2) == 0;
        const int step = leftToRight ? 1 : -1;
        for (int i = 0; i < width; ++i) {
            const int x = leftToRight ? i : width - 1 - i;
            const auto slot = static_cast<std::size_t>(x + 1);
            const int value = values[at(x, y)] * 16 + current[slot];
            const int code = NearestCode(value, channel.levels);
            codes[at(x, y)] = code;
            const int error = value - channel.intensity[static_cast<std::size_t>(code)] * 16;
            const int ahead = error * 7 / 16;
            const int behindBelow = error * 3 / 16;
            const int below = error * 5 / 16;
            const auto forward = static_cast<std::size_t>(x + 1 + step);
            const auto backward = static_cast<std::size_t>(x + 1 - step);
            current[forward] += ahead;
            next[backward] += behindBelow;
            next[slot] += below;
            next[forward] += error - ahead - behindBelow - below;
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), 0);
        // Shares that fell outside the picture (slots 0 and w + 1) are dropped.
        current.front() = 0;
        current.back() = 0;
    }
    return codes;
}

// Lowest grey the encoder maps to each code (its thresholds searched from the
// top code down); a code no grey reaches borrows the nearest reachable code's.
std::vector<int> GreyOfEachCode(const settings::ModelProfile& profile) {
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
    for (int k = 0; k < levels; ++k) {
        if (lowest[static_cast<std::size_t>(k)] >= 0) {
            continue;
        }
        for (int distance = 1; distance < levels; ++distance) {
            const int below = k - distance;
            const int above = k + distance;
            if (below >= 0 && lowest[static_cast<std::size_t>(below)] >= 0) {
                lowest[static_cast<std::size_t>(k)] = lowest[static_cast<std::size_t>(below)];
                break;
            }
            if (above < levels && lowest[static_cast<std::size_t>(above)] >= 0) {
                lowest[static_cast<std::size_t>(k)] = lowest[static_cast<std::size_t>(above)];
                break;
            }
        }
    }
    return lowest;
}

Channel GreyChannel(int depth) {
    Channel channel;
    channel.levels = 1 << depth;
    for (int k = 0; k < channel.levels; ++k) {
        channel.intensity.push_back(k * 255 / (channel.levels - 1));
    }
    return channel;
}

Channel ColourChannel(int bits) {
    Channel channel;
    const int width = std::clamp(bits, 1, 8);
    channel.levels = 1 << width;
    for (int k = 0; k < channel.levels; ++k) {
        channel.intensity.push_back(
            static_cast<int>(WidenChannel(static_cast<std::uint32_t>(k), width)));
    }
    return channel;
}

std::vector<int> Plane(const std::vector<std::uint32_t>& pixels, int shift) {
    std::vector<int> plane(pixels.size());
    std::transform(pixels.begin(), pixels.end(), plane.begin(),
                   [shift](std::uint32_t p) { return static_cast<int>((p >> shift) & 0xFFu); });
    return plane;
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
    const DitherMode mode = DitherModeOf(profile);
    storage.width = image.width;
    storage.height = image.height;
    storage.hasAlpha = false;
    storage.pixels = image.pixels;
    if (image.hasAlpha) {
        for (std::uint32_t& pixel : storage.pixels) {
            pixel = BlendOverBackground(pixel, profile.bkColor);
        }
    }

    if (profile.colorDepth != 16) {
        std::vector<int> greys(count);
        std::transform(
            storage.pixels.begin(), storage.pixels.end(), greys.begin(), [](std::uint32_t p) {
                return static_cast<int>((((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu)) /
                                        3);
            });
        const std::vector<int> codes =
            DitherPlane(greys, image.width, image.height, GreyChannel(profile.colorDepth), mode);
        const std::vector<int> greyOfCode = GreyOfEachCode(profile);
        for (std::size_t i = 0; i < count; ++i) {
            const auto grey =
                static_cast<std::uint32_t>(greyOfCode[static_cast<std::size_t>(codes[i])]);
            storage.pixels[i] = 0xFF000000u | (grey << 16) | (grey << 8) | grey;
        }
        return storage;
    }

    const settings::ChannelLayout& layout = profile.channelLayout;
    const std::array<int, 3> bits = {std::clamp(layout.redBits, 1, 8),
                                     std::clamp(layout.greenBits, 1, 8),
                                     std::clamp(layout.blueBits, 1, 8)};
    const std::array<int, 3> shifts = {16, 8, 0};
    std::vector<std::uint32_t> out(count, 0xFF000000u);
    for (std::size_t c = 0; c < 3; ++c) {
        const std::vector<int> codes = DitherPlane(Plane(storage.pixels, shifts[c]), image.width,
                                                   image.height, ColourChannel(bits[c]), mode);
        for (std::size_t i = 0; i < count; ++i) {
            // The encoder keeps the top `bits` bits: code k is the value k << (8 - bits).
            const auto value = static_cast<std::uint32_t>(codes[i]) << (8 - bits[c]);
            out[i] |= value << shifts[c];
        }
    }
    storage.pixels = std::move(out);
    return storage;
}

}  // namespace pictor::conversion
