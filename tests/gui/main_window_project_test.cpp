// The main window as a daily tool: the project file, the question before a changed
// list is lost, the shared commands and their shortcuts, model switching and the
// state remembered per user.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include "core/settings/profile_file.h"
#include "gui/lcd_preview.h"
#include "gui/user_state.h"
#include "main_window_fixture.h"

namespace pictor::gui::testing {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ProjectWindowTest : public MainWindowTest {
  protected:
    QString Path(const QString& name) const { return QDir(dir_->Dir()).filePath(name); }

    void Trigger(const char* action) {
        QAction* found = window_->Action(QString::fromLatin1(action));
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }

    void SelectRow(int row) {
        auto* list = Get<QTreeView>(1000);
        list->selectionModel()->select(
            list->model()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    void ShowAndActivate() {
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    std::vector<bool> Shown() const {
        std::vector<bool> shown;
        for (const auto& entry : window_->Pictures().Entries()) {
            shown.push_back(entry.shown);
        }
        return shown;
    }
};

TEST_F(ProjectWindowTest, ClosingAChangedListAsksSaveDiscardOrCancel) {
    MainWindow& window = Start();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);  // nothing to lose: no question
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dialogs_.questions.empty());

    ShowAndActivate();
    Import({Picture("a.bmp")});
    EXPECT_TRUE(window.isWindowModified());

    dialogs_.questionAnswers = {QMessageBox::Cancel};
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(dialogs_.questions.size(), 1u);
    EXPECT_EQ(dialogs_.questionButtons[0],
              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    // A stray Enter or Space answers Cancel: the window and the list stay.
    EXPECT_EQ(dialogs_.questionDefaults[0], QMessageBox::Cancel);
    QTest::keyClick(&window, Qt::Key_Escape);  // unanswered: the default
    EXPECT_TRUE(window.isVisible());

    // Save whose file chooser is cancelled keeps the window too.
    dialogs_.questionAnswers = {QMessageBox::Save};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());

    // Save writes the project (the suffix added) and then closes.
    dialogs_.questionAnswers = {QMessageBox::Save};
    dialogs_.saveAnswers = {Path("list")};
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.ProjectPath(), Path("list.pictor"));
    EXPECT_FALSE(window.isWindowModified());
    const QByteArray saved = ReadAll(Path("list.pictor"));
    EXPECT_TRUE(saved.contains("a.bmp"));

    // Discard closes and writes nothing.
    window.show();
    SelectRow(0);
    emit Get<QTreeView>(1000)->doubleClicked(Get<QTreeView>(1000)->model()->index(0, 0));
    EXPECT_TRUE(window.isWindowModified());
    dialogs_.questionAnswers = {QMessageBox::Discard};
    EXPECT_TRUE(window.close());
    EXPECT_EQ(ReadAll(Path("list.pictor")), saved);
}

TEST_F(ProjectWindowTest, ProjectRoundTripKeepsOrderFlagsAndPositions) {
    MainWindow& window = Start();
    Import({Picture("a.bmp"), Picture("b.bmp", 8, 8, Qt::blue, 10, 20),
            Picture("c.bmp", 4, 4, Qt::green)});
    Button(1028)->click();  // c up: a, c, b
    SelectRow(1);
    emit Get<QTreeView>(1000)->doubleClicked(Get<QTreeView>(1000)->model()->index(1, 0));
    Get<QLineEdit>(1012)->setText("7");
    Get<QLineEdit>(1013)->setText("9");
    Button(1014)->click();
    ASSERT_EQ(Names(), (std::vector<std::string>{"a", "c", "b"}));

    dialogs_.saveAnswers = {Path("list.pictor")};
    Trigger("saveProjectAsAction");
    EXPECT_EQ(window.windowTitle(), "list.pictor[*] — Pictor");
    EXPECT_FALSE(window.isWindowModified());
    // Paths are stored relative to the project file.
    EXPECT_FALSE(ReadAll(Path("list.pictor")).contains(dir_->Dir().toUtf8()));

    Trigger("newProjectAction");  // saved: no question
    EXPECT_TRUE(dialogs_.questions.empty());
    EXPECT_TRUE(window.Pictures().Empty());
    EXPECT_TRUE(window.ProjectPath().isEmpty());

    dialogs_.fileAnswers = {{Path("list.pictor")}};
    Trigger("openProjectAction");
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(Shown(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(window.Pictures().At(1).left, 7);
    EXPECT_EQ(window.Pictures().At(1).top, 9);
    EXPECT_EQ(window.Pictures().At(2).left, 10);  // the trailer's position, kept
    EXPECT_EQ(window.Pictures().At(2).top, 20);
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.Preview().Render().pixelColor(8, 10), QColor(Qt::green));
    EXPECT_EQ(dialogs_.fileRequests.back().caption, "Open project");

    // A vanished picture is listed; the others are kept and the list counts as changed.
    ASSERT_TRUE(QFile::remove(Path("a.bmp")));
    dialogs_.messages.clear();
    ASSERT_TRUE(window.OpenProject(Path("list.pictor")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "b"}));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_NE(dialogs_.messages[0].text.find("a.bmp"), std::string::npos);
    EXPECT_TRUE(window.isWindowModified());

    // A file that is no project is said so and changes nothing.
    WriteFile(Path("bad.pictor"), "not a project\n");
    dialogs_.messages.clear();
    EXPECT_FALSE(window.OpenProject(Path("bad.pictor")));
    EXPECT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "b"}));
    EXPECT_EQ(window.ProjectPath(), Path("list.pictor"));
}

