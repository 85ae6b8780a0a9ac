#pragma once

#include <QUndoCommand>
#include <functional>
#include <string>

#include "core/workspace/picture_list.h"

namespace pictor::gui {

/// What an undoable change of the picture list replaces: the pictures (order,
/// shown flags, positions, the current picture) and the project's model.
struct ListState {
    workspace::PictureList pictures;
    std::string modelName;
};

/// True when the user would see a different list or model (the current picture
/// alone is no change).
bool ListStatesDiffer(const ListState& a, const ListState& b);

/// One undoable change of the list, of any kind (import, delete, sort, a move,
/// a shown flag, a model switch, …): the states before and after it. Undo puts
/// `before` back and redo `after`, both through `apply`, the one place that makes
/// a state the window's. The change was made before the command is pushed, so
/// its first redo does nothing. `text` is the change's name, a source text of
/// context "ListChange" (marked with QT_TRANSLATE_NOOP) shown in the language
/// of the moment ("Undo Delete").
class ListChangeCommand final : public QUndoCommand {
  public:
    using Apply = std::function<void(const ListState&)>;

    ListChangeCommand(const char* text, ListState before, ListState after, Apply apply);

    void undo() override;
    void redo() override;

    [[nodiscard]] const char* SourceText() const { return source_; }

  private:
    const char* source_;
    ListState before_;
    ListState after_;
    Apply apply_;
    bool done_ = true;  // the change was made when the command was pushed
};

}  // namespace pictor::gui
