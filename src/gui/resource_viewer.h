#pragma once

#include <QIODevice>
#include <QImage>
#include <cstdint>

#include "core/settings/model_profile.h"

namespace pictor::gui {

/// Where a picture sits in a resource image and how to read it.
struct ViewerRequest {
    std::uint64_t address = 0;  // block start in units of `minAllocateSize`
    int minAllocateSize = 1;
    int rows = 0;  // used when the picture has no size prefix
    int columns = 0;
    bool sizePrefix = false;  // read rows and columns from the picture's prefix
    settings::ChannelLayout layout;
};

/// Decodes one picture of 16-bit colour words (high byte first, row by row) from
/// a resource image. Pixels beyond the end of the file are left transparent and
/// the image is no taller than the data the file holds. A null image when there is
/// nothing to draw.
QImage DecodeResourcePicture(QIODevice& file, const ViewerRequest& request);

/// The colour of one 16-bit word under a channel layout: each channel is masked,
/// shifted down and widened to 8 bits by shifting left (8 - its width).
QColor DecodeColorWord(std::uint16_t word, const settings::ChannelLayout& layout);

}  // namespace pictor::gui
