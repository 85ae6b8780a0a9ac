#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "core/text/text_picture.h"
#include "core/workspace/picture_operations.h"

namespace pictor::workspace {
struct ImageEntry;
struct PixelImage;
}  // namespace pictor::workspace

namespace pictor::gui {

/// The full pictures the preview draws, after their operations. An entry that
/// keeps its decoded bitmap gives that bitmap; an entry that keeps only its
/// thumbnail is loaded from its file (a text: drawn with its font) and operated on
/// when first asked, and again when the file's size or modification time, the
/// operations or the text have changed since. The most recently used decoded pictures are kept up
/// to `budgetBytes` (at least one, whatever its size), so a long list costs memory only for the
/// pictures that are shown.
class PictureCache {
  public:
    explicit PictureCache(std::size_t budgetBytes = kDefaultBudget) : budget_(budgetBytes) {}

    /// The picture of `entry` at its own size; null when its file does not load.
    /// The same picture object is returned while it stays cached and its file is
    /// unchanged, so copies made from it can be kept by its address.
    std::shared_ptr<const workspace::PixelImage> Picture(const workspace::ImageEntry& entry);
    /// Drops every decoded picture.
    void Clear();

    [[nodiscard]] std::size_t Bytes() const { return bytes_; }
    [[nodiscard]] std::size_t Count() const { return items_.size(); }

    static constexpr std::size_t kDefaultBudget = std::size_t{64} << 20;

  private:
    struct Item {
        std::string path;  // the picture file, or a text's font
        workspace::PictureOperations operations;
        std::shared_ptr<const text::TextPicture> text;
        std::uintmax_t fileSize = 0;
        std::int64_t modified = 0;  // file time ticks
        std::shared_ptr<const workspace::PixelImage> picture;
        std::size_t bytes = 0;
    };
    std::size_t budget_;
    std::size_t bytes_ = 0;
    std::list<Item> items_;  // most recently used first
};

}  // namespace pictor::gui
