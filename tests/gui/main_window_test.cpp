#include <sys/stat.h>

#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "gui/about_dialog.h"
#include "gui/lcd_preview.h"
#include "gui/memory_map_dialog.h"
#include "gui/message_bar.h"
#include "main_window_fixture.h"
#include "version/program_version.h"

namespace pictor::gui::testing {
namespace {

TEST_F(MainWindowTest, StartsWithTheScomDefaultsAndAnEmptyList) {
    MainWindow& window = Start();
    EXPECT_EQ(window.windowTitle(), "Untitled[*] — Pictor");
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(Get<QComboBox>(1091)->currentText(), "COM1");
    EXPECT_EQ(Get<QComboBox>(1090)->currentText(), "256000");
    EXPECT_EQ(Get<QComboBox>(1005)->currentText(), "详细信息");
    EXPECT_EQ(Get<QLabel>(1100)->text(), "Ready");
    EXPECT_FALSE(Button(1088)->isEnabled());
    EXPECT_TRUE(Button(1087)->isEnabled());
    EXPECT_EQ(window.Pictures().CurrentIndex(), -1);
    EXPECT_EQ(window.Preview().size(), QSize(320, 240));

    QAction* about = window.findChild<QAction*>("aboutAction");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "关于 Pictor(&A)...");
    about->trigger();
    EXPECT_EQ(dialogs_.modalRuns.back(), "AboutDialog");
    // The box shows the version the command-line programs print.
    const AboutDialog box;
    const auto* version = box.findChild<QLabel*>("versionLabel");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text().toStdString(), "Version " + std::string(ProgramVersion()));
}

TEST_F(MainWindowTest, EnterKeepsTheWindowAndEscapeEndsIt) {
    MainWindow& window = Start();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(Get<QLineEdit>(1011), Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter);
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, StyleBoxSwitchesTheListView) {
    MainWindow& window = Start();
    auto* views = window.findChild<QStackedWidget*>("pictureViews");
    ASSERT_NE(views, nullptr);
    EXPECT_EQ(Get<QComboBox>(1005)->currentText(), "详细信息");
    const struct {
        int index;
        const char* view;
    } cases[] = {{0, "pictureIcons"}, {1, "pictureRows"}, {2, "pictureList"}};
    for (const auto& c : cases) {
        Choose(Get<QComboBox>(1005), c.index);
        EXPECT_EQ(views->currentWidget()->objectName(), c.view);
    }
}

TEST_F(MainWindowTest, CancelledConfigurationEndsTheStart) {
    SettingsDir dir(Settings());
    dialogs_.modalHandlers["ConfigDialog"] = [](QDialog& dialog) {
        dialog.reject();
        return dialog.result();
    };
    MainWindow window(dir.FsPath(), dialogs_);
    EXPECT_FALSE(window.Start());
}

TEST_F(MainWindowTest, ImportSortsSkipsFailuresAndSelectsTheLast) {
    MainWindow& window = Start();
    const QString bad = QDir(dir_->Dir()).filePath("broken.bmp");
    WriteFile(bad, "not a bitmap");
    Import({Picture("beta.bmp"), Picture("Alpha.bmp", 10, 20, Qt::green, 10, 20), bad,
            Picture("gamma.bmp")});

    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "1 picture was not imported:\n" +
                                             QDir::toNativeSeparators(bad).toStdString() +
                                             ": unsupported format (not a bitmap or PNG)");
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.Pictures().CurrentIndex(), 2);
    EXPECT_EQ(Get<QLineEdit>(1022)->text(), "2");
    EXPECT_EQ(window.Pictures().At(0).left, 10);
    EXPECT_EQ(window.Pictures().At(0).top, 20);

    auto* list = Get<QTreeView>(1000);
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), "Alpha");
    EXPECT_EQ(list->model()->index(2, 1).data().toString(), "2");
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), "名称");
    EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), "排列序号");

    EXPECT_EQ(dir_->Key("COMMON", "OPEN_FILE_MEMORY_SIZE"), "1024");
    EXPECT_EQ(dir_->Key("COMMON", "DEFAULT_DIR_PATH"),
              QDir::toNativeSeparators(QDir(dir_->Dir()).absolutePath()).toStdString());

    dialogs_.messages.clear();
    Import({});  // cancelled
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], (Message{"没有正常导入bmp", "", MessageIcon::Information}));
    EXPECT_EQ(window.Pictures().Size(), 3u);
}

