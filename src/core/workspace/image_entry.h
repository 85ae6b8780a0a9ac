#pragma once

#include <memory>
#include <string>

#include "core/workspace/pixel_image.h"

namespace pictor::workspace {

/// One imported picture. Bitmaps are immutable and shared, so entries copy
/// cheaply (a snapshot of the list can go to a worker while the UI keeps editing).
struct ImageEntry {
    std::shared_ptr<const PixelImage> bitmap;     // the picture at its own size
    std::shared_ptr<const PixelImage> thumbnail;  // 96 x 96 copy for the list view
    std::string path;                             // full path as given to the import
    std::string name;                             // file name without directory and last extension
    std::string seriesName;                       // filled by the conversion's series step
    int width = 0;
    int height = 0;
    int left = 0;  // position on the LCD in pixels; may become negative
    int top = 0;
    int index = 0;        // order number: the entry's position in the list
    bool shown = false;   // drawn on the LCD preview
    int seriesCount = 0;  // pictures sharing `seriesName`; filled by the conversion
};

}  // namespace pictor::workspace
