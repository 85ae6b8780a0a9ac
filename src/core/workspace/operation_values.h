#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/workspace/picture_operations.h"

namespace pictor::workspace {

// The text forms of picture operations, as the project file and the command line
// write them. Parsers take the value without surrounding blanks and give nothing
// for anything else; formatters give the long forms.

/// "X,Y,W,H": a crop of W x H pixels (both at least 1) from column X, row Y.
std::optional<PixelRect> ParseCrop(std::string_view text);
std::string CropText(const PixelRect& crop);

/// "0", "90", "180" or "270" (degrees clockwise).
std::optional<int> ParseRotate(std::string_view text);

/// "none", "horizontal", "vertical", "both", or the short forms "h", "v", "hv".
std::optional<Flip> ParseFlip(std::string_view text);
std::string FlipText(Flip flip);

/// "W x H" (also "WxH") or "fit W x H", each side 1..kMaxPictureSide.
std::optional<ScaleTarget> ParseScale(std::string_view text);
/// "W x H" alone ("64x32", "64 x 32"); `Exact` mode.
std::optional<ScaleTarget> ParseSize(std::string_view text);
std::string ScaleText(const ScaleTarget& scale);

/// "nearest", "area" or "bilinear".
std::optional<ScaleFilter> ParseFilter(std::string_view text);
std::string FilterText(ScaleFilter filter);

/// A whole number 0..255.
std::optional<int> ParseThreshold(std::string_view text);

/// "yes"/"no" (also "1"/"0", "true"/"false", "on"/"off").
std::optional<bool> ParseYesNo(std::string_view text);

}  // namespace pictor::workspace
