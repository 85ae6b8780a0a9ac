#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/common/message.h"
#include "core/workspace/picture_loader.h"
#include "core/workspace/pixel_image.h"
#include "core/workspace/source_map.h"

namespace pictor::workspace {

/// A rectangle of a picture, in the picture's own pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

/// Mirroring: `Horizontal` swaps left and right, `Vertical` top and bottom.
enum class Flip { None, Horizontal, Vertical, Both };

/// How scaled pixels are made: `Nearest` takes the source pixel under each target
/// pixel's centre (exact for pixel art), `Area` averages the source area a target
/// pixel covers, `Bilinear` interpolates the four nearest source pixels. Area and
/// bilinear work on premultiplied alpha, so transparent pixels lend no colour.
enum class ScaleFilter { Nearest, Area, Bilinear };

/// Scaling to an exact size (`Exact`) or into a box keeping the aspect ratio (`Fit`).
enum class ScaleMode { None, Exact, Fit };

struct ScaleTarget {
    ScaleMode mode = ScaleMode::None;
    int width = 0;  // pixels, 1..kMaxPictureSide when `mode` is not None
    int height = 0;

    friend bool operator==(const ScaleTarget&, const ScaleTarget&) = default;
};

/// What a picture goes through when it is loaded, in this order: crop, rotate,
/// flip, scale, invert. The source file stays untouched. `threshold` does not
/// change pixels: on a 1-bit model it replaces the grey level the quantiser
/// compares with. A value type; the default changes nothing.
struct PictureOperations {
    std::optional<PixelRect> crop;  // in source pixels
    int rotate = 0;                 // degrees clockwise: 0, 90, 180 or 270
    Flip flip = Flip::None;
    ScaleTarget scale;
    std::optional<ScaleFilter> filter;  // nothing: see EffectiveFilter
    bool invert = false;                // red, green and blue to 255 minus themselves
    std::optional<int> threshold;       // 0..255

    /// True when crop, rotate, flip, scale or invert change the picture.
    [[nodiscard]] bool ChangesPixels() const;
    /// True when nothing at all is set (no threshold, no filter either).
    [[nodiscard]] bool IsEmpty() const { return *this == PictureOperations{}; }

    friend bool operator==(const PictureOperations&, const PictureOperations&) = default;
};

/// Why operations cannot be applied to a picture of a given size.
enum class OperationsFault { None, CropOutside, TooLarge };

/// The size of a `source`-sized picture after `operations`, or nothing with the
/// fault: a crop that is empty or reaches outside the picture, or a result that is
/// not 1..kMaxPictureSide on each side. A fit keeps the aspect ratio: the result
/// fills the box in one direction (the other side rounded to the nearest pixel, at
/// least 1).
std::optional<PictureSize> OperatedSize(PictureSize source, const PictureOperations& operations,
                                        OperationsFault* fault = nullptr);

/// The filter scaling uses: the one set, else nearest when every side grows by a
/// whole factor (1 included), else area. `before` is the size after crop, rotate
/// and flip; `after` the scaled size.
ScaleFilter EffectiveFilter(const PictureOperations& operations, PictureSize before,
                            PictureSize after);

/// The message (exclamation icon) saying why `operations` do not apply to the
/// picture `picture` (its path or name) of `source` size; nothing when they do.
std::optional<Message> OperationsFaultMessage(const std::string& picture, PictureSize source,
                                              const PictureOperations& operations);

/// The source map of crop, rotate, flip and a nearest scale (ignoring the
/// filter); scaling is left out when `withScale` is false. Precondition:
/// OperatedSize(source, operations) has a value.
SourceMap MapSource(PictureSize source, const PictureOperations& operations, bool withScale = true);

/// `source` after `operations` (threshold aside). Precondition: OperatedSize has a
/// value for the source's size. Keeps `hasAlpha`; deterministic integer
/// arithmetic. Thread-safe.
PixelImage ApplyOperations(const PixelImage& source, const PictureOperations& operations);

/// `source` scaled to `width` x `height` with `filter`, alpha-correct (colours
/// weighted by their alpha). Sizes must be positive.
PixelImage ScalePicture(const PixelImage& source, int width, int height, ScaleFilter filter);

/// Pixel with red, green and blue inverted, alpha kept.
constexpr std::uint32_t InvertPixel(std::uint32_t argb) {
    return argb ^ 0x00FFFFFFu;
}

}  // namespace pictor::workspace
