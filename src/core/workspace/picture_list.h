#pragma once

#include <cstddef>
#include <vector>

#include "core/workspace/image_entry.h"

namespace pictor::workspace {

/// The ordered list of imported pictures and the current picture. Positions are
/// 0-based; -1 means no current picture. After every operation each entry's `index`
/// equals its position. A value type: copying it copies the entries (their bitmaps
/// are shared, immutable). Not synchronised: use it from one thread at a time.
class PictureList {
  public:
    [[nodiscard]] std::size_t Size() const { return entries_.size(); }
    [[nodiscard]] bool Empty() const { return entries_.empty(); }
    /// The entry at `position`; `position` must be less than Size().
    [[nodiscard]] const ImageEntry& At(std::size_t position) const { return entries_.at(position); }
    [[nodiscard]] ImageEntry& At(std::size_t position) { return entries_.at(position); }
    [[nodiscard]] const std::vector<ImageEntry>& Entries() const { return entries_; }

    /// Appends `entry` at the tail and sets its `index`. The current picture is unchanged.
    void Append(ImageEntry entry);

    /// Sorts by name (CompareNames), keeping equal names in their previous order,
    /// renumbers, and makes the first picture current (none when the list is empty).
    void SortByName();

    /// Position of the current picture, or -1.
    [[nodiscard]] int CurrentIndex() const { return current_; }
    /// The current picture, or nullptr when there is none.
    [[nodiscard]] const ImageEntry* Current() const;
    [[nodiscard]] ImageEntry* Current();
    /// Makes the picture at `position` current; -1 or a position outside the list
    /// leaves no current picture.
    void Select(int position);

    /// Removes the entries at the given positions (any order; duplicates and positions
    /// outside the list are ignored), keeps the others in their relative order,
    /// renumbers, and leaves no current picture.
    void DeleteRows(const std::vector<int>& rows);

    /// Removes every entry; no current picture.
    void RemoveAll();

    /// Moves the current picture one place towards the head (MoveUp) or the tail
    /// (MoveDown); it stays current. Returns false and changes nothing when there is
    /// no current picture or it is already first (last).
    bool MoveUp();
    bool MoveDown();

    /// Inverts the `shown` flag of the entry at `position`. Returns false when there
    /// is no such entry.
    bool ToggleShown(int position);

  private:
    void Renumber();
    [[nodiscard]] bool IsPosition(int position) const {
        return position >= 0 && static_cast<std::size_t>(position) < entries_.size();
    }

    std::vector<ImageEntry> entries_;
    int current_ = -1;
};

}  // namespace pictor::workspace
