#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/workspace/bitmap_format.h"
#include "core/workspace/pixel_image.h"

namespace pictor::workspace {

/// Decodes a bitmap whose headers ParseBitmapHeader accepted, from the whole file:
/// every layout and compression the header parser knows (palettes of 1, 4 and 8 bits,
/// RLE4 and RLE8, 16 and 32 bits with any bit fields, 24 bits, OS/2 core headers,
/// bottom-up or top-down). Pixels are 0xFFRRGGBB and `hasAlpha` is false; alpha bits
/// of the file are ignored. The caller has checked the size and HoldsDeclaredPixels.
///
/// The colours follow the long-standing conventions of bitmap readers, so that a
/// picture converts as it always has: a channel of n bits is widened by multiplying
/// with 256 / 2^n (five bits read 0xF8 at full scale), a palette index beyond the
/// stored palette reads black (a 1-bit picture with a one-colour palette reads white
/// for index 1), and a run-length stream is decoded with the clipping rules described
/// in the implementation, where runs that pass the end of a row go on into the row
/// that is stored next.
///
/// Returns nothing for a palette of more than 256 entries, a colour mask whose range
/// cannot be scaled (all 32 bits set) or a run-length stream that stops inside a run.
std::optional<PixelImage> DecodeBitmap(const BitmapHeader& header,
                                       std::span<const std::uint8_t> file);

}  // namespace pictor::workspace