TEST_F(ProjectWindowTest, ConvertWritesIntoTheProjectsOutputFolder) {
    MainWindow& window = Start();
    Import({Picture("a.bmp", 2, 2)});
    ASSERT_TRUE(QDir(dir_->Dir()).mkdir("out"));
    workspace::Project project =
        workspace::ProjectFromList(window.Pictures(), "Panel", Path("out").toStdString());
    ASSERT_TRUE(workspace::SaveProject(Path("out.pictor").toStdString(), project));
    dialogs_.questionAnswers = {QMessageBox::Discard};
    Trigger("newProjectAction");
    ASSERT_TRUE(window.OpenProject(Path("out.pictor")));
    Trigger("convertAction");
    EXPECT_TRUE(QFile::exists(Path("out/Icon.bin")));
    EXPECT_FALSE(QFile::exists(Path("Icon.bin")));
}

#ifdef PICTOR_CLI_PATH
TEST_F(ProjectWindowTest, CliConvertOfTheProjectIsByteIdenticalToTheGuis) {
    qputenv("SOURCE_DATE_EPOCH", "0");  // the same generation time in both headers
    MainWindow& window = Start(Settings() + "SAVE_LEFT_TOP_TO_DEFINE=1\n");
    Import({Picture("zeta.bmp", 3, 2, Qt::blue, 4, 5), Picture("alpha.bmp", 2, 3, Qt::green),
            Picture("mid.bmp", 5, 1, Qt::red)});
    Button(1028)->click();  // alpha, zeta, mid: the conversion sorts again
    SelectRow(0);
    emit Get<QTreeView>(1000)->doubleClicked(Get<QTreeView>(1000)->model()->index(0, 0));
    Get<QLineEdit>(1012)->setText("-1");  // partly off the panel: allowed
    Get<QLineEdit>(1013)->setText("17");
    Button(1014)->click();
    dialogs_.saveAnswers = {Path("p.pictor")};
    Trigger("saveProjectAction");

    // The command line first: the GUI's convert then writes the position trailers.
    ASSERT_TRUE(QDir(dir_->Dir()).mkdir("cli"));
    QProcess cli;
    cli.start(QStringLiteral(PICTOR_CLI_PATH), {"convert", "--settings", dir_->Path(), "--project",
                                                Path("p.pictor"), "--output-dir", Path("cli")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    dialogs_.questionAnswers = {QMessageBox::Discard};
    Trigger("newProjectAction");
    ASSERT_TRUE(window.OpenProject(Path("p.pictor")));
    Trigger("convertAction");
    qunsetenv("SOURCE_DATE_EPOCH");

    const QByteArray guiBin = ReadAll(Path("Icon.bin"));
    EXPECT_EQ(guiBin.size(), 2048 + 2 * (6 + 6 + 5));
    EXPECT_EQ(ReadAll(Path("cli/Icon.bin")), guiBin);
    EXPECT_EQ(ReadAll(Path("cli/Icon.h")), ReadAll(Path("Icon.h")));
    // The positions come from the project, not from the pictures' trailers.
    EXPECT_TRUE(ReadAll(Path("Icon.h")).contains("#define ALPHA_L  -1\r\n"));
}
#endif

TEST_F(ProjectWindowTest, ModelBoxAndProjectsSwitchTheProfileWithoutARestart) {
    MainWindow& window = Start(TwoModels());
    auto* box = window.findChild<QComboBox*>("modelBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Items(box), (QStringList{"Panel", "Mono"}));
    EXPECT_EQ(box->currentText(), "Panel");

    Choose(box, 1);
    EXPECT_EQ(window.Profile().modelName, "Mono");
    EXPECT_EQ(window.Profile().colorDepth, 1);
    EXPECT_EQ(window.Profile().pixelsPerByte, 8);
    EXPECT_EQ(dir_->Key("COMMON", "CURRENT_MODE"), "1");
    EXPECT_TRUE(window.findChild<QLabel*>("statusModel")->text().contains("Mono"));
    EXPECT_TRUE(window.findChild<QLabel*>("statusPanel")->text().contains("1-Bit"));

    // A project remembers its model and makes it active again when opened.
    Import({Picture("a.bmp")});
    dialogs_.saveAnswers = {Path("mono.pictor")};
    Trigger("saveProjectAction");
    Choose(box, 0);
    EXPECT_EQ(window.Profile().colorDepth, 16);
    dialogs_.questionAnswers = {QMessageBox::Discard};  // the model changed the project
    dialogs_.fileAnswers = {{Path("mono.pictor")}};
    Trigger("openProjectAction");
    EXPECT_EQ(window.Profile().modelName, "Mono");
    EXPECT_EQ(box->currentText(), "Mono");

    // An unknown model is said so; the active one stays.
    workspace::Project other = workspace::ProjectFromList(window.Pictures(), "Gone", {});
    ASSERT_TRUE(workspace::SaveProject(Path("gone.pictor").toStdString(), other));
    dialogs_.messages.clear();
    ASSERT_TRUE(window.OpenProject(Path("gone.pictor")));
    EXPECT_EQ(window.Profile().modelName, "Mono");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_NE(dialogs_.messages[0].text.find("Gone"), std::string::npos);

    // The configuration dialog's OK switches as well.
    dialogs_.modalHandlers["ConfigDialog"] = [](QDialog& dialog) {
        Choose(Control<QComboBox>(&dialog, 1031), 0);
        Control<QPushButton>(&dialog, 1)->click();
        return dialog.result();
    };
    Trigger("configureModelsAction");
    EXPECT_EQ(window.Profile().modelName, "Panel");
    EXPECT_EQ(box->currentText(), "Panel");
}

TEST_F(ProjectWindowTest, ShortcutsButtonsAndMenusRunTheSameCommands) {
    MainWindow& window = Start();
    ShowAndActivate();

    // The import button runs its action once: nothing is wired twice.
    QSignalSpy importSpy(window.Action("importAction"), &QAction::triggered);
    Import({Picture("a.bmp"), Picture("b.bmp"), Picture("c.bmp")});
    EXPECT_EQ(importSpy.count(), 1);
    EXPECT_EQ(dialogs_.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs_.fileRequests[0].caption, "Import pictures");
    EXPECT_TRUE(dialogs_.fileRequests[0].filter.contains("*.png"));

    // Ctrl+I imports; the chooser starts where the last import was ("DEFAULT_DIR_PATH").
    dialogs_.fileAnswers.push_back({Picture("d.bmp")});
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    ASSERT_EQ(dialogs_.fileRequests.size(), 2u);
    EXPECT_EQ(dialogs_.fileRequests[1].directory, dir_->Dir());
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "d"}));

    // The arrow keys move the current picture; Ctrl+Up moves the picture itself.
    auto* list = Get<QTreeView>(1000);
    list->setFocus();
    list->setCurrentIndex(list->model()->index(3, 0));
    QTest::keyClick(list, Qt::Key_Up);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.Pictures().CurrentIndex(), 2);
    EXPECT_EQ(Get<QLineEdit>(1022)->text(), "2");
    QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "c", "b", "d"}));
    EXPECT_EQ(window.Pictures().CurrentIndex(), 1);
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "d"}));

    // Del removes the one selected picture without a question.
    SelectRow(0);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b", "c", "d"}));
    EXPECT_TRUE(dialogs_.questions.empty());

    // Ctrl+B converts into the start directory.
    QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(Path("Icon.bin")));

    // Every button explains itself.
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
    }
    // A disabled button disables its command.
    EXPECT_FALSE(Button(1088)->isEnabled());
    EXPECT_FALSE(window.Action("closePortAction")->isEnabled());

    // Ctrl+Q quits, asking first about the changed list.
    dialogs_.questionAnswers = {QMessageBox::Discard};
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(dialogs_.questions.size(), 1u);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ProjectWindowTest, ZoomScalesThePreviewButNotItsPixels) {
    MainWindow& window = Start();
    Import({Picture("box.bmp", 30, 40, Qt::red, 10, 20)});
    SelectRow(0);
    emit Get<QTreeView>(1000)->doubleClicked(Get<QTreeView>(1000)->model()->index(0, 0));
    LcdPreview& preview = window.Preview();

    Trigger("zoom2Action");
    EXPECT_EQ(preview.size(), QSize(640, 480));
    EXPECT_EQ(preview.Render().size(), QSize(320, 240));
    // A drag at 2x moves the picture by half the screen distance.
    QTest::mousePress(&preview, Qt::LeftButton, {}, QPoint(24, 44));
    QTest::mouseMove(&preview, QPoint(34, 54));
    QTest::mouseRelease(&preview, Qt::LeftButton, {}, QPoint(34, 54));
    EXPECT_EQ(window.Pictures().At(0).left, 15);
    EXPECT_EQ(window.Pictures().At(0).top, 25);

    Trigger("zoom1Action");
    EXPECT_EQ(preview.size(), QSize(320, 240));
}

