#pragma once

#include <QImage>
#include <cstddef>
#include <list>
#include <string>

namespace pictor::workspace {
struct ImageEntry;
}  // namespace pictor::workspace

namespace pictor::gui {

/// The full pictures the preview draws, as QImages. An entry that keeps its
/// decoded bitmap is copied from it; an entry that keeps only its thumbnail is
/// decoded from its file when first asked. The most recently used pictures are
/// kept up to `budgetBytes` (at least one picture, whatever its size), so a long
/// list costs memory only for the pictures that are shown.
class PictureCache {
  public:
    explicit PictureCache(std::size_t budgetBytes = kDefaultBudget) : budget_(budgetBytes) {}

    /// The picture of `entry` at its own size; a null image when its file no longer
    /// loads (remembered until `Clear`, so a broken file is not read at every paint).
    QImage Picture(const workspace::ImageEntry& entry);
    /// Drops every picture (after the list changed or files may have been edited).
    void Clear();

    [[nodiscard]] std::size_t Bytes() const { return bytes_; }
    [[nodiscard]] std::size_t Count() const { return items_.size(); }

    static constexpr std::size_t kDefaultBudget = std::size_t{64} << 20;

  private:
    struct Item {
        const void* bitmap = nullptr;  // the entry's decoded bitmap, or null for a file
        std::string path;
        QImage image;
    };
    std::size_t budget_;
    std::size_t bytes_ = 0;
    std::list<Item> items_;  // most recently used first
};

}  // namespace pictor::gui
