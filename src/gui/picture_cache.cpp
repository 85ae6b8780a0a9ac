#include "gui/picture_cache.h"

#include <filesystem>

#include "core/workspace/image_entry.h"
#include "core/workspace/picture_loader.h"

namespace pictor::gui {

std::shared_ptr<const workspace::PixelImage> PictureCache::Picture(
    const workspace::ImageEntry& entry) {
    if (entry.bitmap) {
        return entry.bitmap;
    }
    const std::filesystem::path path(entry.path);
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
    const bool present = !error;
    const auto modified = std::filesystem::last_write_time(path, error);
    const std::int64_t ticks = error ? 0 : modified.time_since_epoch().count();

    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (it->path != entry.path) {
            continue;
        }
        if (present && it->fileSize == fileSize && it->modified == ticks) {
            items_.splice(items_.begin(), items_, it);
            return items_.front().picture;
        }
        // The file changed (or vanished) since it was decoded.
        bytes_ -= it->bytes;
        items_.erase(it);
        break;
    }
    if (!present) {
        return nullptr;
    }
    auto loaded = workspace::LoadPicture(path);
    if (!loaded) {
        return nullptr;
    }
    const std::size_t bytes = loaded->pixels.size() * sizeof(loaded->pixels[0]);
    auto picture = std::make_shared<const workspace::PixelImage>(std::move(*loaded));
    items_.push_front(Item{entry.path, fileSize, ticks, picture, bytes});
    bytes_ += bytes;
    // The newest picture stays even when it alone exceeds the budget.
    while (bytes_ > budget_ && items_.size() > 1) {
        bytes_ -= items_.back().bytes;
        items_.pop_back();
    }
    return picture;
}

void PictureCache::Clear() {
    items_.clear();
    bytes_ = 0;
}

}  // namespace pictor::gui
