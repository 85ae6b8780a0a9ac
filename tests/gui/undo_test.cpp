// Undo and redo of every change to the picture list, and the title's mark of a
// list that differs from the saved one.
#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>
#include <functional>
#include <tuple>

#include "gui/lcd_preview.h"
#include "main_window_fixture.h"

namespace pictor::gui::testing {
namespace {

// What the user sees of the list: names in order, shown flags, positions, model.
using SeenPicture = std::tuple<std::string, bool, int, int>;
struct Seen {
    std::vector<SeenPicture> pictures;
    std::string model;
    bool operator==(const Seen&) const = default;
};

class UndoTest : public MainWindowTest {
  protected:
    MainWindow& StartWithThree() {
        MainWindow& window = Start(TwoModels());
        Import({Picture("c.bmp", 8, 8, Qt::red, 1, 2), Picture("a.bmp", 8, 8, Qt::green, 30, 40),
                Picture("b.bmp")});
        window.UndoStack().clear();  // the import is tested on its own
        return window;
    }

    Seen Now() const {
        Seen seen;
        for (const auto& entry : window_->Pictures().Entries()) {
            seen.pictures.emplace_back(entry.name, entry.shown, entry.left, entry.top);
        }
        seen.model = window_->Profile().modelName;
        // The list view shows the same lis
        EXPECT_EQ(Get<QTreeView>(1000)->model()->rowCount(),
                  static_cast<int>(window_->Pictures().Size()));
        return seen;
    }

    void Trigger(const char* name) {
        QAction* action = window_->Action(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }

    void SelectRow(int row) {
        auto* list = Get<QTreeView>(1000);
        list->selectionModel()->setCurrentIndex(
            list->model()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        window_->OnListClick();
    }
};

// Each kind of change is undone to exactly the list before it and redone to
// exactly the list after it, as one step with the change's name.
TEST_F(UndoTest, EveryListChangeIsOneStepBackAndForth) {
    const struct {
        const char* name;
        const char* undoText;
        std::function<void()> change;
    } cases[] = {
        {"import", "&Undo Import pictures",
         [this] {
             Import({Picture("d.bmp"), Picture("0.bmp")});
         }},
        {"delete", "&Undo Delete",
         [this] {
             SelectRow(0);
             Get<QTreeView>(1000)->selectionModel()->select(
                 Get<QTreeView>(1000)->model()->index(2, 0),
                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
             Trigger("deleteAction");
         }},
        {"remove all", "&Undo Remove all",
         [this] {
             dialogs_.questionAnswers = {QMessageBox::Yes};
             Trigger("removeAllAction");
         }},
        {"sort", "&Undo Sort by name",
         [this] {
             SelectRow(0);
             Trigger("moveDownAction");
             window_->UndoStack().clear();
             Trigger("sortAction");
         }},
        {"move up", "&Undo Move up",
         [this] {
             SelectRow(2);
             Trigger("moveUpAction");
         }},
        {"move down", "&Undo Move down",
         [this] {
             SelectRow(0);
             Trigger("moveDownAction");
         }},
        {"shown flag", "&Undo Show picture", [this] { window_->ToggleShown(1); }},
        {"typed position", "&Undo Move picture",
         [this] {
             SelectRow(1);
             Get<QLineEdit>(1012)->setText("50");
             Get<QLineEdit>(1013)->setText("60");
             Button(1014)->click();
         }},
        {"model switch", "&Undo Switch model", [this] { window_->SwitchModel(1); }},
        {"conversion's sort", "&Undo Sort by name",
         [this] {
             SelectRow(0);
             Trigger("moveDownAction");
             window_->UndoStack().clear();
             Button(1021)->click();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithThree();
        c.change();
        ASSERT_EQ(window_->UndoStack().count(), 1) << c.name;
        const Seen after = Now();
        EXPECT_EQ(window_->Action("undoAction")->text().toStdString(), c.undoText);

        window_->UndoStack().undo();
        const Seen before = Now();
        EXPECT_NE(before, after);
        Trigger("redoAction");
        EXPECT_EQ(Now(), after);
        Trigger("undoAction");
        EXPECT_EQ(Now(), before);
        EXPECT_FALSE(window_->Action("undoAction")->isEnabled());
        if (c.name == std::string("model switch")) {
            EXPECT_EQ(dir_->Key("COMMON", "CURRENT_MODE"), "0");
        }
        window_.reset();
    }
}

TEST_F(UndoTest, ADragIsOneStepAndDeletingAsksNothing) {
    MainWindow& window = StartWithThree();
    SelectRow(0);  // "a" at 30, 40
    LcdPreview& preview = window.Preview();
    QTest::mousePress(&preview, Qt::LeftButton, {}, QPoint(32, 42));
    for (int step = 1; step <= 5; ++step) {
        QTest::mouseMove(&preview, QPoint(32 + step * 3, 42 + step));
    }
    QTest::mouseRelease(&preview, Qt::LeftButton, {}, QPoint(47, 47));
    EXPECT_EQ(window.Pictures().At(0).left, 45);
    EXPECT_EQ(window.UndoStack().count(), 1);
    window.UndoStack().undo();
    EXPECT_EQ(window.Pictures().At(0).left, 30);
    EXPECT_EQ(window.Pictures().At(0).top, 40);

    SelectRow(1);
    Trigger("deleteAction");
    EXPECT_TRUE(dialogs_.questions.empty());
    EXPECT_EQ(window.Pictures().Size(), 2u);

    // The usual shortcuts.
    EXPECT_EQ(window.Action("undoAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_TRUE(
        window.Action("redoAction")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    EXPECT_TRUE(window.Action("redoAction")
                    ->shortcuts()
                    .contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
}

// Undoing back to the saved list clears the title's mark; redoing sets it again.
TEST_F(UndoTest, UndoingBackToTheSavedListClearsTheMark) {
    MainWindow& window = StartWithThree();
    ASSERT_TRUE(window.SaveProjectTo(QDir(dir_->Dir()).filePath("lispictor")));
    EXPECT_FALSE(window.isWindowModified());
    window.ToggleShown(0);
    window.ToggleShown(1);
    EXPECT_TRUE(window.isWindowModified());
    window.UndoStack().undo();
    EXPECT_TRUE(window.isWindowModified());
    window.UndoStack().undo();
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_TRUE(window.UndoStack().isClean());
    window.UndoStack().redo();
    EXPECT_TRUE(window.isWindowModified());

    // Opening a project starts a new history.
    ASSERT_TRUE(window.OpenProject(QDir(dir_->Dir()).filePath("lispictor")));
    EXPECT_EQ(window.UndoStack().count(), 0);
    EXPECT_FALSE(window.isWindowModified());
}

}  // namespace
}  // namespace pictor::gui::testing
