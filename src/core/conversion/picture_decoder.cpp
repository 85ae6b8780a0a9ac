#include "core/conversion/picture_decoder.h"

#include <algorithm>
#include <vector>

#include "core/common/text_format.h"
#include "core/conversion/grey_codes.h"
#include "core/conversion/pixel_encoder.h"
#include "core/conversion/resource_image.h"

namespace pictor::conversion {

namespace {

bool IsDecodableDepth(int depth) {
    return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 || depth == 24;
}

bool IsGreyDepth(int depth) {
    return depth == 1 || depth == 2 || depth == 4 || depth == 8;
}

std::uint32_t Opaque(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

std::uint32_t GreyPixel(std::uint8_t grey) {
    return Opaque(grey, grey, grey);
}

std::uint32_t ChannelOf(std::uint32_t word, int shift, int bits) {
    const int width = std::clamp(bits, 0, 8);
    const std::uint32_t mask = (1u << width) - 1u;
    return WidenChannel((word >> std::clamp(shift, 0, 16)) & mask, width);
}

// Bytes the encoder writes for a source of `width` x `height`.
std::uint64_t NeededBytes(const settings::ModelProfile& profile, int width, int height) {
    const auto w = static_cast<std::uint64_t>(width);
    const auto h = static_cast<std::uint64_t>(height);
    switch (profile.colorDepth) {
        case 16:
            return 2 * w * h;
        case 24:
            return 3 * w * h;
        default: {
            const auto perByte = static_cast<std::uint64_t>(8 / profile.colorDepth);
            return profile.convertDirection == 0 ? (w / perByte) * h : (h / perByte) * w;
        }
    }
}

void DecodeGrey(const std::uint8_t* data, const settings::ModelProfile& profile,
                workspace::PixelImage& out) {
    const int depth = profile.colorDepth;
    const int perByte = 8 / depth;
    const unsigned codeMask = (1u << depth) - 1u;
    const std::array<std::uint8_t, 256> grey = GreyOfCodes(profile);
    const int band = BandSize(profile);
    const auto width = static_cast<std::size_t>(out.width);
    const auto put = [&](int x, int y, unsigned code) {
        out.pixels[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] =
            GreyPixel(grey[code]);
    };
    // The same scan as the encoder: bands along the split axis, byte groups
    // across it, lines within the band.
    const bool rows = profile.convertDirection == 0;
    const int lines = rows ? out.height : out.width;
    const int groups = (rows ? out.width : out.height) / perByte;
    for (int first = 0; first < lines; first += std::min(band, lines - first)) {
        const int end = first + std::min(band, lines - first);
        for (int group = 0; group < groups; ++group) {
            for (int line = first; line < end; ++line) {
                const unsigned byte = *data++;
                for (int j = 0; j < perByte; ++j) {
                    const unsigned code = (byte >> (depth * j)) & codeMask;
                    const int across = group * perByte + j;
                    if (rows) {
                        put(across, line, code);
                    } else {
                        put(line, across, code);
                    }
                }
            }
        }
    }
}

void DecodeColour(const std::uint8_t* data, const settings::ModelProfile& profile,
                  workspace::PixelImage& out) {
    const settings::ChannelLayout& layout = profile.channelLayout;
    const auto width = static_cast<std::size_t>(out.width);
    const auto height = static_cast<std::size_t>(out.height);
    const auto next = [&]() -> std::uint32_t {
        if (profile.colorDepth == 24) {
            const std::uint32_t pixel = Opaque(data[0], data[1], data[2]);
            data += 3;
            return pixel;
        }
        const std::uint32_t word = (static_cast<std::uint32_t>(data[0]) << 8) | data[1];
        data += 2;
        return Opaque(ChannelOf(word, layout.redShift, layout.redBits),
                      ChannelOf(word, layout.greenShift, layout.greenBits),
                      ChannelOf(word, layout.blueShift, layout.blueBits));
    };
    if (profile.convertDirection == 0) {
        for (std::uint32_t& pixel : out.pixels) {
            pixel = next();
        }
        return;
    }
    for (std::size_t column = 0; column < width; ++column) {
        for (std::size_t row = 0; row < height; ++row) {
            out.pixels[row * width + column] = next();
        }
    }
}

// A refusal whose text is `pattern` (through `lookup`) filled with `args`.
DecodeResult Refuse(const CoreTextLookup& lookup, const char* pattern,
                    const std::vector<std::string>& args = {}) {
    DecodeResult result;
    result.error = FillPlaceholders(LookUp(lookup, pattern), args);
    return result;
}

}  // namespace

std::uint32_t WidenChannel(std::uint32_t value, int bits) {
    if (bits <= 0 || bits > 8) {
        return 0;
    }
    std::uint32_t wide = 0;
    for (int filled = 0; filled < 8; filled += bits) {
        const int shift = 8 - filled - bits;
        wide |= shift >= 0 ? value << shift : value >> -shift;
    }
    return wide & 0xFFu;
}

std::array<std::uint8_t, 256> GreyOfCodes(const settings::ModelProfile& profile) {
    std::array<std::uint8_t, 256> result{};
    if (!IsGreyDepth(profile.colorDepth)) {
        return result;
    }
    const GreyCodes codes = MakeGreyCodes(profile);
    for (int k = 0; k < codes.count; ++k) {
        const auto at = static_cast<std::size_t>(k);
        result[at] =
            codes.lowestGrey[at] < 0
                ? profile.colorLevels[at]
                : static_cast<std::uint8_t>((codes.lowestGrey[at] + codes.highestGrey[at]) / 2);
    }
    return result;
}

PictureSize EncodedSize(const settings::ModelProfile& profile, int width, int height) {
    if (!IsGreyDepth(profile.colorDepth)) {
        return {width, height};
    }
    const int perByte = 8 / profile.colorDepth;
    if (profile.convertDirection == 0) {
        return {width / perByte * perByte, height};
    }
    return {width, height / perByte * perByte};
}

DecodeResult DecodePixels(std::span<const std::uint8_t> data, int width, int height,
                          const settings::ModelProfile& profile, const CoreTextLookup& lookup) {
    if (!IsDecodableDepth(profile.colorDepth)) {
        return Refuse(lookup,
                      PICTOR_TRANSLATE_NOOP(
                          "Core", "colour depth %1 cannot be decoded (1, 2, 4, 8, 16 or 24)"),
                      {std::to_string(profile.colorDepth)});
    }
    if (width < 0 || height < 0) {
        return Refuse(lookup, PICTOR_TRANSLATE_NOOP("Core", "negative picture size"));
    }
    const std::uint64_t needed = NeededBytes(profile, width, height);
    if (needed > data.size()) {
        return Refuse(
            lookup, PICTOR_TRANSLATE_NOOP("Core", "the picture needs %1 bytes, only %2 are there"),
            {std::to_string(needed), std::to_string(data.size())});
    }
    const PictureSize size = EncodedSize(profile, width, height);
    DecodeResult result;
    result.image.width = size.width;
    result.image.height = size.height;
    result.image.pixels.assign(
        static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height), 0xFF000000u);
    if (IsGreyDepth(profile.colorDepth)) {
        DecodeGrey(data.data(), profile, result.image);
    } else {
        DecodeColour(data.data(), profile, result.image);
    }
    result.ok = true;
    return result;
}

DecodeResult DecodeStoredPicture(std::span<const std::uint8_t> image, std::size_t index,
                                 const settings::ModelProfile& profile,
                                 std::optional<PictureSize> size, const CoreTextLookup& lookup) {
    const std::string number = std::to_string(index);
    if (image.size() < kTableBytes) {
        return Refuse(lookup,
                      PICTOR_TRANSLATE_NOOP(
                          "Core", "the image is shorter (%1 bytes) than its table (2048 bytes)"),
                      {std::to_string(image.size())});
    }
    if (index >= kTableEntries) {
        return Refuse(lookup,
                      PICTOR_TRANSLATE_NOOP("Core", "the table has no picture %1 (0 to 511)"),
                      {number});
    }
    if (!IsDecodableDepth(profile.colorDepth)) {
        return Refuse(lookup,
                      PICTOR_TRANSLATE_NOOP(
                          "Core", "colour depth %1 cannot be decoded (1, 2, 4, 8, 16 or 24)"),
                      {std::to_string(profile.colorDepth)});
    }
    const auto unit = static_cast<std::uint64_t>(std::max(profile.minAllocateSize, 1));
    const std::uint32_t entry = TableEntry(image, index);
    const std::uint64_t start = static_cast<std::uint64_t>(entry) * unit;
    if (entry == 0) {
        return Refuse(lookup, PICTOR_TRANSLATE_NOOP("Core", "the table holds no picture %1"),
                      {number});
    }
    if (start < kTableBytes) {
        return Refuse(
            lookup, PICTOR_TRANSLATE_NOOP("Core", "picture %1 starts inside the table (offset %2)"),
            {number, std::to_string(start)});
    }
    std::uint64_t dataStart = start;
    PictureSize dims;
    if (profile.saveWidthHeightToBin != 0) {
        const std::uint64_t prefixBytes = SizePrefixBytes(profile);
        if (start + prefixBytes > image.size()) {
            return Refuse(
                lookup,
                PICTOR_TRANSLATE_NOOP(
                    "Core",
                    "picture %1: the size prefix at offset %2 runs past the end of the image"),
                {number, std::to_string(start)});
        }
        const auto at = static_cast<std::size_t>(start);
        const int v = image[at] | (image[at + 2] << 8);
        const int h = image[at + 1] | (image[at + 3] << 8);
        const int perByte = IsGreyDepth(profile.colorDepth) ? 8 / profile.colorDepth : 1;
        dims = profile.convertDirection == 0 ? PictureSize{h * perByte, v}
                                             : PictureSize{h, v * perByte};
        if (size) {
            const PictureSize given = EncodedSize(profile, size->width, size->height);
            if (given.width != dims.width || given.height != dims.height) {
                return Refuse(lookup,
                              PICTOR_TRANSLATE_NOOP(
                                  "Core", "picture %1: the size prefix says %2x%3, expected %4x%5"),
                              {number, std::to_string(dims.width), std::to_string(dims.height),
                               std::to_string(given.width), std::to_string(given.height)});
            }
        }
        dataStart = start + prefixBytes;
    } else if (size) {
        dims = *size;
    } else {
        return Refuse(
            lookup,
            PICTOR_TRANSLATE_NOOP(
                "Core", "picture %1: without a size prefix the picture's size must be given"),
            {number});
    }
    if (dims.width < 0 || dims.height < 0) {
        return Refuse(lookup, PICTOR_TRANSLATE_NOOP("Core", "picture %1: negative picture size"),
                      {number});
    }
    const std::uint64_t end = dataStart + NeededBytes(profile, dims.width, dims.height);
    if (end > image.size()) {
        return Refuse(lookup,
                      PICTOR_TRANSLATE_NOOP(
                          "Core", "picture %1 runs past the end of the image (%2 > %3 bytes)"),
                      {number, std::to_string(end), std::to_string(image.size())});
    }
    if (index + 1 < kTableEntries) {
        const std::uint64_t next = static_cast<std::uint64_t>(TableEntry(image, index + 1)) * unit;
        if (next != 0 && next < end) {
            return Refuse(
                lookup,
                PICTOR_TRANSLATE_NOOP("Core", "picture %1 overlaps the block of picture %2"),
                {number, std::to_string(index + 1)});
        }
    }
    return DecodePixels(image.subspan(static_cast<std::size_t>(dataStart)), dims.width, dims.height,
                        profile, lookup);
}

}  // namespace pictor::conversion
