#include "gui/picture_cache.h"

#include <filesystem>

#include "core/common/regular_file.h"
#include "core/workspace/entry_pictures.h"
#include "core/workspace/image_entry.h"

namespace pictor::gui {

std::shared_ptr<const workspace::PixelImage> PictureCache::Picture(
    const workspace::ImageEntry& entry) {
    if (entry.bitmap) {
        return entry.bitmap;
    }
    const std::string source = entry.text ? Utf8FromPath(entry.text->font) : entry.path;
    const std::filesystem::path path = PathFromUtf8(source);
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
    const bool present = !error;
    const auto modified = std::filesystem::last_write_time(path, error);
    const std::int64_t ticks = error ? 0 : modified.time_since_epoch().count();

    const auto sameText = [&entry](const Item& item) {
        return item.text == entry.text || (item.text && entry.text && *item.text == *entry.text);
    };
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (it->path != source || it->operations != entry.operations || !sameText(*it)) {
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
    // A file changed since it was listed is shown as it now is.
    auto loaded = workspace::LoadEntryPicture(entry, workspace::ListedSize::Any);
    if (!loaded) {
        return nullptr;
    }
    const std::size_t bytes = loaded->pixels.size() * sizeof(loaded->pixels[0]);
    auto picture = std::make_shared<const workspace::PixelImage>(std::move(*loaded));
    items_.push_front(Item{source, entry.operations, entry.text, fileSize, ticks, picture, bytes});
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
