#include "core/conversion/pixel_encoder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <optional>
#include <type_traits>
#include <utility>

#include "core/common/out_of_memory.h"
#include "core/conversion/grey_codes.h"

namespace pictor::conversion {

namespace {

using workspace::PixelImage;

bool IsEncodableDepth(int depth) {
    return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 || depth == 24;
}

bool HasConsistentSize(const PixelImage& image) {
    return image.width >= 0 && image.height >= 0 &&
           image.pixels.size() ==
               static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

// Output of the binary form: bytes into a pre-sized buffer.
struct BinaryOut {
    std::uint8_t* next;
    void Byte(std::uint8_t value) { *next++ = value; }
    void LineEnd() {}
};

// Output of the C source form: "N," per byte into a pre-sized buffer.
struct TextOut {
    char* next;
    void Byte(std::uint8_t value) {
        next = std::to_chars(next, next + 3, value).ptr;
        *next++ = ',';
    }
    void LineEnd() {
        *next++ = '\r';
        *next++ = '\n';
    }
};

// Grey code of every channel sum R + G + B (0..765): the code of its grey value
// (sum / 3).
using LevelTable = std::array<std::uint8_t, 766>;

LevelTable MakeLevelTable(const settings::ModelProfile& profile) {
    const GreyCodes codes = MakeGreyCodes(profile);
    LevelTable table{};
    for (std::size_t sum = 0; sum < table.size(); ++sum) {
        table[sum] = codes.codeOfGrey[sum / 3];
    }
    return table;
}

inline unsigned ChannelSum(std::uint32_t argb) {
    return ((argb >> 16) & 0xFFu) + ((argb >> 8) & 0xFFu) + (argb & 0xFFu);
}

// The grey code of a pixel: the level of its channel sum.
struct PixelLevel {
    const LevelTable& levels;
    unsigned operator()(std::uint32_t argb) const { return levels[ChannelSum(argb)]; }
};

// A code given as it is (a quantised picture).
struct GivenCode {
    unsigned operator()(std::uint8_t code) const { return code; }
};

// The byte of `8 / Depth` codes read `step` elements apart, the first in the low bits.
template <int Depth, class Element, class CodeOf, std::size_t... J>
std::uint8_t GatherByte(const Element* source, std::size_t step, CodeOf codeOf,
                        std::index_sequence<J...> /*codes*/) {
    return static_cast<std::uint8_t>(((codeOf(source[J * step]) << (Depth * J)) | ...));
}

// Packs grey codes of `Depth` bits; `codeOf` turns an element of `pixels` into
// its code. The depth is a constant, so a byte's codes are gathered without a loop.
template <int Depth, class Out, class Element, class CodeOf>
void EncodeGreyAt(const Element* pixels, int width, int height,
                  const settings::ModelProfile& profile, Out& out, CodeOf codeOf) {
    constexpr int perByte = 8 / Depth;
    using Codes = std::make_index_sequence<perByte>;
    const int band = BandSize(profile);
    const auto stride = static_cast<std::size_t>(width);

    if (profile.convertDirection == 0) {
        // Bands of rows; a byte holds horizontal neighbours, leftmost in the low bits.
        const int groups = width / perByte;
        for (int firstRow = 0; firstRow < height; firstRow += std::min(band, height - firstRow)) {
            const int endRow = firstRow + std::min(band, height - firstRow);
            for (int group = 0; group < groups; ++group) {
                const std::size_t column = static_cast<std::size_t>(group) * perByte;
                for (int row = firstRow; row < endRow; ++row) {
                    const Element* source =
                        pixels + static_cast<std::size_t>(row) * stride + column;
                    out.Byte(GatherByte<Depth>(source, 1, codeOf, Codes{}));
                }
                out.LineEnd();
            }
        }
    } else {
        // Bands of columns; a byte holds vertical neighbours, topmost in the low bits.
        const int groups = height / perByte;
        for (int firstColumn = 0; firstColumn < width;
             firstColumn += std::min(band, width - firstColumn)) {
            const int endColumn = firstColumn + std::min(band, width - firstColumn);
            for (int group = 0; group < groups; ++group) {
                const Element* groupTop =
                    pixels + static_cast<std::size_t>(group) * perByte * stride;
                for (int column = firstColumn; column < endColumn; ++column) {
                    out.Byte(GatherByte<Depth>(groupTop + column, stride, codeOf, Codes{}));
                }
                out.LineEnd();
            }
        }
    }
}

template <class Out, class Element, class CodeOf>
void EncodeGrey(const Element* pixels, int width, int height, const settings::ModelProfile& profile,
                Out& out, CodeOf codeOf) {
    switch (profile.colorDepth) {
        case 1:
            EncodeGreyAt<1>(pixels, width, height, profile, out, codeOf);
            break;
        case 2:
            EncodeGreyAt<2>(pixels, width, height, profile, out, codeOf);
            break;
        case 4:
            EncodeGreyAt<4>(pixels, width, height, profile, out, codeOf);
            break;
        default:
            EncodeGreyAt<8>(pixels, width, height, profile, out, codeOf);
            break;
    }
}

// The 16-bit word of a pixel: each channel cut to its width and shifted into place.
struct WordPacker {
    unsigned redDrop, greenDrop, blueDrop;
    unsigned redShift, greenShift, blueShift;

    explicit WordPacker(const settings::ChannelLayout& layout)
        : redDrop(Drop(layout.redBits)),
          greenDrop(Drop(layout.greenBits)),
          blueDrop(Drop(layout.blueBits)),
          redShift(Shift(layout.redShift)),
          greenShift(Shift(layout.greenShift)),
          blueShift(Shift(layout.blueShift)) {}

    // Widths outside 0..8 and shifts outside 0..16 cannot come from a completed
    // profile; clamping keeps a corrupt layout from shifting out of range.
    static unsigned Drop(int bits) { return static_cast<unsigned>(8 - std::clamp(bits, 0, 8)); }
    static unsigned Shift(int shift) { return static_cast<unsigned>(std::clamp(shift, 0, 16)); }

    [[nodiscard]] std::uint32_t Pack(std::uint32_t argb) const {
        const std::uint32_t red = (argb >> 16) & 0xFFu;
        const std::uint32_t green = (argb >> 8) & 0xFFu;
        const std::uint32_t blue = argb & 0xFFu;
        return (((red >> redDrop) << redShift) | ((green >> greenDrop) << greenShift) |
                ((blue >> blueDrop) << blueShift)) &
               0xFFFFu;
    }
};

template <class Out>
inline void EmitWord(std::uint32_t word, Out& out) {
    out.Byte(static_cast<std::uint8_t>(word >> 8));
    out.Byte(static_cast<std::uint8_t>(word));
}

template <class Out>
inline void EmitColour16(std::uint32_t argb, const WordPacker& packer, Out& out) {
    EmitWord(packer.Pack(argb), out);
}

template <class Out>
inline void EmitColour24(std::uint32_t argb, Out& out) {
    out.Byte(static_cast<std::uint8_t>(argb >> 16));
    out.Byte(static_cast<std::uint8_t>(argb >> 8));
    out.Byte(static_cast<std::uint8_t>(argb));
}

// Colour depths: row after row (direction 0) or column after column (direction 1);
// bands follow one another along the same order, so the band size has no effect.
template <class Out, class Element, class Emit>
void ScanColour(const Element* pixels, int width, int height, int direction, Out& out, Emit emit) {
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (direction == 0) {
        for (std::size_t i = 0; i < count; ++i) {
            emit(pixels[i], out);
        }
        return;
    }
    const auto stride = static_cast<std::size_t>(width);
    for (int column = 0; column < width; ++column) {
        const Element* source = pixels + column;
        for (int row = 0; row < height; ++row) {
            emit(source[static_cast<std::size_t>(row) * stride], out);
        }
    }
}

template <class Out>
void EncodeInto(const std::uint32_t* pixels, int width, int height,
                const settings::ModelProfile& profile, Out& out) {
    // An empty picture has no pixel storage at all (a null pointer); no scan may
    // form an address from it.
    if (width <= 0 || height <= 0) {
        return;
    }
    switch (profile.colorDepth) {
        case 16: {
            const WordPacker packer(profile.channelLayout);
            ScanColour(pixels, width, height, profile.convertDirection, out,
                       [&packer](std::uint32_t argb, Out& o) { EmitColour16(argb, packer, o); });
            break;
        }
        case 24:
            ScanColour(pixels, width, height, profile.convertDirection, out,
                       [](std::uint32_t argb, Out& o) { EmitColour24(argb, o); });
            break;
        default: {
            const LevelTable levels = MakeLevelTable(profile);
            EncodeGrey(pixels, width, height, profile, out, PixelLevel{levels});
            break;
        }
    }
}

// Whether the profile's scan visits pixels in row order, so that rows can be
// encoded one after the other.
bool ScansRowByRow(const settings::ModelProfile& profile) {
    return (profile.colorDepth == 16 || profile.colorDepth == 24) && profile.convertDirection == 0;
}

workspace::PixelImage DecodeWhole(const workspace::PictureRows& rows) {
    PixelImage image;
    image.width = rows.Width();
    image.height = rows.Height();
    const auto width = static_cast<std::size_t>(image.width);
    image.pixels.resize(width * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        rows.DecodeRow(y, image.pixels.data() + static_cast<std::size_t>(y) * width);
    }
    return image;
}

template <unsigned RedShift, unsigned BlueShift>
void PackBgr24Rows565(const workspace::PictureRows& rows, BinaryOut& out) {
    const auto width = static_cast<std::size_t>(rows.Width());
    for (int y = 0; y < rows.Height(); ++y) {
        const std::uint8_t* source = rows.Bgr24Row(y);
        std::uint8_t* target = out.next;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* pixel = source + 3 * x;
            const unsigned word = ((static_cast<unsigned>(pixel[2]) >> 3) << RedShift) |
                                  ((static_cast<unsigned>(pixel[1]) >> 2) << 5) |
                                  ((static_cast<unsigned>(pixel[0]) >> 3) << BlueShift);
            target[2 * x] = static_cast<std::uint8_t>(word >> 8);
            target[2 * x + 1] = static_cast<std::uint8_t>(word);
        }
        out.next = target + 2 * width;
    }
}

// Rows picked from a 24-bit bitmap through a map (rotated, flipped, cropped,
// nearest-scaled) are packed as they are picked. A quarter turn takes each
// target column from one file row: the target rows are done 64 at a time, so
// that each file row is read in runs of nearby bytes. Inverted colours invert
// every bit of the 5-6-5 word.
template <unsigned RedShift, unsigned BlueShift>
void PackGathered565(const workspace::PictureRows& rows,
                     const workspace::PictureRows::GatherPlan& plan, BinaryOut& out) {
    const workspace::SourceMap& map = *plan.map;
    const auto width = static_cast<std::size_t>(map.width);
    const unsigned flip = plan.invert ? 0xFFFFu : 0u;
    const auto store = [flip](std::uint8_t* target, const std::uint8_t* pixel) {
        const unsigned word = (((static_cast<unsigned>(pixel[2]) >> 3) << RedShift) |
                               ((static_cast<unsigned>(pixel[1]) >> 2) << 5) |
                               ((static_cast<unsigned>(pixel[0]) >> 3) << BlueShift)) ^
                              flip;
        target[0] = static_cast<std::uint8_t>(word >> 8);
        target[1] = static_cast<std::uint8_t>(word);
    };
    std::uint8_t* const start = out.next;
    if (!map.transposed) {
        for (std::size_t y = 0; y < static_cast<std::size_t>(map.height); ++y) {
            const std::uint8_t* line = rows.FileRow(map.alongY[y]);
            std::uint8_t* target = start + 2 * width * y;
            for (std::size_t x = 0; x < width; ++x) {
                store(target + 2 * x, line + plan.columnOffsets[x]);
            }
        }
    } else {
        constexpr int kBlock = 64;
        std::array<std::size_t, kBlock> columns{};
        for (int first = 0; first < map.height; first += kBlock) {
            const int count = std::min(kBlock, map.height - first);
            for (int r = 0; r < count; ++r) {
                columns[static_cast<std::size_t>(r)] =
                    3 * static_cast<std::size_t>(map.alongY[static_cast<std::size_t>(first + r)]);
            }
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint8_t* line = plan.columnLines[x];
                std::uint8_t* target = start + 2 * (static_cast<std::size_t>(first) * width + x);
                for (int r = 0; r < count; ++r, target += 2 * width) {
                    store(target, line + columns[static_cast<std::size_t>(r)]);
                }
            }
        }
    }
    out.next = start + 2 * width * static_cast<std::size_t>(map.height);
}

// A 24-bit bitmap's stored rows go to the output without an intermediate word
// per pixel: the hot path of the command-line conversion.
template <class Out>
void EncodeBgr24Rows(const workspace::PictureRows& rows, const settings::ModelProfile& profile,
                     Out& out) {
    const auto width = static_cast<std::size_t>(rows.Width());
    if (profile.colorDepth == 24) {
        for (int y = 0; y < rows.Height(); ++y) {
            const std::uint8_t* source = rows.Bgr24Row(y);
            for (std::size_t x = 0; x < width; ++x, source += 3) {
                out.Byte(source[2]);
                out.Byte(source[1]);
                out.Byte(source[0]);
            }
        }
        return;
    }
    if constexpr (std::is_same_v<Out, BinaryOut>) {
        // The two common 5-6-5 layouts with constant shifts, which the compiler can
        // turn into vector code.
        const settings::ChannelLayout& layout = profile.channelLayout;
        const bool common = layout.redBits == 5 && layout.greenBits == 6 && layout.blueBits == 5 &&
                            layout.greenShift == 5;
        const std::optional<workspace::PictureRows::GatherPlan> plan = rows.Plan();
        if (common && layout.redShift == 11 && layout.blueShift == 0) {
            plan ? PackGathered565<11, 0>(rows, *plan, out) : PackBgr24Rows565<11, 0>(rows, out);
            return;
        }
        if (common && layout.redShift == 0 && layout.blueShift == 11) {
            plan ? PackGathered565<0, 11>(rows, *plan, out) : PackBgr24Rows565<0, 11>(rows, out);
            return;
        }
    }
    const WordPacker packer(profile.channelLayout);
    for (int y = 0; y < rows.Height(); ++y) {
        const std::uint8_t* source = rows.Bgr24Row(y);
        for (std::size_t x = 0; x < width; ++x, source += 3) {
            const std::uint32_t argb = (static_cast<std::uint32_t>(source[2]) << 16) |
                                       (static_cast<std::uint32_t>(source[1]) << 8) | source[0];
            EmitColour16(argb, packer, out);
        }
    }
}

template <class Out>
void EncodeRowByRow(const workspace::PictureRows& rows, const settings::ModelProfile& profile,
                    Out& out) {
    if (rows.Height() > 0 && rows.IsBgr24()) {
        EncodeBgr24Rows(rows, profile, out);
        return;
    }
    std::vector<std::uint32_t> row(static_cast<std::size_t>(std::max(rows.Width(), 0)));
    for (int y = 0; y < rows.Height(); ++y) {
        rows.DecodeRow(y, row.data());
        EncodeInto(row.data(), rows.Width(), 1, profile, out);
    }
}

}  // namespace

