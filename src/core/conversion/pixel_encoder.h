#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/model_profile.h"
#include "core/workspace/picture_loader.h"
#include "core/workspace/pixel_image.h"

namespace pictor::conversion {

/// Line end of every generated text (header and C source): CR LF.
inline constexpr std::string_view kLineEnd = "\r\n";

/// The band size of a profile: `blockColNum` when positive, else 65535 ("MAX").
int BandSize(const settings::ModelProfile& profile);

/// Number of bytes `EncodePicture` appends in binary form (0 for an unsupported
/// depth). Grey depths drop the pixels beyond the last whole byte group.
std::uint64_t EncodedByteCount(const workspace::PixelImage& image,
                               const settings::ModelProfile& profile);
/// The same count from the picture's size alone.
std::uint64_t EncodedByteCount(int width, int height, const settings::ModelProfile& profile);

/// Encodes the pixels of one picture and appends the bytes to `out`.
///
/// Depths 1, 2, 4 and 8 pack grey levels (grey = (R + G + B) / 3, level from
/// `colorLevels`), `8 / depth` pixels per byte, the first pixel in the low bits;
/// the scan runs band by band (`blockColNum` lines, 0 = all), group by group,
/// line by line (direction 0: bytes hold horizontal neighbours and lines are
/// rows; direction 1: vertical neighbours and columns). Depth 16 writes one
/// big-endian 5-6-5 word per pixel by `channelLayout`, depth 24 the bytes R, G, B;
/// both scan row by row (direction 0) or column by column (direction 1).
/// Pixels of an image with `hasAlpha` are first blended over `bkColor`.
///
/// Returns false (appending nothing) for a depth other than 1, 2, 4, 8, 16 and 24
/// or an image whose pixel count does not match its size, and false (`out` may
/// have grown) when the memory for the bytes cannot be had. Thread-safe (no state).
bool EncodePicture(const workspace::PixelImage& image, const settings::ModelProfile& profile,
                   std::vector<std::uint8_t>& out);

/// The same bytes as C source text appended to `out`: an opening line end, then
/// every byte as its decimal value followed by ","; the grey depths end each
/// group line of a band with a line end, the colour depths write no line ends.
bool EncodePicture(const workspace::PixelImage& image, const settings::ModelProfile& profile,
                   std::string& out);

/// Encodes a picture opened row by row: exactly the bytes of EncodePicture on the
/// decoded picture. Depths 16 and 24 in direction 0 encode each row as it is
/// decoded, so no whole decoded copy exists; other profiles decode it whole first.
bool EncodePicture(const workspace::PictureRows& rows, const settings::ModelProfile& profile,
                   std::vector<std::uint8_t>& out);
/// The C source text of the same bytes, as the PixelImage form gives it.
bool EncodePicture(const workspace::PictureRows& rows, const settings::ModelProfile& profile,
                   std::string& out);

/// A picture already reduced to what the encoder stores per pixel, row by row:
/// the grey code (depths 1, 2, 4 and 8) in `codes`, or the two bytes of the
/// 16-bit word, high byte first (depth 16), in `words`. Dithering produces it,
/// so the pixels need no second reading.
struct QuantisedPicture {
    using WordBytes = std::array<std::uint8_t, 2>;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> codes;
    std::vector<WordBytes> words;
};

/// Packs a quantised picture exactly as EncodePicture packs the pixels those
/// codes stand for. Returns false (appending nothing) for a depth other than 1,
/// 2, 4, 8 and 16 or a plane whose size does not match the picture.
bool EncodeQuantised(const QuantisedPicture& picture, const settings::ModelProfile& profile,
                     std::vector<std::uint8_t>& out);
/// The same bytes as C source text, laid out as EncodePicture lays them out.
bool EncodeQuantised(const QuantisedPicture& picture, const settings::ModelProfile& profile,
                     std::string& out);

/// The 16-bit word the encoder writes for a pixel (before its big-endian split):
/// each channel cut to its width and shifted into place by `layout`.
std::uint16_t ColourWord(std::uint32_t argb, const settings::ChannelLayout& layout);

/// The pixels as the encoder reads them: the picture's own, or for a picture with
/// transparency (`hasAlpha`) a copy in `blended`, blended over `bkColor`.
const std::uint32_t* OpaquePixels(const workspace::PixelImage& image, std::uint32_t bkColor,
                                  std::vector<std::uint32_t>& blended);

/// The pixel blended over a background colour given as a Windows RGB value (red
/// in the low byte): c = (src * a + bk * (255 - a) + 127) / 255 per channel.
/// Returns 0xFFRRGGBB.
std::uint32_t BlendOverBackground(std::uint32_t argb, std::uint32_t bkColor);

}  // namespace pictor::conversion
