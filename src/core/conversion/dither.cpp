#include "core/conversion/dither.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/conversion/grey_codes.h"
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

// What the dithering stores for each code of a channel: the code itself, its
// written 8-bit value, or its part of a 16-bit word.
using Marks = std::vector<std::uint16_t>;

// The mark of every (Bayer cell, 8-bit value) pair of a channel.
using OrderedTable = std::vector<std::array<std::uint16_t, 256>>;

OrderedTable MakeOrderedTable(const Channel& channel, const Marks& marks) {
    OrderedTable table(64);  // indexed by (y mod 8) x 8 + (x mod 8)
    for (std::size_t position = 0; position < 64; ++position) {
        const int cell = kBayer[position / 8][position % 8];
        for (int value = 0; value < 256; ++value) {
            table[position][static_cast<std::size_t>(value)] =
                marks[static_cast<std::size_t>(OrderedCode(value, cell, channel.levels))];
        }
    }
    return table;
}

// What one pixel's value (in sixteenths) decides under Floyd-Steinberg: the
// chosen code, its error and the error's share of 7/16 carried to the next
// pixel of the row (the shares of the row below follow from the error; see
// `Received`).
struct Outcome {
    int error = 0;
    int ahead = 0;
    std::size_t code = 0;
};

Outcome OutcomeOf(const Channel& channel, int v, std::size_t code) {
    const int error = v - channel.intensity[code] * 16;
    return {error, error * 7 / 16, code};
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

// Eight 16-bit lanes; GCC and Clang map them to the target's vector registers.
using Lanes = std::int16_t __attribute__((vector_size(16)));

inline Lanes LoadLanes(const std::int16_t* source) {
    Lanes lanes;
    std::memcpy(&lanes, source, sizeof lanes);
    return lanes;
}

inline void StoreLanes(std::int16_t* target, Lanes lanes) {
    std::memcpy(target, &lanes, sizeof lanes);
}

// 15 for a negative error, 0 otherwise: (e x k + bias) >> 4 is then e x k / 16
// truncated toward zero, as the integer division gives it.
inline int NegativeBias(int e) {
    return e < 0 ? 15 : 0;
}
inline Lanes NegativeBias(Lanes e) {
    return (e >> 15) & 15;
}

// What a pixel receives from the errors e of the row above: 5/16 of the error
// straight above (`above`), 3/16 of the error of the pixel after that one in the
// row above's walk (`afterAbove`: its share for the pixel behind it) and, of
// the error of the pixel before it (`beforeAbove`), what is left once 7/16, 3/16
// and 5/16 are taken. Works on single values and on vector lanes alike.
template <class V>
V Received(V above, V afterAbove, V beforeAbove) {
    const auto sixteenths = [](V times, V e) { return (times + NegativeBias(e)) >> 4; };
    const V below = sixteenths(above * 5, above);
    const V behind = sixteenths(afterAbove * 3, afterAbove);
    const V e = beforeAbove;
    const V rest = e - sixteenths(e * 7, e) - sixteenths(e * 3, e) - sixteenths(e * 5, e);
    return below + behind + rest;
}

// The errors of a row, `lanes` values per pixel, and what the next row
// receives from them. Each row is walked in two steps: `Receive` sums, for every
// value, the shares the previous row's errors left it; then the walk along the
// row (`Diffusion::Step`), where each pixel waits for the 7/16 its predecessor
// carries, stores the row's own errors in their place.
//
// With 16-bit errors the sums run eight at a time in vector code. The table
// errors stay within 2048, so 7 x e fits; a computed error beyond `kLimit` does
// not, and the walk reports it, so that the picture is dithered again with
// 32-bit errors, summed one by one, which hold any error.
template <class Error>
class ErrorRow {
  public:
    static constexpr int kLimit =
        std::is_same_v<Error, std::int16_t> ? 4095 : std::numeric_limits<int>::max();

    ErrorRow(std::size_t width, std::size_t lanes)
        : lanes_(lanes), errors_((width + 2) * lanes, 0), received_(width * lanes, 0) {}

    // Sums what each value of the row about to be walked receives; the previous
    // row was walked in direction `previousDir`.
    void Receive(int previousDir) {
        const Error* e = errors_.data() + lanes_;  // slots before and after stay 0
        Error* target = received_.data();
        const auto count = static_cast<std::ptrdiff_t>(received_.size());
        const std::ptrdiff_t after = previousDir * static_cast<std::ptrdiff_t>(lanes_);
        std::ptrdiff_t i = 0;  // signed: i - after reaches the slots before the row
        if constexpr (std::is_same_v<Error, std::int16_t>) {
            for (; i + 8 <= count; i += 8) {
                StoreLanes(target + i, Received(LoadLanes(e + i), LoadLanes(e + i + after),
                                                LoadLanes(e + i - after)));
            }
        }
        for (; i < count; ++i) {
            target[i] = static_cast<Error>(Received<int>(e[i], e[i + after], e[i - after]));
        }
    }

    [[nodiscard]] const Error* ReceivedValues() const { return received_.data(); }
    [[nodiscard]] Error* Errors() { return errors_.data() + lanes_; }

  private:
    std::size_t lanes_;
    std::vector<Error> errors_;
    std::vector<Error> received_;
};

// Floyd-Steinberg's walk over one channel. The outcomes of all values within
// kMargin of 0..kFullScale are tabulated (errors stay well inside; values
// outside are computed), so the serial part of a pixel, its wait for the share
// its predecessor carries, is one load.
class Diffusion {
  public:
    static constexpr int kMargin = 2048;
    // How far outside the tabulated values a received value may lie and still
    // take the table: the share table has this many more entries on each side,
    // so the address formed from the received value stays inside it.
    static constexpr int kReach = 2048;

    Diffusion(const Channel& channel, const Marks& marks)
        : channel_(channel), marks_(marks), ahead_(kAheadEntries), errorAndMark_(kEntries) {
        // The values of each code run from its first value to the next code's.
        const std::vector<int> first = FirstValueOfEachCode(channel.levels);
        for (std::size_t code = 0; code < first.size(); ++code) {
            const int from = code == 0 ? -kMargin : first[code];
            const int to = code + 1 < first.size() ? first[code + 1] : kFullScale + kMargin + 1;
            for (int v = from; v < to; ++v) {
                const Outcome o = OutcomeOf(channel, v, code);
                const auto i = static_cast<std::size_t>(std::ptrdiff_t{v} + kMargin);
                ahead_[i + kReach] = static_cast<std::int16_t>(o.ahead);
                errorAndMark_[i] = static_cast<std::int32_t>(
                    static_cast<std::uint32_t>(o.error) << 16 | marks[code]);
            }
        }
        aheadAt_ = ahead_.data() + kReach + kMargin;
        errorAndMarkAt_ = errorAndMark_.data() + kMargin;
    }

    // The tables as a walk holds them: a local copy of the pointers, which the
    // compiler keeps in registers (a store of a code byte could otherwise
    // change the object's pointers for all it knows, so they would be loaded
    // again for every pixel).
    class Walk {
      public:
        explicit Walk(const Diffusion& diffusion)
            : ahead_(diffusion.aheadAt_),
              errorAndMark_(diffusion.errorAndMarkAt_),
              diffusion_(&diffusion) {}

        // Quantises a value (in sixteenths) that has received the errors of the
        // row above; adds the share carried from the previous pixel and replaces
        // it by this pixel's. Stores the pixel's error and returns its code's
        // mark in the low 16 bits; the bits above are not cleared, since the
        // caller's narrowing store or final mask drops them anyway. Sets `lost`
        // when the error does not fit `ErrorRow<Error>`.
        template <class Error>
        std::uint32_t Step(std::ptrdiff_t received, std::ptrdiff_t& carried, Error& error,
                           bool& lost) const {
            const std::ptrdiff_t v = received + carried;
            // A value received from 16-bit errors (at most 4095 each) lies within
            // kReach of the table; one from 32-bit errors may lie anywhere.
            constexpr bool kUnbounded = !std::is_same_v<Error, std::int16_t>;
            if (static_cast<std::size_t>(v + kMargin) >= kEntries ||
                (kUnbounded &&
                 static_cast<std::size_t>(received + kReach + kMargin) >= kAheadEntries)) {
                const Outcome o = OutcomeOf(diffusion_->channel_, static_cast<int>(v));
                carried = o.ahead;
                error = static_cast<Error>(o.error);
                lost =
                    lost || o.error > ErrorRow<Error>::kLimit || o.error < -ErrorRow<Error>::kLimit;
                return diffusion_->marks_[o.code];
            }
            // The load the next pixel waits for, addressed by the carried share
            // itself; the barrier keeps the compiler from adding the received
            // value to the share first, which would put an add on the wait.
            const std::int16_t* aheadOfReceived = ahead_ + received;
#if defined(__GNUC__)
            asm("" : "+r"(aheadOfReceived));
#endif
            const std::int32_t entry = errorAndMark_[v];
            carried = aheadOfReceived[carried];
            error = static_cast<Error>(entry >> 16);
            return static_cast<std::uint32_t>(entry);  // the mark, the error above it
        }

      private:
        const std::int16_t* ahead_;
        const std::int32_t* errorAndMark_;
        const Diffusion* diffusion_;
    };

  private:
    static constexpr std::size_t kEntries = kFullScale + 2 * kMargin + 1;
    static constexpr std::size_t kAheadEntries = kEntries + 2 * std::size_t{kReach};

    const Channel& channel_;
    const Marks& marks_;
    // Per value: the share carried ahead (with kReach unused entries on both
    // sides), and the error (high half) with the chosen code's mark (low half).
    std::vector<std::int16_t> ahead_;
    std::vector<std::int32_t> errorAndMark_;
    const std::int16_t* aheadAt_ = nullptr;
    const std::int32_t* errorAndMarkAt_ = nullptr;
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

// Lowest grey the encoder maps to each code; a code no grey reaches borrows the
// nearest reachable code's (the lower one first).
std::vector<std::uint8_t> GreyOfEachCode(const settings::ModelProfile& profile) {
    const GreyCodes codes = MakeGreyCodes(profile);
    const auto lowest = [&codes](int k) { return codes.lowestGrey[static_cast<std::size_t>(k)]; };
    std::vector<std::uint8_t> result(static_cast<std::size_t>(codes.count), 0);
    for (int k = 0; k < codes.count; ++k) {
        for (int distance = 0; distance < codes.count; ++distance) {
            const int below = k - distance;
            const int above = k + distance;
            if (below >= 0 && lowest(below) >= 0) {
                result[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(lowest(below));
                break;
            }
            if (above < codes.count && lowest(above) >= 0) {
                result[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(lowest(above));
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

inline std::uint32_t ChannelSum(std::uint32_t p) {
    return ((p >> 16) & 0xFFu) + ((p >> 8) & 0xFFu) + (p & 0xFFu);
}

inline std::uint32_t GreyOf(std::uint32_t p) {
    return ChannelSum(p) / 3;
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

// The grey of each channel sum R + G + B, in sixteenths.
using GreyBySum = std::array<std::uint32_t, 3 * 255 + 1>;

GreyBySum MakeGreyBySum() {
    GreyBySum table{};
    for (std::uint32_t sum = 0; sum < table.size(); ++sum) {
        table[sum] = sum / 3 * 16;
    }
    return table;
}

// Runs `walkRow(dir, y, received, left, lost)` over the rows of a picture, with
// an error row of `lanes` values per pixel: first with 16-bit errors and, when
// one did not fit (`lost`), once more with 32-bit errors.
template <class WalkRow>
void DiffuseRows(std::size_t width, std::size_t lanes, int height, WalkRow walkRow) {
    const auto diffuse = [&](auto error) {
        using Error = decltype(error);
        ErrorRow<Error> errors(width, lanes);
        bool lost = false;
        Serpentine(height, [&](auto dir, int y) {
            if (lost) {
                return;  // the picture is dithered again with 32-bit errors
            }
            errors.Receive(-decltype(dir)::value);
            walkRow(dir, y, errors.ReceivedValues(), errors.Errors(), lost);
        });
        return !lost;
    };
    if (!diffuse(std::int16_t{})) {
        diffuse(std::int32_t{});
    }
}

// Dithers the grey of every pixel of `source` and stores `store(mark)` of its
// code; the mark is in the low 16 bits of the value `store` gets.
template <class Element, class Store>
void DitherGrey(const std::uint32_t* source, int width, int height, const Channel& grey,
                const Marks& marks, DitherMode mode, Element* out, Store store) {
    const auto stride = static_cast<std::size_t>(width);
    const std::size_t count = stride * static_cast<std::size_t>(height);
    if (mode == DitherMode::Ordered) {
        const OrderedTable table = MakeOrderedTable(grey, marks);
        constexpr std::size_t kSums = 3 * 255 + 1;
        if (count < 64 * kSums) {
            // A small picture: cheaper than making the table below.
            Scan(width, height, [&](int x, int y, std::size_t i) {
                const auto cell = static_cast<std::size_t>(((y & 7) << 3) | (x & 7));
                out[i] = store(table[cell][GreyOf(source[i])]);
            });
            return;
        }
        // The mark of every (cell, R + G + B): no division per pixel. A row uses 8
        // of the 64 cells, so its part of the table stays cached. Grey marks are
        // codes or 8-bit greys, so a byte holds each.
        std::vector<std::uint8_t> bySum(64 * kSums);
        for (std::size_t cell = 0; cell < 64; ++cell) {
            for (std::size_t sum = 0; sum < kSums; ++sum) {
                bySum[cell * kSums + sum] = static_cast<std::uint8_t>(table[cell][sum / 3]);
            }
        }
        for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
            const std::uint8_t* rowCells = bySum.data() + (y & 7) * 8 * kSums;
            const std::uint32_t* in = source + y * stride;
            Element* row = out + y * stride;
            for (std::size_t x = 0; x < stride; ++x) {
                row[x] = store(rowCells[(x & 7) * kSums + ChannelSum(in[x])]);
            }
        }
        return;
    }
    const Diffusion diffusion(grey, marks);
    const GreyBySum greySixteenths = MakeGreyBySum();
    DiffuseRows(
        stride, 1, height, [&](auto dir, int y, const auto* received, auto* left, bool& lost) {
            constexpr int kDir = decltype(dir)::value;
            const std::uint32_t* in = source + static_cast<std::size_t>(y) * stride;
            Element* row = out + static_cast<std::size_t>(y) * stride;
            const Diffusion::Walk walk(diffusion);
            std::ptrdiff_t carried = 0;
            const auto w = static_cast<std::ptrdiff_t>(width);
            std::ptrdiff_t x = kDir > 0 ? 0 : w - 1;
            for (std::ptrdiff_t n = 0; n < w; ++n, x += kDir) {
                const std::ptrdiff_t value =
                    static_cast<std::ptrdiff_t>(greySixteenths[ChannelSum(in[x])]) + received[x];
                row[x] = store(walk.Step(value, carried, left[x], lost));
            }
        });
}

// Dithers each 16-bit channel of every pixel and stores `combine(red, green,
// blue)` of the three codes' marks, each in the low 16 bits of its value.
template <class Element, class Combine>
void DitherColour(const std::uint32_t* source, int width, int height,
                  const std::array<Channel, 3>& channels, const std::array<Marks, 3>& marks,
                  DitherMode mode, Element* out, Combine combine) {
    const auto stride = static_cast<std::size_t>(width);
    if (mode == DitherMode::Ordered) {
        const std::array<OrderedTable, 3> tables = {MakeOrderedTable(channels[0], marks[0]),
                                                    MakeOrderedTable(channels[1], marks[1]),
                                                    MakeOrderedTable(channels[2], marks[2])};
        Scan(width, height, [&](int x, int y, std::size_t i) {
            const auto cell = static_cast<std::size_t>(((y & 7) << 3) | (x & 7));
            const std::uint32_t p = source[i];
            out[i] = combine(tables[0][cell][(p >> 16) & 0xFFu], tables[1][cell][(p >> 8) & 0xFFu],
                             tables[2][cell][p & 0xFFu]);
        });
        return;
    }
    const Diffusion red(channels[0], marks[0]);
    const Diffusion green(channels[1], marks[1]);
    const Diffusion blue(channels[2], marks[2]);
    // Lanes red, green and blue per pixel.
    DiffuseRows(
        stride, 3, height, [&](auto dir, int y, const auto* received, auto* left, bool& lost) {
            constexpr int kDir = decltype(dir)::value;
            using Error = std::remove_pointer_t<decltype(left)>;
            const std::uint32_t* in = source + static_cast<std::size_t>(y) * stride;
            Element* row = out + static_cast<std::size_t>(y) * stride;
            const Diffusion::Walk redWalk(red);
            const Diffusion::Walk greenWalk(green);
            const Diffusion::Walk blueWalk(blue);
            // The three channels are independent: interleaved, their waits overlap.
            std::ptrdiff_t r = 0;
            std::ptrdiff_t g = 0;
            std::ptrdiff_t b = 0;
            const auto w = static_cast<std::ptrdiff_t>(width);
            std::ptrdiff_t x = kDir > 0 ? 0 : w - 1;
            for (std::ptrdiff_t n = 0; n < w; ++n, x += kDir) {
                const std::uint32_t p = in[x];
                const Error* has = received + 3 * x;
                Error* leaves = left + 3 * x;
                const auto value = [](std::uint32_t sixteenths, Error from) {
                    return static_cast<std::ptrdiff_t>(sixteenths) + from;
                };
                row[x] =
                    combine(redWalk.Step(value((p >> 12) & 0xFF0u, has[0]), r, leaves[0], lost),
                            greenWalk.Step(value((p >> 4) & 0xFF0u, has[1]), g, leaves[1], lost),
                            blueWalk.Step(value((p << 4) & 0xFF0u, has[2]), b, leaves[2], lost));
            }
        });
}

std::array<Channel, 3> ColourChannels(const settings::ChannelLayout& layout) {
    return {ColourChannel(std::clamp(layout.redBits, 1, 8)),
            ColourChannel(std::clamp(layout.greenBits, 1, 8)),
            ColourChannel(std::clamp(layout.blueBits, 1, 8))};
}

Marks WrittenValues(const Channel& channel) {
    return {channel.output.begin(), channel.output.end()};
}

bool HasConsistentSize(const PixelImage& image) {
    return image.width >= 0 && image.height >= 0 &&
           image.pixels.size() ==
               static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

template <class Out>
bool EncodeDitheredInto(const PixelImage& image, const settings::ModelProfile& profile, Out& out) {
    if (!Dithers(profile) || !HasConsistentSize(image)) {
        return EncodePicture(image, profile, out);
    }
    QuantisedPicture quantised;
    QuantiseForEncoding(image, profile, quantised);
    return EncodeQuantised(quantised, profile, out);
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

bool QuantiseForEncoding(const PixelImage& image, const settings::ModelProfile& profile,
                         QuantisedPicture& out) {
    if (!Dithers(profile) || !HasConsistentSize(image)) {
        return false;
    }
    out.width = image.width;
    out.height = image.height;
    out.codes.clear();
    out.words.clear();
    const std::size_t count = image.pixels.size();
    if (count == 0) {
        return true;
    }
    std::vector<std::uint32_t> blended;
    const std::uint32_t* source = OpaquePixels(image, profile.bkColor, blended);
    const DitherMode mode = DitherModeOf(profile);
    if (profile.colorDepth != 16) {
        const Channel grey = GreyChannel(profile);
        Marks codes(static_cast<std::size_t>(grey.levels));
        std::iota(codes.begin(), codes.end(), std::uint16_t{0});
        out.codes.resize(count);
        DitherGrey(source, image.width, image.height, grey, codes, mode, out.codes.data(),
                   [](std::uint32_t code) { return static_cast<std::uint8_t>(code); });
        return true;
    }
    const settings::ChannelLayout& layout = profile.channelLayout;
    const std::array<Channel, 3> channels = ColourChannels(layout);
    // Each code's part of the word (the encoder packs channels independently),
    // kept so that the word's bytes lie in memory high byte first.
    const auto inStoredOrder = [](std::uint16_t word) {
        if constexpr (std::endian::native == std::endian::little) {
            return static_cast<std::uint16_t>((word >> 8) | (word << 8));
        }
        return word;
    };
    std::array<Marks, 3> parts;
    for (std::size_t c = 0; c < 3; ++c) {
        for (const std::uint8_t value : channels[c].output) {
            parts[c].push_back(
                inStoredOrder(ColourWord(std::uint32_t{value} << (16 - 8 * c), layout)));
        }
    }
    out.words.resize(count);
    DitherColour(source, image.width, image.height, channels, parts, mode, out.words.data(),
                 [](std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
                     return std::bit_cast<QuantisedPicture::WordBytes>(
                         static_cast<std::uint16_t>(red | green | blue));
                 });
    return true;
}

const PixelImage& DitherForEncoding(const PixelImage& image, const settings::ModelProfile& profile,
                                    PixelImage& storage) {
    if (!Dithers(profile) || !HasConsistentSize(image)) {
        return image;  // the encoder refuses an inconsistent picture itself
    }
    storage.width = image.width;
    storage.height = image.height;
    storage.hasAlpha = false;
    storage.pixels.resize(image.pixels.size());
    if (image.pixels.empty()) {
        return storage;
    }
    // Not in place: a walk may read the picture a second time.
    std::vector<std::uint32_t> blended;
    const std::uint32_t* source = OpaquePixels(image, profile.bkColor, blended);
    std::uint32_t* out = storage.pixels.data();
    const DitherMode mode = DitherModeOf(profile);
    if (profile.colorDepth != 16) {
        const Channel grey = GreyChannel(profile);
        DitherGrey(source, image.width, image.height, grey, WrittenValues(grey), mode, out,
                   [](std::uint32_t value) { return GreyPixel(value & 0xFFu); });
        return storage;
    }
    const std::array<Channel, 3> channels = ColourChannels(profile.channelLayout);
    DitherColour(
        source, image.width, image.height, channels,
        {WrittenValues(channels[0]), WrittenValues(channels[1]), WrittenValues(channels[2])}, mode,
        out, [](std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
            return 0xFF000000u | ((red & 0xFFu) << 16) | ((green & 0xFFu) << 8) | (blue & 0xFFu);
        });
    return storage;
}

bool EncodeDithered(const PixelImage& image, const settings::ModelProfile& profile,
                    std::vector<std::uint8_t>& out) {
    return EncodeDitheredInto(image, profile, out);
}

bool EncodeDithered(const PixelImage& image, const settings::ModelProfile& profile,
                    std::string& out) {
    return EncodeDitheredInto(image, profile, out);
}

}  // namespace pictor::conversion