int BandSize(const settings::ModelProfile& profile) {
    return profile.blockColNum > 0 ? profile.blockColNum : 65535;
}

std::uint64_t EncodedByteCount(const PixelImage& image, const settings::ModelProfile& profile) {
    return EncodedByteCount(image.width, image.height, profile);
}

std::uint64_t EncodedByteCount(int pictureWidth, int pictureHeight,
                               const settings::ModelProfile& profile) {
    const int depth = profile.colorDepth;
    if (!IsEncodableDepth(depth) || pictureWidth <= 0 || pictureHeight <= 0) {
        return 0;
    }
    const auto width = static_cast<std::uint64_t>(pictureWidth);
    const auto height = static_cast<std::uint64_t>(pictureHeight);
    if (depth == 16) {
        return 2 * width * height;
    }
    if (depth == 24) {
        return 3 * width * height;
    }
    const auto perByte = static_cast<std::uint64_t>(8 / depth);
    return profile.convertDirection == 0 ? (width / perByte) * height : (height / perByte) * width;
}

namespace {

bool EncodeImageBytes(const PixelImage& image, const settings::ModelProfile& profile,
                      std::vector<std::uint8_t>& out) {
    if (!IsEncodableDepth(profile.colorDepth) || !HasConsistentSize(image)) {
        return false;
    }
    std::vector<std::uint32_t> blended;
    const std::uint32_t* pixels = OpaquePixels(image, profile.bkColor, blended);
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(EncodedByteCount(image, profile)));
    BinaryOut sink{out.data() + start};
    EncodeInto(pixels, image.width, image.height, profile, sink);
    return true;
}

