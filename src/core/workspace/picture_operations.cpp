#include "core/workspace/picture_operations.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "core/common/translatable.h"

namespace pictor::workspace {

namespace {

bool IsAcceptedSide(long long side) {
    return side >= 1 && side <= kMaxPictureSide;
}

bool IsQuarterTurn(int rotate) {
    return rotate == 90 || rotate == 270;
}

// The size after crop, rotate and flip.
std::optional<PictureSize> OrientedSize(PictureSize source, const PictureOperations& operations) {
    PictureSize size = source;
    if (const auto& crop = operations.crop) {
        const long long right = static_cast<long long>(crop->x) + crop->width;
        const long long bottom = static_cast<long long>(crop->y) + crop->height;
        if (crop->x < 0 || crop->y < 0 || crop->width <= 0 || crop->height <= 0 ||
            right > source.width || bottom > source.height) {
            return std::nullopt;
        }
        size = {crop->width, crop->height};
    }
    if (IsQuarterTurn(operations.rotate)) {
        std::swap(size.width, size.height);
    }
    return size;
}

// The scaled size of an `oriented` picture; the oriented size when it is not scaled.
PictureSize ScaledSize(PictureSize oriented, const ScaleTarget& scale) {
    switch (scale.mode) {
        case ScaleMode::None:
            return oriented;
        case ScaleMode::Exact:
            return {scale.width, scale.height};
        case ScaleMode::Fit:
            break;
    }
    const long long w = oriented.width;
    const long long h = oriented.height;
    const long long boxW = scale.width;
    const long long boxH = scale.height;
    // The box's width limits when boxW / w <= boxH / h; the other side is rounded.
    if (boxW * h <= boxH * w) {
        const long long height = (2 * h * boxW + w) / (2 * w);
        return {scale.width, static_cast<int>(std::max(1LL, height))};
    }
    const long long width = (2 * w * boxH + h) / (2 * h);
    return {static_cast<int>(std::max(1LL, width)), scale.height};
}

// Target index -> source index of a nearest scale from `from` to `to` pixels: the
// source pixel under the target pixel's centre.
int NearestIndex(int target, int from, int to) {
    return static_cast<int>((2 * static_cast<long long>(target) + 1) * from /
                            (2 * static_cast<long long>(to)));
}

}  // namespace

bool PictureOperations::ChangesPixels() const {
    return crop.has_value() || rotate != 0 || flip != Flip::None || scale.mode != ScaleMode::None ||
           invert;
}

std::optional<PictureSize> OperatedSize(PictureSize source, const PictureOperations& operations,
                                        OperationsFault* fault) {
    const auto fail = [fault](OperationsFault why) -> std::optional<PictureSize> {
        if (fault != nullptr) {
            *fault = why;
        }
        return std::nullopt;
    };
    const std::optional<PictureSize> oriented = OrientedSize(source, operations);
    if (!oriented) {
        return fail(OperationsFault::CropOutside);
    }
    if (operations.scale.mode != ScaleMode::None &&
        (!IsAcceptedSide(operations.scale.width) || !IsAcceptedSide(operations.scale.height))) {
        return fail(OperationsFault::TooLarge);
    }
    const PictureSize size = ScaledSize(*oriented, operations.scale);
    if (!IsAcceptedSide(size.width) || !IsAcceptedSide(size.height)) {
        return fail(OperationsFault::TooLarge);
    }
    if (fault != nullptr) {
        *fault = OperationsFault::None;
    }
    return size;
}

ScaleFilter EffectiveFilter(const PictureOperations& operations, PictureSize before,
                            PictureSize after) {
    if (operations.filter) {
        return *operations.filter;
    }
    const bool wholeFactor = before.width > 0 && before.height > 0 &&
                             after.width % before.width == 0 && after.height % before.height == 0;
    return wholeFactor ? ScaleFilter::Nearest : ScaleFilter::Area;
}

std::optional<Message> OperationsFaultMessage(const std::string& picture, PictureSize source,
                                              const PictureOperations& operations) {
    OperationsFault fault = OperationsFault::None;
    if (OperatedSize(source, operations, &fault)) {
        return std::nullopt;
    }
    const std::string size = std::to_string(source.width) + " x " + std::to_string(source.height);
    if (fault == OperationsFault::CropOutside && operations.crop) {
        const PixelRect& crop = *operations.crop;
        return PatternMessage(
            PICTOR_TRANSLATE_NOOP("Core", "%1: the crop %2 does not lie inside the picture (%3)"),
            {picture,
             std::to_string(crop.x) + "," + std::to_string(crop.y) + "," +
                 std::to_string(crop.width) + "," + std::to_string(crop.height),
             size},
            "", MessageIcon::Exclamation);
    }
    return PatternMessage(
        PICTOR_TRANSLATE_NOOP("Core",
                              "%1: after its operations the picture (%2) would not be 1 "
                              "to %3 pixels on each side"),
        {picture, size, std::to_string(kMaxPictureSide)}, "", MessageIcon::Exclamation);
}

SourceMap MapSource(PictureSize source, const PictureOperations& operations, bool withScale) {
    SourceMap map;
    const PictureSize oriented = OrientedSize(source, operations).value_or(source);
    const PictureSize target = withScale ? ScaledSize(oriented, operations.scale) : oriented;
    map.width = target.width;
    map.height = target.height;
    map.transposed = IsQuarterTurn(operations.rotate);
    const PixelRect crop = operations.crop.value_or(PixelRect{0, 0, source.width, source.height});
    const bool mirrorX = operations.flip == Flip::Horizontal || operations.flip == Flip::Both;
    const bool mirrorY = operations.flip == Flip::Vertical || operations.flip == Flip::Both;

    // Back from the target through the scale and the flip to the rotated picture
    // (rx along the target's x, ry along its y), then through the rotation to the
    // cropped picture and the source.
    map.alongX.resize(static_cast<std::size_t>(target.width));
    for (int x = 0; x < target.width; ++x) {
        int rx = NearestIndex(x, oriented.width, target.width);
        if (mirrorX) {
            rx = oriented.width - 1 - rx;
        }
        int value = 0;
        switch (operations.rotate) {
            case 90:  // rx runs up the cropped picture's rows from its bottom
                value = crop.y + crop.height - 1 - rx;
                break;
            case 180:
                value = crop.x + crop.width - 1 - rx;
                break;
            case 270:  // rx runs down its rows
                value = crop.y + rx;
                break;
            default:
                value = crop.x + rx;
                break;
        }
        map.alongX[static_cast<std::size_t>(x)] = value;
    }
    map.alongY.resize(static_cast<std::size_t>(target.height));
    for (int y = 0; y < target.height; ++y) {
        int ry = NearestIndex(y, oriented.height, target.height);
        if (mirrorY) {
            ry = oriented.height - 1 - ry;
        }
        int value = 0;
        switch (operations.rotate) {
            case 90:  // ry runs along the cropped picture's columns from its left
                value = crop.x + ry;
                break;
            case 180:
                value = crop.y + crop.height - 1 - ry;
                break;
            case 270:  // ry runs along its columns from its right
                value = crop.x + crop.width - 1 - ry;
                break;
            default:
                value = crop.y + ry;
                break;
        }
        map.alongY[static_cast<std::size_t>(y)] = value;
    }
    return map;
}

namespace {

PixelImage Gather(const PixelImage& source, const SourceMap& map) {
    PixelImage out;
    out.width = map.width;
    out.height = map.height;
    out.hasAlpha = source.hasAlpha;
    const auto width = static_cast<std::size_t>(map.width);
    out.pixels.resize(width * static_cast<std::size_t>(map.height));
    std::uint32_t* target = out.pixels.data();
    if (map.transposed) {
        // Each target column walks one source row; the rows are looked up once.
        std::vector<const std::uint32_t*> rows(width);
        for (std::size_t x = 0; x < width; ++x) {
            rows[x] = source.Row(map.alongX[x]);
        }
        for (const int column : map.alongY) {
            for (std::size_t x = 0; x < width; ++x) {
                *target++ = rows[x][column];
            }
        }
        return out;
    }
    for (const int row : map.alongY) {
        const std::uint32_t* line = source.Row(row);
        for (std::size_t x = 0; x < width; ++x) {
            *target++ = line[map.alongX[x]];
        }
    }
    return out;
}

}  // namespace

PixelImage ApplyOperations(const PixelImage& source, const PictureOperations& operations) {
    const PictureSize sourceSize{source.width, source.height};
    const std::optional<PictureSize> finalSize = OperatedSize(sourceSize, operations);
    if (!finalSize) {
        return {};
    }
    PixelImage result;
    const PictureSize oriented = OrientedSize(sourceSize, operations).value_or(sourceSize);
    const bool scales = operations.scale.mode != ScaleMode::None;
    const ScaleFilter filter = EffectiveFilter(operations, oriented, *finalSize);
    if (!scales || filter == ScaleFilter::Nearest) {
        result = Gather(source, MapSource(sourceSize, operations));
    } else {
        const PixelImage turned = Gather(source, MapSource(sourceSize, operations, false));
        result = ScalePicture(turned, finalSize->width, finalSize->height, filter);
    }
    if (operations.invert) {
        for (std::uint32_t& pixel : result.pixels) {
            pixel = InvertPixel(pixel);
        }
    }
    return result;
}

}  // namespace pictor::workspace
