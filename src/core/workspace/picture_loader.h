#pragma once

#include <filesystem>
#include <optional>

#include "core/workspace/pixel_image.h"

namespace pictor::workspace {

/// Largest width or height of a picture that loads, in pixels.
inline constexpr int kMaxPictureSide = 8192;
/// Width and height of a thumbnail, in pixels.
inline constexpr int kThumbnailSide = 96;

/// Loads a picture file at its own size. Accepts Windows bitmaps (1, 4, 8 bits per pixel
/// with palettes, RLE4, RLE8, 16 bits per pixel 5-5-5 or bit fields, 24 and 32 bits per
/// pixel, bottom-up or top-down) and PNG, recognised by their content, not their file
/// name. Bitmaps give their stored red, green and blue with alpha 0xFF (a 32-bit bitmap's
/// fourth byte is ignored) and `hasAlpha` false; a PNG with an alpha channel keeps its
/// unpremultiplied colours and alpha with `hasAlpha` true.
/// Returns nothing for other formats, unreadable or damaged files, and pictures wider or
/// higher than kMaxPictureSide or of zero size; the size is checked from the header before
/// any pixel memory is taken. Thread-safe; needs no application object.
std::optional<PixelImage> LoadPicture(const std::filesystem::path& path);

/// Returns `picture` stretched to kThumbnailSide x kThumbnailSide pixels by sampling the
/// nearest source pixel, keeping `hasAlpha`. An empty picture (or one with fewer pixels
/// than its size) gives a black thumbnail.
PixelImage MakeThumbnail(const PixelImage& picture);

}  // namespace pictor::workspace