bool EncodeImageText(const PixelImage& image, const settings::ModelProfile& profile,
                     std::string& out) {
    if (!IsEncodableDepth(profile.colorDepth) || !HasConsistentSize(image)) {
        return false;
    }
    std::vector<std::uint32_t> blended;
    const std::uint32_t* pixels = OpaquePixels(image, profile.bkColor, blended);
    // At most "255," per byte, and no more group line ends than bytes.
    const auto bytes = static_cast<std::size_t>(EncodedByteCount(image, profile));
    const std::size_t start = out.size();
    out.resize(start + kLineEnd.size() + bytes * (4 + kLineEnd.size()));
    TextOut sink{out.data() + start};
    sink.LineEnd();
    EncodeInto(pixels, image.width, image.height, profile, sink);
    out.resize(static_cast<std::size_t>(sink.next - out.data()));
    return true;
}

bool EncodeRowsBytes(const workspace::PictureRows& rows, const settings::ModelProfile& profile,
                     std::vector<std::uint8_t>& out) {
    if (const PixelImage* whole = rows.Decoded()) {
        return EncodePicture(*whole, profile, out);
    }
    if (!ScansRowByRow(profile)) {
        return EncodePicture(DecodeWhole(rows), profile, out);
    }
    const std::size_t start = out.size();
    out.resize(start +
               static_cast<std::size_t>(EncodedByteCount(rows.Width(), rows.Height(), profile)));
    BinaryOut sink{out.data() + start};
    EncodeRowByRow(rows, profile, sink);
    return true;
}