TEST_F(MainWindowTest, SelectionLargerThanTheNameBufferIsNotImported) {
    MainWindow& window = Start(Settings("OPEN_FILE_MEMORY_SIZE=1"));
    QStringList paths;
    for (int i = 0; i < 30; ++i) {  // 30 names of 40 bytes: more than 1 KiB
        paths << Picture(
            QString("picture_with_a_rather_long_name_%1.bmp").arg(i, 4, 10, QChar('0')));
    }
    Import(paths);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "没有正常导入bmp");
    EXPECT_TRUE(window.Pictures().Empty());
    EXPECT_EQ(dir_->Key("COMMON", "OPEN_FILE_MEMORY_SIZE"), "1");

    Import(paths.mid(0, 5));
    EXPECT_EQ(window.Pictures().Size(), 5u);
}

TEST_F(MainWindowTest, DroppedFilesAreImportedLikeChosenOnes) {
    MainWindow& window = Start();
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(Picture("zeta.bmp")), QUrl::fromLocalFile(Picture("eta.bmp"))});
    QWidget* viewport = Get<QTreeView>(1000)->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    QCoreApplication::processEvents();  // the import starts after the drop is answered
    EXPECT_EQ(Names(), (std::vector<std::string>{"eta", "zeta"}));
    EXPECT_EQ(window.Pictures().CurrentIndex(), 1);
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(MainWindowTest, DeletesExactlyTheSelectedRowsAndRenumbers) {
    MainWindow& window = Start();
    Import(
        {Picture("a.bmp"), Picture("b.bmp"), Picture("c.bmp"), Picture("d.bmp"), Picture("e.bmp")});
    auto* list = Get<QTreeView>(1000);
    for (int row : {1, 3, 4}) {
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // Deleting asks nothing: Undo brings the pictures back.
    Button(1002)->click();
    EXPECT_TRUE(dialogs_.questions.empty());
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(list->model()->index(1, 1).data().toString(), "1");
    EXPECT_EQ(window.Pictures().At(1).index, 1);
    EXPECT_EQ(window.Pictures().CurrentIndex(), -1);

    // One selected picture goes without a question.
    list->selectionModel()->select(list->model()->index(1, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Button(1002)->click();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(dialogs_.questions.empty());

    // Remove all still asks.
    dialogs_.questionAnswers = {QMessageBox::Yes};
    Button(1004)->click();
    EXPECT_EQ(dialogs_.questions.size(), 1u);
    EXPECT_TRUE(window.Pictures().Empty());
    EXPECT_EQ(list->model()->rowCount(), 0);
}

TEST_F(MainWindowTest, ClickingTheListPicksTheFirstSelectedRow) {
    MainWindow& window = Start();
    Import({Picture("a.bmp"), Picture("b.bmp"), Picture("c.bmp")});
    window.resize(1200, 900);  // room below the three rows
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* list = Get<QTreeView>(1000);
    const QRect second = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTRY_COMPARE_WITH_TIMEOUT(window.Pictures().CurrentIndex(), 1, 5000);
    EXPECT_EQ(Get<QLineEdit>(1022)->text(), "1");

    // A click on empty space clears the selection: no current picture.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(5, list->viewport()->height() - 3));
    QTRY_COMPARE_WITH_TIMEOUT(window.Pictures().CurrentIndex(), -1, 5000);
}

// A double-click toggles the row it hit, not the one selected or current.
TEST_F(MainWindowTest, DoubleClickTogglesTheClickedRowOnly) {
    MainWindow& window = Start();
    Import({Picture("a.bmp"), Picture("b.bmp"), Picture("c.bmp")});
    auto* list = Get<QTreeView>(1000);
    QAbstractItemModel* model = list->model();
    list->selectionModel()->select(model->index(0, 0), QItemSelectionModel::ClearAndSelect);
    window.OnListClick();
    ASSERT_EQ(window.Pictures().CurrentIndex(), 0);

    emit list->doubleClicked(model->index(2, 0));
    EXPECT_FALSE(window.Pictures().At(0).shown);
    EXPECT_TRUE(window.Pictures().At(2).shown);
    EXPECT_EQ(window.Pictures().CurrentIndex(), 2);
    EXPECT_EQ(model->index(2, 0).data(Qt::CheckStateRole), Qt::Checked);
}

TEST_F(MainWindowTest, MoveUpAndDownStopAtTheEnds) {
    MainWindow& window = Start();
    Import({Picture("a.bmp"), Picture("b.bmp"), Picture("c.bmp")});
    ASSERT_EQ(window.Pictures().CurrentIndex(), 2);

    Button(1029)->click();  // the last cannot go down
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c"}));
    Button(1028)->click();
    Button(1028)->click();
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(window.Pictures().CurrentIndex(), 0);
    Button(1028)->click();  // the first cannot go up
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "a", "b"}));
    Button(1029)->click();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(Get<QTreeView>(1000)->model()->index(1, 0).data().toString(), "c");

    Button(1024)->click();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(window.Pictures().CurrentIndex(), 0);
}

