// The main window's undo history: every change of the picture list (and of the
// project's model) is one step of the undo stack, applied back in one place.
#include <QAction>
#include <QKeySequence>
#include <QUndoStack>

#include "core/settings/model_list.h"
#include "core/settings/startup_profile.h"
#include "gui/lcd_preview.h"
#include "gui/list_history.h"
#include "gui/main_window.h"
#include "gui/ui_language.h"

namespace pictor::gui {

ListState MainWindow::CurrentListState() const {
    return ListState{pictures_, profile_.modelName};
}

void MainWindow::ChangeList(const char* text,
                            const std::function<void(workspace::PictureList&)>& change) {
    ListState before = CurrentListState();
    change(pictures_);
    ShowList();
    RecordListChange(text, std::move(before));
}

void MainWindow::RecordListChange(const char* text, ListState before) {
    ListState after = CurrentListState();
    if (!ListStatesDiffer(before, after)) {
        return;
    }
    undoStack_->push(
        new ListChangeCommand(text, std::move(before), std::move(after),
                              [this](const ListState& state) { ApplyListState(state); }));
}

void MainWindow::ApplyListState(const ListState& state) {
    dragging_ = false;
    if (state.modelName != profile_.modelName) {
        const auto names = settings::ReadModelNames(settings::ProfileFile(settingsPath_));
        if (const auto index = settings::FindModel(names, state.modelName)) {
            ActivateModel(*index);
        }
    }
    pictures_ = state.pictures;
    ShowList();
}

void MainWindow::ShowList() {
    RebuildList();
    preview_->Redraw();
    SelectPicture(pictures_.CurrentIndex());
    RefreshStatus();
}

void MainWindow::ResetHistory() {
    undoStack_->clear();
    undoStack_->setClean();
}

void MainWindow::BuildUndoActions() {
    undoStack_ = new QUndoStack(this);
    auto* undo = new QAction(this);
    undo->setObjectName(QStringLiteral("undoAction"));
    undo->setShortcut(QKeySequence::Undo);
    auto* redo = new QAction(this);
    redo->setObjectName(QStringLiteral("redoAction"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {undo, redo}) {
        action->setEnabled(false);
        actions_[action->objectName()] = action;
    }
    connect(undo, &QAction::triggered, undoStack_, &QUndoStack::undo);
    connect(redo, &QAction::triggered, undoStack_, &QUndoStack::redo);
    connect(undoStack_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::indexChanged, this, [this] {
        ShowUndoTexts();
        RefreshStatus();
    });
    connect(undoStack_, &QUndoStack::cleanChanged, this, &MainWindow::RefreshStatus);
    ShowUndoTexts();
}

void MainWindow::ShowUndoTexts() {
    if (undoStack_ == nullptr) {
        return;
    }
    // The step's name in the language of the moment: "Undo Delete", "Redo Sort by name".
    const auto name = [this](int index) {
        const auto* command = dynamic_cast<const ListChangeCommand*>(undoStack_->command(index));
        return command != nullptr ? Translate("ListChange", command->SourceText()) : QString();
    };
    const int index = undoStack_->index();
    const QString undone = name(index - 1);
    const QString redone = name(index);
    QAction* undo = Action(QStringLiteral("undoAction"));
    QAction* redo = Action(QStringLiteral("redoAction"));
    undo->setText(undone.isEmpty() ? Translate("MainWindow", "&Undo")
                                   : Translate("MainWindow", "&Undo %1").arg(undone));
    redo->setText(redone.isEmpty() ? Translate("MainWindow", "&Redo")
                                   : Translate("MainWindow", "&Redo %1").arg(redone));
    for (QAction* action : {undo, redo}) {
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(QString(action->text()).remove(QLatin1Char('&')),
                                          action->shortcut().toString(QKeySequence::NativeText)));
    }
}

}  // namespace pictor::gui