bool EncodeRowsText(const workspace::PictureRows& rows, const settings::ModelProfile& profile,
                    std::string& out) {
    if (const PixelImage* whole = rows.Decoded()) {
        return EncodePicture(*whole, profile, out);
    }
    if (!ScansRowByRow(profile)) {
        return EncodePicture(DecodeWhole(rows), profile, out);
    }
    const auto bytes =
        static_cast<std::size_t>(EncodedByteCount(rows.Width(), rows.Height(), profile));
    const std::size_t start = out.size();
    out.resize(start + kLineEnd.size() + bytes * 4);  // colour depths write no line ends
    TextOut sink{out.data() + start};
    sink.LineEnd();
    EncodeRowByRow(rows, profile, sink);
    out.resize(static_cast<std::size_t>(sink.next - out.data()));
    return true;
}

bool HasConsistentPlane(const QuantisedPicture& picture, int depth) {
    if (picture.width < 0 || picture.height < 0) {
        return false;
    }
    const std::size_t count =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (depth == 16) {
        return picture.words.size() == count;
    }
    return (depth == 1 || depth == 2 || depth == 4 || depth == 8) && picture.codes.size() == count;
}

template <class Out>
void EncodeQuantisedInto(const QuantisedPicture& picture, const settings::ModelProfile& profile,
                         Out& out) {
    if (picture.width <= 0 || picture.height <= 0) {
        return;
    }
    if (profile.colorDepth == 16) {
        if constexpr (std::is_same_v<Out, BinaryOut>) {
            if (profile.convertDirection == 0) {
                // Row order is storage order, and the bytes are in place.
                const std::size_t bytes =
                    picture.words.size() * sizeof(QuantisedPicture::WordBytes);
                std::memcpy(out.next, picture.words.data(), bytes);
                out.next += bytes;
                return;
            }
        }
        ScanColour(picture.words.data(), picture.width, picture.height, profile.convertDirection,
                   out, [](const QuantisedPicture::WordBytes& word, Out& o) {
                       o.Byte(word[0]);
                       o.Byte(word[1]);
                   });
        return;
    }
    EncodeGrey(picture.codes.data(), picture.width, picture.height, profile, out, GivenCode{});
}