TEST_F(MainWindowTest, PreviewDragUsesTheStrictHitTestAndRefreshApplies) {
    MainWindow& window = Start();
    Import({Picture("box.bmp", 30, 40, Qt::red, 10, 20)});
    auto* list = Get<QTreeView>(1000);
    list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    emit list->doubleClicked(list->model()->index(0, 0));  // shows the picture
    ASSERT_TRUE(window.Pictures().At(0).shown);

    LcdPreview& preview = window.Preview();
    preview.Redraw();
    EXPECT_EQ(preview.Render().pixelColor(11, 21), QColor(Qt::red));
    EXPECT_EQ(preview.Render().pixelColor(9, 21), QColor(Qt::black));

    // Presses on the edges do not grab the picture.
    for (QPoint edge : {QPoint(10, 30), QPoint(40, 30), QPoint(20, 20), QPoint(20, 60)}) {
        QTest::mousePress(&preview, Qt::LeftButton, {}, edge);
        QTest::mouseMove(&preview, edge + QPoint(5, 5));
        QTest::mouseRelease(&preview, Qt::LeftButton, {}, edge + QPoint(5, 5));
        EXPECT_EQ(window.Pictures().At(0).left, 10);
    }
    QTest::mousePress(&preview, Qt::LeftButton, {}, QPoint(11, 21));
    QTest::mouseMove(&preview, QPoint(16, 18));
    QTest::mouseRelease(&preview, Qt::LeftButton, {}, QPoint(16, 18));
    EXPECT_EQ(window.Pictures().At(0).left, 15);
    EXPECT_EQ(window.Pictures().At(0).top, 17);
    EXPECT_EQ(Get<QLineEdit>(1012)->text(), "15");
    EXPECT_EQ(Get<QLineEdit>(1013)->text(), "17");

    // Enter in X applies the typed position; the window stays.
    Get<QLineEdit>(1012)->setText("-5");
    Get<QLineEdit>(1013)->setText("100");
    QTest::keyClick(Get<QLineEdit>(1012), Qt::Key_Return);
    EXPECT_EQ(window.Pictures().At(0).left, -5);
    EXPECT_EQ(window.Pictures().At(0).top, 100);
    EXPECT_EQ(preview.Render().pixelColor(0, 100), QColor(Qt::red));
    EXPECT_EQ(preview.Render().pixelColor(25, 100), QColor(Qt::black));

    // Out of range: the standard message, the picture stays.
    Get<QLineEdit>(1012)->setText("1281");
    Button(1014)->click();
    ASSERT_FALSE(dialogs_.messages.empty());
    EXPECT_EQ(dialogs_.messages.back().text, "Please enter an integer between -1280 and 1280.");
    EXPECT_EQ(window.Pictures().At(0).left, -5);
}

TEST_F(MainWindowTest, ConvertWritesTheResourceImageAndReports) {
    MainWindow& window = Start();
    Button(1021)->click();  // empty list: nothing
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_FALSE(QFile::exists(QDir(dir_->Dir()).filePath("Icon.bin")));

    Import({Picture("b.bmp", 4, 2), Picture("a.bmp", 2, 2)});
    Button(1028)->click();  // b before a; the conversion sorts again
    Button(1021)->click();
    // No box: the message bar names the folder, the files and the share of the
    // 64 Mbit flash (2072 of 8388608 bytes), with a way to the folder and the map.
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(window.Results().Text().toStdString(),
              "转档成功\nFolder: " + dir_->Dir().toStdString() +
                  "\nFiles: Icon.bin, Icon.h\nIcon.bin: 2072 bytes, 0.02 % of the 64Mbit flash "
                  "(8388608 bytes)");
    EXPECT_EQ(window.Results().CurrentKind(), MessageBar::Kind::Positive);
    window.findChild<QPushButton*>("openFolderAction")->click();
    EXPECT_EQ(dialogs_.opened, (std::vector<QString>{dir_->Dir()}));
    window.findChild<QPushButton*>("showMemoryMapAction")->click();
    EXPECT_TRUE(window.MemoryMap().isVisible());
    window.MemoryMap().close();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(window.Pictures().CurrentIndex(), 0);
    // Table + 2 x 2 + 4 x 2 pixels of two bytes each.
    EXPECT_EQ(QFileInfo(QDir(dir_->Dir()).filePath("Icon.bin")).size(), 2048 + 8 + 16);
    EXPECT_TRUE(QFile::exists(QDir(dir_->Dir()).filePath("Icon.h")));
    // Each picture file now ends with its position trailer.
    EXPECT_EQ(QFileInfo(QDir(dir_->Dir()).filePath("a.bmp")).size(),
              SolidBitmap(2, 2, Qt::red).size() + 6);
}