TEST_F(ProjectWindowTest, ListStyleAndRecentProjectsAreRememberedPerUser) {
    MainWindow& first = Start();
    Trigger("listIconAction");
    EXPECT_EQ(Get<QComboBox>(1005)->currentText(), "图标");
    Import({Picture("a.bmp")});
    dialogs_.saveAnswers = {Path("one.pictor")};
    Trigger("saveProjectAction");
    EXPECT_EQ(dialogs_.saveRequests.back().caption, "Save project as");
    EXPECT_TRUE(first.close());
    const QString project = Path("one.pictor");
    const auto keep = std::move(dir_);  // the project's folder outlives the first window

    MainWindow& second = Start();
    EXPECT_EQ(Get<QComboBox>(1005)->currentText(), "图标");
    EXPECT_EQ(UserState().RecentProjects().value(0), project);
    auto* recent = second.findChild<QMenu*>("recentMenu");
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_FALSE(recent->actions().isEmpty());
    recent->actions().front()->trigger();
    EXPECT_EQ(second.ProjectPath(), project);
    EXPECT_EQ(Names(), std::vector<std::string>{"a"});
}

TEST(RecentProjectsTest, MostRecentFirstWithoutDuplicatesAndAtMostTheLimit) {
    QStringList list;
    for (int i = 0; i < 10; ++i) {
        list = WithRecentFirst(list, QString::number(i), UserState::kRecentProjects);
    }
    EXPECT_EQ(list, (QStringList{"9", "8", "7", "6", "5", "4", "3", "2"}));
    list = WithRecentFirst(list, "5", UserState::kRecentProjects);
    EXPECT_EQ(list, (QStringList{"5", "9", "8", "7", "6", "4", "3", "2"}));
}

}  // namespace
}  // namespace pictor::gui::testing
