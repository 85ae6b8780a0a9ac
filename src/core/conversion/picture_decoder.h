#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/common/translatable.h"
#include "core/settings/model_profile.h"
#include "core/workspace/pixel_image.h"

namespace pictor::conversion {

/// The pixels the decoder gives back, or why it refused.
struct DecodeResult {
    bool ok = false;
    std::string error;            // one line; empty when `ok`
    workspace::PixelImage image;  // opaque 0xFFRRGGBB pixels
};

/// A picture's size in pixels.
struct PictureSize {
    int width = 0;
    int height = 0;
};

/// The grey value that stands for each grey code of `profile` (depths 1, 2, 4
/// and 8): the middle of the range of grey values (0..255) that the encoder maps
/// to the code, rounded down. A code that no grey value reaches stands for its
/// own threshold.
std::array<std::uint8_t, 256> GreyOfCodes(const settings::ModelProfile& profile);

/// A channel value of `bits` bits (1..8) widened to 8 bits by repeating its top
/// bits (5 bits: 31 -> 255, 16 -> 132).
std::uint32_t WidenChannel(std::uint32_t value, int bits);

/// The size the decoded picture of a `width` x `height` source has: the grey
/// depths keep only whole byte groups (the width, or with direction 1 the
/// height, rounded down to a multiple of the pixels per byte).
PictureSize EncodedSize(const settings::ModelProfile& profile, int width, int height);

/// Decodes the pixel data of one picture (the bytes `EncodePicture` writes for a
/// `width` x `height` source; extra bytes after them are ignored) into a picture
/// of `EncodedSize`. Grey codes become grey pixels (`GreyOfCodes`); 16-bit words
/// are split by the profile's channel layout and each channel widened to 8 bits
/// by repeating its top bits (31 -> 255); 24-bit bytes are R, G, B. Refuses a
/// depth other than 1, 2, 4, 8, 16, 24, a negative size, data shorter than the
/// picture needs and a picture larger than the memory at hand.
DecodeResult DecodePixels(std::span<const std::uint8_t> data, int width, int height,
                          const settings::ModelProfile& profile, const CoreTextLookup& lookup = {});

/// Decodes picture `index` of a binary resource image (`Icon.bin`): its table
/// entry times the allocation unit (`minAllocateSize`) is the block's offset.
/// With `saveWidthHeightToBin` the size comes from the block's size prefix (and
/// `size`, when given, must agree with it); without it `size` is required.
/// Refuses, with a message, an image shorter than the table, an index outside the
/// table or with an empty entry, a block that runs past the end of the image or
/// into the next picture's block, and a missing size. Never reads past `image`.
DecodeResult DecodeStoredPicture(std::span<const std::uint8_t> image, std::size_t index,
                                 const settings::ModelProfile& profile,
                                 std::optional<PictureSize> size = std::nullopt,
                                 const CoreTextLookup& lookup = {});

}  // namespace pictor::conversion
