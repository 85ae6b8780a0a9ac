#include "gui/picture_cache.h"

#include <filesystem>

#include "core/workspace/image_entry.h"
#include "core/workspace/picture_loader.h"
#include "gui/picture_images.h"

namespace pictor::gui {

QImage PictureCache::Picture(const workspace::ImageEntry& entry) {
    const void* bitmap = entry.bitmap.get();
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (it->bitmap == bitmap && (bitmap != nullptr || it->path == entry.path)) {
            items_.splice(items_.begin(), items_, it);
            return items_.front().image;
        }
    }
    QImage image;
    if (entry.bitmap) {
        image = ToQImage(*entry.bitmap);
    } else if (const auto loaded = workspace::LoadPicture(std::filesystem::path(entry.path))) {
        image = ToQImage(*loaded);
    }
    bytes_ += static_cast<std::size_t>(image.sizeInBytes());
    items_.push_front(Item{bitmap, bitmap != nullptr ? std::string() : entry.path, image});
    // The newest picture stays even when it alone exceeds the budget.
    while (bytes_ > budget_ && items_.size() > 1) {
        bytes_ -= static_cast<std::size_t>(items_.back().image.sizeInBytes());
        items_.pop_back();
    }
    return image;
}

void PictureCache::Clear() {
    items_.clear();
    bytes_ = 0;
}

}  // namespace pictor::gui