TEST_F(MainWindowTest, EditorGetsThePathAsOneArgument) {
    QTemporaryDir tools;
    const QString script = tools.filePath("fake editor.sh");
    MainWindow& window = Start(Settings("EXT_EDIT_EXE=" + script.toStdString()));
    const QString record = QDir(dir_->Dir()).filePath("editor-args.txt");
    // The record appears whole: written beside it, then renamed.
    WriteFile(script, ("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record +
                       ".part' && mv '" + record + ".part' '" + record + "'\n")
                          .toUtf8());
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    Button(1064)->click();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], (Message{"请选择编辑对象...", "", MessageIcon::Exclamation}));

    QDir(dir_->Dir()).mkdir("my pictures");
    const QString picture = QDir(dir_->Dir()).filePath("my pictures/logo one.bmp");
    WriteFile(picture, SolidBitmap(4, 4, Qt::blue));
    Import({picture});
    Button(1064)->click();
    ASSERT_EQ(dialogs_.started.size(), 1u);
    EXPECT_EQ(dialogs_.started[0].first, script);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), QDir::toNativeSeparators(picture) + "\n");
    (void)window;
}

TEST_F(MainWindowTest, EditorWithoutProgramComesFirst) {
    Start(Settings("EXT_EDIT_EXE="));
    Button(1064)->click();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "没有选择执行的应用...");
}

TEST_F(MainWindowTest, ViewerDrawsAKnownPictureOntoTheSurface) {
    MainWindow& window = Start();
    Button(1072)->click();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, " 请选择图片数据文件(*.bin)");

    const QString missing = QDir(dir_->Dir()).filePath("none.bin");
    Get<QLineEdit>(1015)->setText(missing);
    Button(1072)->click();
    EXPECT_EQ(dialogs_.messages.back().text, "文件 " + missing.toStdString() + "不存在..");
    // A FIFO that nobody writes to would block a plain open for good.
    const QString fifo = QDir(dir_->Dir()).filePath("pipe.bin");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    Get<QLineEdit>(1015)->setText(fifo);
    Button(1072)->click();
    EXPECT_EQ(dialogs_.messages.back().text, "文件 " + fifo.toStdString() + "不存在..");

    // A table whose entry 0 is 2048 (unit 1), then a 2 x 2 picture: red, green /
    // blue, white, as RGB 565 words. Each channel widens by repeating its top bits.
    const QString image = QDir(dir_->Dir()).filePath("pictures.bin");
    WriteFile(image, QByteArray::fromHex("00080000") + QByteArray(2044, '\0') +
                         QByteArray::fromHex("F80007E0001FFFFF"));
    dialogs_.fileAnswers.push_back({image});
    Button(1075)->click();
    EXPECT_EQ(Get<QLineEdit>(1015)->text(), image);
    Get<QLineEdit>(1010)->setText("2");
    Get<QLineEdit>(1011)->setText("2");
    Get<QLineEdit>(1012)->setText("100");
    Get<QLineEdit>(1013)->setText("50");
    dialogs_.modalHandlers["StoredPictureDialog"] = [](QDialog& dialog) {
        dialog.accept();  // picture 0, the size from the fields
        return dialog.result();
    };
    Button(1072)->click();
    const QImage surface = window.Preview().Render();
    EXPECT_EQ(surface.pixelColor(100, 50), QColor(0xFF, 0, 0));
    EXPECT_EQ(surface.pixelColor(101, 50), QColor(0, 0xFF, 0));
    EXPECT_EQ(surface.pixelColor(100, 51), QColor(0, 0, 0xFF));
    EXPECT_EQ(surface.pixelColor(101, 51), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(surface.pixelColor(102, 50), QColor(Qt::black));

    window.Preview().Redraw();  // the next redraw paints over it
    EXPECT_EQ(window.Preview().Render().pixelColor(100, 50), QColor(Qt::black));
}

}  // namespace
}  // namespace pictor::gui::testing