bool EncodeCodesBytes(const QuantisedPicture& picture, const settings::ModelProfile& profile,
                      std::vector<std::uint8_t>& out) {
    if (!HasConsistentPlane(picture, profile.colorDepth)) {
        return false;
    }
    const std::size_t start = out.size();
    out.resize(start +
               static_cast<std::size_t>(EncodedByteCount(picture.width, picture.height, profile)));
    BinaryOut sink{out.data() + start};
    EncodeQuantisedInto(picture, profile, sink);
    return true;
}

bool EncodeCodesText(const QuantisedPicture& picture, const settings::ModelProfile& profile,
                     std::string& out) {
    if (!HasConsistentPlane(picture, profile.colorDepth)) {
        return false;
    }
    const auto bytes =
        static_cast<std::size_t>(EncodedByteCount(picture.width, picture.height, profile));
    const std::size_t start = out.size();
    out.resize(start + kLineEnd.size() + bytes * (4 + kLineEnd.size()));
    TextOut sink{out.data() + start};
    sink.LineEnd();
    EncodeQuantisedInto(picture, profile, sink);
    out.resize(static_cast<std::size_t>(sink.next - out.data()));
    return true;
}

}  // namespace

bool EncodePicture(const PixelImage& image, const settings::ModelProfile& profile,
                   std::vector<std::uint8_t>& out) {
    return RefuseWhenOutOfMemory([&] { return EncodeImageBytes(image, profile, out); });
}

