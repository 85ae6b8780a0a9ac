#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversion/pixel_encoder.h"
#include "core/settings/model_profile.h"
#include "core/workspace/pixel_image.h"

namespace pictor::conversion {

/// The values of a model's "DITHER" key.
enum class DitherMode { None = 0, Ordered = 1, FloydSteinberg = 2 };

/// The profile's mode; a value other than 0, 1 and 2 counts as none.
DitherMode DitherModeOf(const settings::ModelProfile& profile);

/// "none", "ordered" and "fs" as the CLI takes them.
std::optional<DitherMode> ParseDitherMode(std::string_view text);

/// Whether `DitherForEncoding` changes pictures for this profile: a dither mode is
/// set and the depth is 1, 2, 4, 8 or 16 (24-bit keeps every colour anyway).
bool Dithers(const settings::ModelProfile& profile);

/// The picture to hand to the encoder so that it writes the dithered codes.
///
/// Pixels with transparency are first blended over `bkColor`. Then each grey
/// depth works on the grey value (R + G + B) / 3 and each 16-bit channel on its
/// own 8-bit value: ordered mode adds the 8x8 Bayer pattern before quantising;
/// Floyd-Steinberg diffuses each pixel's error (7, 3, 5, 1 sixteenths) to its
/// unvisited neighbours, rows alternately left to right and right to left. Code k
/// of a grey depth with n codes stands for the intensity k x 255 / (n - 1); a 565
/// channel code for its value widened to 8 bits. The chosen code's pixel is
/// written as the lowest value the encoder maps to that code (grey depths: a grey
/// pixel), so the encoder itself is unchanged. Integer arithmetic throughout: the
/// same input gives the same pixels everywhere.
///
/// Without dithering (see `Dithers`) returns `image` itself; otherwise fills
/// `storage` and returns it.
const workspace::PixelImage& DitherForEncoding(const workspace::PixelImage& image,
                                               const settings::ModelProfile& profile,
                                               workspace::PixelImage& storage);

/// The same dithering, kept as the codes the encoder writes (see
/// `QuantisedPicture`) rather than as pixels. Returns false, leaving `out`
/// alone, when the profile does not dither or the picture's size is inconsistent.
bool QuantiseForEncoding(const workspace::PixelImage& image, const settings::ModelProfile& profile,
                         QuantisedPicture& out);

/// The bytes EncodePicture gives for `DitherForEncoding(image, profile, …)`,
/// made in one pass: dithering yields the codes and the encoder only packs them.
/// Without dithering this is EncodePicture itself.
bool EncodeDithered(const workspace::PixelImage& image, const settings::ModelProfile& profile,
                    std::vector<std::uint8_t>& out);
/// The same as C source text.
bool EncodeDithered(const workspace::PixelImage& image, const settings::ModelProfile& profile,
                    std::string& out);

}  // namespace pictor::conversion
