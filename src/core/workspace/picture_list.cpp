#include "core/workspace/picture_list.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "core/workspace/name_compare.h"

namespace pictor::workspace {

void PictureList::Append(ImageEntry entry) {
    entry.index = static_cast<int>(entries_.size());
    entries_.push_back(std::move(entry));
}

void PictureList::SortByName() {
    // Each name is converted once; the sort then compares the prepared keys.
    std::vector<NameKey> keys;
    keys.reserve(entries_.size());
    for (const ImageEntry& entry : entries_) {
        keys.push_back(MakeNameKey(entry.name));
    }
    std::vector<std::size_t> order(entries_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
        return CompareNameKeys(keys[a], keys[b]) < 0;
    });

    std::vector<ImageEntry> sorted;
    sorted.reserve(entries_.size());
    for (const std::size_t from : order) {
        sorted.push_back(std::move(entries_[from]));
    }
    entries_ = std::move(sorted);
    Renumber();
    current_ = entries_.empty() ? -1 : 0;
}

const ImageEntry* PictureList::Current() const {
    return IsPosition(current_) ? &entries_[static_cast<std::size_t>(current_)] : nullptr;
}

ImageEntry* PictureList::Current() {
    return IsPosition(current_) ? &entries_[static_cast<std::size_t>(current_)] : nullptr;
}

void PictureList::Select(int position) {
    current_ = IsPosition(position) ? position : -1;
}

void PictureList::DeleteRows(const std::vector<int>& rows) {
    std::vector<bool> doomed(entries_.size(), false);
    for (const int row : rows) {
        if (IsPosition(row)) {
            doomed[static_cast<std::size_t>(row)] = true;
        }
    }
    std::vector<ImageEntry> kept;
    kept.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!doomed[i]) {
            kept.push_back(std::move(entries_[i]));
        }
    }
    entries_ = std::move(kept);
    Renumber();
    current_ = -1;
}

void PictureList::RemoveAll() {
    entries_.clear();
    current_ = -1;
}

bool PictureList::MoveUp() {
    if (!IsPosition(current_) || current_ == 0) {
        return false;
    }
    const auto at = static_cast<std::size_t>(current_);
    std::swap(entries_[at - 1], entries_[at]);
    --current_;
    Renumber();
    return true;
}

bool PictureList::MoveDown() {
    if (!IsPosition(current_) || static_cast<std::size_t>(current_) + 1 >= entries_.size()) {
        return false;
    }
    const auto at = static_cast<std::size_t>(current_);
    std::swap(entries_[at], entries_[at + 1]);
    ++current_;
    Renumber();
    return true;
}

bool PictureList::ToggleShown(int position) {
    if (!IsPosition(position)) {
        return false;
    }
    ImageEntry& entry = entries_[static_cast<std::size_t>(position)];
    entry.shown = !entry.shown;
    return true;
}

void PictureList::Renumber() {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i].index = static_cast<int>(i);
    }
}

}  // namespace pictor::workspace
