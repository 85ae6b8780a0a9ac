#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/workspace/pixel_image.h"

namespace pictor::workspace {

/// Decodes a PNG file held whole in memory. A picture with transparency (an alpha
/// channel or a valid tRNS chunk) keeps its unpremultiplied colours and alpha with
/// `hasAlpha` true; others read 0xFFRRGGBB. 16-bit samples are rounded to 8 bits.
/// Gamma and colour-space chunks are not applied.
///
/// A damaged file gives nothing: a chunk that does not fit the file, a critical chunk
/// with a wrong CRC or unknown type, a missing IEND, image data cut short or corrupt.
/// A wrong CRC on an ancillary chunk drops that chunk, and so does an ancillary chunk
/// that is invalid or out of place. Pictures wider or higher than `maxSide` are
/// refused before any pixel memory is taken.
std::optional<PixelImage> DecodePng(std::span<const std::uint8_t> file, int maxSide);

/// Width and height from a PNG's header chunk, or nothing when the file does not
/// start with a valid one.
struct PngSize {
    int width = 0;
    int height = 0;
};
std::optional<PngSize> ReadPngSize(std::span<const std::uint8_t> file);

}  // namespace pictor::workspace