bool EncodePicture(const PixelImage& image, const settings::ModelProfile& profile,
                   std::string& out) {
    return RefuseWhenOutOfMemory([&] { return EncodeImageText(image, profile, out); });
}

bool EncodePicture(const workspace::PictureRows& rows, const settings::ModelProfile& profile,
                   std::vector<std::uint8_t>& out) {
    return RefuseWhenOutOfMemory([&] { return EncodeRowsBytes(rows, profile, out); });
}

bool EncodePicture(const workspace::PictureRows& rows, const settings::ModelProfile& profile,
                   std::string& out) {
    return RefuseWhenOutOfMemory([&] { return EncodeRowsText(rows, profile, out); });
}

bool EncodeQuantised(const QuantisedPicture& picture, const settings::ModelProfile& profile,
                     std::vector<std::uint8_t>& out) {
    return RefuseWhenOutOfMemory([&] { return EncodeCodesBytes(picture, profile, out); });
}

bool EncodeQuantised(const QuantisedPicture& picture, const settings::ModelProfile& profile,
                     std::string& out) {
    return RefuseWhenOutOfMemory([&] { return EncodeCodesText(picture, profile, out); });
}

std::uint16_t ColourWord(std::uint32_t argb, const settings::ChannelLayout& layout) {
    return static_cast<std::uint16_t>(WordPacker(layout).Pack(argb));
}

const std::uint32_t* OpaquePixels(const PixelImage& image, std::uint32_t bkColor,
                                  std::vector<std::uint32_t>& blended) {
    if (!image.hasAlpha) {
        return image.pixels.data();
    }
    blended.resize(image.pixels.size());
    std::transform(image.pixels.begin(), image.pixels.end(), blended.begin(),
                   [bkColor](std::uint32_t argb) { return BlendOverBackground(argb, bkColor); });
    return blended.data();
}

std::uint32_t BlendOverBackground(std::uint32_t argb, std::uint32_t bkColor) {
    const std::uint32_t alpha = argb >> 24;
    const auto blend = [alpha](std::uint32_t source, std::uint32_t background) {
        return (source * alpha + background * (255 - alpha) + 127) / 255;
    };
    const std::uint32_t red = blend((argb >> 16) & 0xFFu, bkColor & 0xFFu);
    const std::uint32_t green = blend((argb >> 8) & 0xFFu, (bkColor >> 8) & 0xFFu);
    const std::uint32_t blue = blend(argb & 0xFFu, (bkColor >> 16) & 0xFFu);
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

}  // namespace pictor::conversion
