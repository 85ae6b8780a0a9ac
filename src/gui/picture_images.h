#pragma once

#include <QImage>

#include "core/workspace/pixel_image.h"

namespace pictor::gui {

/// A QImage copy of a decoded picture (opaque RGB; alpha is ignored as the
/// preview draws bitmaps as they are stored).
QImage ToQImage(const workspace::PixelImage& picture);

/// A Windows RGB colour value (red in the low byte) as a QColor.
QColor FromWindowsRgb(std::uint32_t value);

/// A QColor as a Windows RGB colour value.
std::uint32_t ToWindowsRgb(const QColor& colour);

}  // namespace pictor::gui
