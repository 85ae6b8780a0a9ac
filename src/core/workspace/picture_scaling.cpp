// Area and bilinear scaling with integer weights on premultiplied colours.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/workspace/picture_operations.h"

namespace pictor::workspace {

namespace {

// The source pixels one axis of every target pixel draws from, with integer
// weights that add up to `total` for each target pixel.
struct AxisTaps {
    std::vector<std::size_t> start;  // per target pixel: its first entry in `index`/`weight`
    std::vector<int> index;
    std::vector<std::uint32_t> weight;
    std::uint32_t total = 0;

    void Begin() { start.push_back(index.size()); }
    void Add(int source, std::uint32_t w) {
        if (w > 0) {
            index.push_back(source);
            weight.push_back(w);
        }
    }
    [[nodiscard]] std::size_t End(std::size_t target) const {
        return target + 1 < start.size() ? start[target + 1] : index.size();
    }
};

// Area: the axis is laid on a grid of `from` x `to` units, a source pixel `to`
// units long and a target pixel `from` units; each source pixel weighs the units
// it shares with the target pixel.
AxisTaps AreaTaps(int from, int to) {
    AxisTaps taps;
    taps.total = static_cast<std::uint32_t>(from);
    const auto f = static_cast<long long>(from);
    const auto t = static_cast<long long>(to);
    for (long long target = 0; target < t; ++target) {
        taps.Begin();
        const long long begin = target * f;
        const long long end = begin + f;
        for (long long source = begin / t; source * t < end; ++source) {
            const long long overlap = std::min(end, (source + 1) * t) - std::max(begin, source * t);
            taps.Add(static_cast<int>(source), static_cast<std::uint32_t>(overlap));
        }
    }
    return taps;
}

// Bilinear: the target pixel's centre mapped onto the source axis, between the
// centres of two source pixels, with weights in 1/256.
AxisTaps BilinearTaps(int from, int to) {
    constexpr long long kOne = 256;
    AxisTaps taps;
    taps.total = kOne;
    const auto f = static_cast<long long>(from);
    const auto t = static_cast<long long>(to);
    for (long long target = 0; target < t; ++target) {
        taps.Begin();
        // Centre position: ((2 target + 1) from - to) / (2 to) source pixels.
        const long long numerator = (2 * target + 1) * f - t;
        const long long denominator = 2 * t;
        long long first = 0;
        long long fraction = 0;
        if (numerator > 0) {
            first = numerator / denominator;
            fraction = ((numerator % denominator) * kOne + denominator / 2) / denominator;
            if (fraction == kOne) {
                ++first;
                fraction = 0;
            }
        }
        if (first >= f - 1) {
            first = f - 1;
            fraction = 0;
        }
        taps.Add(static_cast<int>(first), static_cast<std::uint32_t>(kOne - fraction));
        taps.Add(static_cast<int>(first + 1), static_cast<std::uint32_t>(fraction));
    }
    return taps;
}

AxisTaps TapsFor(ScaleFilter filter, int from, int to) {
    return filter == ScaleFilter::Bilinear ? BilinearTaps(from, to) : AreaTaps(from, to);
}

// One pixel as alpha and premultiplied red, green and blue.
struct Premultiplied {
    std::uint32_t a = 0;
    std::uint32_t r = 0;
    std::uint32_t g = 0;
    std::uint32_t b = 0;
};

Premultiplied Premultiply(std::uint32_t argb, bool hasAlpha) {
    const std::uint32_t a = hasAlpha ? argb >> 24 : 255u;
    return {a, ((argb >> 16) & 0xFFu) * a, ((argb >> 8) & 0xFFu) * a, (argb & 0xFFu) * a};
}

}  // namespace

PixelImage ScalePicture(const PixelImage& source, int width, int height, ScaleFilter filter) {
    PixelImage out;
    out.width = width;
    out.height = height;
    out.hasAlpha = source.hasAlpha;
    if (filter == ScaleFilter::Nearest) {
        PictureOperations nearest;
        nearest.scale = {ScaleMode::Exact, width, height};
        const SourceMap map = MapSource({source.width, source.height}, nearest);
        out.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (const int row : map.alongY) {
            for (const int column : map.alongX) {
                out.pixels.push_back(source.At(column, row));
            }
        }
        return out;
    }
    const AxisTaps across = TapsFor(filter, source.width, width);
    const AxisTaps down = TapsFor(filter, source.height, height);
    const auto targetWidth = static_cast<std::size_t>(width);

    // Across each source row first: sums of at most 65025 x `from` fit 32 bits.
    std::vector<Premultiplied> rows(targetWidth * static_cast<std::size_t>(source.height));
    for (int y = 0; y < source.height; ++y) {
        const std::uint32_t* line = source.Row(y);
        Premultiplied* target = rows.data() + static_cast<std::size_t>(y) * targetWidth;
        for (std::size_t x = 0; x < targetWidth; ++x) {
            Premultiplied sum;
            for (std::size_t k = across.start[x]; k < across.End(x); ++k) {
                const Premultiplied p = Premultiply(line[across.index[k]], source.hasAlpha);
                const std::uint32_t w = across.weight[k];
                sum.a += p.a * w;
                sum.r += p.r * w;
                sum.g += p.g * w;
                sum.b += p.b * w;
            }
            target[x] = sum;
        }
    }

    // Then down the columns, in 64 bits, and back to straight colours.
    const std::uint64_t total = std::uint64_t{across.total} * down.total;
    out.pixels.resize(targetWidth * static_cast<std::size_t>(height));
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        for (std::size_t x = 0; x < targetWidth; ++x) {
            std::uint64_t a = 0;
            std::uint64_t r = 0;
            std::uint64_t g = 0;
            std::uint64_t b = 0;
            for (std::size_t k = down.start[y]; k < down.End(y); ++k) {
                const Premultiplied& p =
                    rows[static_cast<std::size_t>(down.index[k]) * targetWidth + x];
                const std::uint64_t w = down.weight[k];
                a += p.a * w;
                r += p.r * w;
                g += p.g * w;
                b += p.b * w;
            }
            const auto straight = [a](std::uint64_t channel) {
                return a == 0 ? 0u : static_cast<std::uint32_t>((channel + a / 2) / a);
            };
            const auto alpha = static_cast<std::uint32_t>((a + total / 2) / total);
            out.pixels[y * targetWidth + x] =
                (alpha << 24) | (straight(r) << 16) | (straight(g) << 8) | straight(b);
        }
    }
    return out;
}

}  // namespace pictor::workspace
