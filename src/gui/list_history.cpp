#include "gui/list_history.h"

#include <utility>

#include "gui/ui_language.h"

namespace pictor::gui {

bool ListStatesDiffer(const ListState& a, const ListState& b) {
    if (a.modelName != b.modelName || a.pictures.Size() != b.pictures.Size()) {
        return true;
    }
    for (std::size_t i = 0; i < a.pictures.Size(); ++i) {
        const workspace::ImageEntry& x = a.pictures.At(i);
        const workspace::ImageEntry& y = b.pictures.At(i);
        if (x.path != y.path || x.shown != y.shown || x.left != y.left || x.top != y.top ||
            x.bitmap != y.bitmap || x.thumbnail != y.thumbnail || x.operations != y.operations ||
            x.text != y.text) {
            return true;
        }
    }
    return false;
}

ListChangeCommand::ListChangeCommand(const char* text, ListState before, ListState after,
                                     Apply apply)
    : QUndoCommand(Translate("ListChange", text)),
      source_(text),
      before_(std::move(before)),
      after_(std::move(after)),
      apply_(std::move(apply)) {}

void ListChangeCommand::undo() {
    apply_(before_);
    done_ = false;
}

void ListChangeCommand::redo() {
    if (done_) {
        return;
    }
    apply_(after_);
    done_ = true;
}

}  // namespace pictor::gui
