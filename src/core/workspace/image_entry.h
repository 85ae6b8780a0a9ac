#pragma once

#include <memory>
#include <string>

#include "core/text/text_picture.h"
#include "core/workspace/picture_operations.h"
#include "core/workspace/pixel_image.h"

namespace pictor::workspace {

/// One imported picture: a picture file, or a text drawn with a font. Bitmaps are
/// immutable and shared, so entries copy cheaply (a snapshot of the list can go to
/// a worker while the UI keeps editing). `bitmap`, `width` and `height` are the
/// picture after its `operations`.
struct ImageEntry {
    std::shared_ptr<const PixelImage> bitmap;     // the picture after its operations
    std::shared_ptr<const PixelImage> thumbnail;  // 96 x 96 copy for the list view
    std::string path;        // full path as given to the import; empty for a text
    std::string name;        // file name without directory and last extension
    std::string seriesName;  // filled by the conversion's series step
    int width = 0;
    int height = 0;
    int left = 0;  // position on the LCD in pixels; may become negative
    int top = 0;
    int index = 0;                      // order number: the entry's position in the list
    bool shown = false;                 // drawn on the LCD preview
    int seriesCount = 0;                // pictures sharing `seriesName`; filled by the conversion
    PictureOperations operations = {};  // applied whenever the picture is loaded
    int sourceWidth = 0;                // size before the operations
    int sourceHeight = 0;
    /// Set for a text item: the picture is drawn from it instead of read from `path`.
    std::shared_ptr<const text::TextPicture> text = {};
};

}  // namespace pictor::workspace
