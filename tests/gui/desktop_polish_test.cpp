// The list and the window in daily use: thumbnails per view, duplicates, positions
// off the panel, empty picture fields, the model box, and the viewer's names and
// sizes.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QTreeView>

#include "gui/lcd_preview.h"
#include "main_window_fixture.h"

namespace pictor::gui::testing {
namespace {

using PolishTest = MainWindowTest;

// Each view draws thumbnails at its own size, in the picture's proportions, and a
// small icon is never blown up past twice its size.
TEST_F(PolishTest, ThumbnailsSuitTheViewAndKeepTheirProportions) {
    MainWindow& window = Start();
    Import({Picture("icon.bmp", 16, 16), Picture("wide.bmp", 200, 50)});
    auto* report = Get<QTreeView>(1000);
    auto* icons = window.findChild<QListView*>("pictureIcons");
    auto* rows = window.findChild<QListView*>("pictureRows");
    EXPECT_EQ(report->iconSize(), QSize(32, 32));
    EXPECT_EQ(rows->iconSize(), QSize(32, 32));
    EXPECT_EQ(icons->iconSize(), QSize(96, 96));
    // List is compact and flows into columns; Report is one column with a header.
    EXPECT_TRUE(rows->isWrapping());
    EXPECT_EQ(rows->flow(), QListView::TopToBottom);

    const auto icon = [&](int row) {
        return qvariant_cast<QIcon>(report->model()->index(row, 0).data(Qt::DecorationRole));
    };
    // "icon" (16 x 16): drawn at most 32 x 32 anywhere; "wide" keeps 4:1.
    EXPECT_EQ(icon(0).actualSize(QSize(96, 96)), QSize(32, 32));
    EXPECT_EQ(icon(1).actualSize(QSize(96, 96)), QSize(96, 24));
    EXPECT_EQ(icon(1).actualSize(QSize(32, 32)), QSize(32, 8));

    window.Action("thumbnail48Action")->trigger();
    EXPECT_EQ(icons->iconSize(), QSize(48, 48));
    EXPECT_EQ(window.findChild<QStackedWidget*>("pictureViews")->currentWidget(), icons);
}

// A file already in the list: asked, "No" skips it, "Yes" adds it again.
TEST_F(PolishTest, ImportingAFileAlreadyInTheListAsks) {
    MainWindow& window = Start();
    const QString a = Picture("a.bmp");
    Import({a});
    ASSERT_TRUE(dialogs_.questions.empty());

    dialogs_.questionAnswers = {QMessageBox::No};
    Import({a, Picture("b.bmp")});
    ASSERT_EQ(dialogs_.questions.size(), 1u);
    EXPECT_NE(
        dialogs_.questions[0].text.find("1 of the chosen files are in the list already:\na.bmp"),
        std::string::npos)
        << dialogs_.questions[0].text;
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b"}));

    dialogs_.questionAnswers = {QMessageBox::Yes};
    Import({a});
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "a", "b"}));
    EXPECT_EQ(window.Pictures().Size(), 3u);
}

// A typed position that puts the picture wholly off the panel is refused with a
// message; a drag keeps at least a pixel of it on the panel.
TEST_F(PolishTest, APictureCannotBeMovedWhollyOffThePanel) {
    MainWindow& window = Start();  // 320 x 240
    Import({Picture("a.bmp", 10, 10, Qt::red, 5, 5)});
    emit Get<QTreeView>(1000)->doubleClicked(Get<QTreeView>(1000)->model()->index(0, 0));
    const struct {
        const char* x;
        const char* y;
        bool accepted;
    } cases[] = {{"320", "0", false}, {"-10", "0", false},  {"0", "240", false},
                 {"0", "-10", false}, {"319", "239", true}, {"-9", "-9", true}};
    for (const auto& c : cases) {
        dialogs_.messages.clear();
        window.Pictures().At(0).left = 5;
        window.Pictures().At(0).top = 5;
        Get<QLineEdit>(1012)->setText(c.x);
        Get<QLineEdit>(1013)->setText(c.y);
        Button(1014)->click();
        const bool moved = window.Pictures().At(0).left != 5 || window.Pictures().At(0).top != 5;
        EXPECT_EQ(moved, c.accepted) << c.x << ", " << c.y;
        EXPECT_EQ(dialogs_.messages.size(), c.accepted ? 0u : 1u) << c.x << ", " << c.y;
        if (!c.accepted) {
            EXPECT_EQ(Get<QLineEdit>(1012)->text(), "5");  // the fields show where it stays
        }
    }

    window.Pictures().At(0).left = 5;
    window.Pictures().At(0).top = 5;
    LcdPreview& preview = window.Preview();
    QTest::mousePress(&preview, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseMove(&preview, QPoint(8 - 200, 8 - 200));
    QTest::mouseRelease(&preview, Qt::LeftButton, {}, QPoint(8 - 200, 8 - 200));
    EXPECT_EQ(window.Pictures().At(0).left, -9);
    EXPECT_EQ(window.Pictures().At(0).top, -9);
}

// No current picture: its fields are empty after a delete and after opening a
// project, never "0".
TEST_F(PolishTest, PictureFieldsStayEmptyWithoutACurrentPicture) {
    MainWindow& window = Start();
    Import({Picture("a.bmp"), Picture("b.bmp")});
    const auto fields = [&] {
        QStringList texts;
        for (int id : {1022, 1010, 1011, 1012, 1013}) {
            texts << Get<QLineEdit>(id)->text();
        }
        return texts;
    };
    EXPECT_EQ(fields(), (QStringList{"1", "8", "8", "0", "0"}));
    Get<QTreeView>(1000)->selectionModel()->select(
        Get<QTreeView>(1000)->model()->index(1, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window.Action("deleteAction")->trigger();
    EXPECT_EQ(fields(), (QStringList{"", "", "", "", ""}));

    const QString project = QDir(dir_->Dir()).filePath("list.pictor");
    ASSERT_TRUE(window.SaveProjectTo(project));
    ASSERT_TRUE(window.OpenProject(project));
    EXPECT_EQ(fields(), (QStringList{"", "", "", "", ""}));
}

// A long model name is elided in the middle, and the box names it whole in its tip.
TEST_F(PolishTest, TheModelBoxShowsALongNameWhole) {
    const std::string longName = "Module-with-a-very-long-name-that-goes-on-and-on-320x240";
    std::string settings = Settings();
    settings.replace(settings.find("MODEL_NAME0=Panel"), 17, "MODEL_NAME0=" + longName);
    settings.replace(settings.find("[Panel]"), 7, "[" + longName + "]");
    MainWindow& window = Start(settings);
    auto* box = window.findChild<QComboBox*>("modelBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toolTip().toStdString(), longName);
    EXPECT_EQ(box->itemData(0, Qt::ToolTipRole).toString().toStdString(), longName);
    const QString shown = box->itemText(0);
    EXPECT_TRUE(shown.startsWith("Module-with") && shown.endsWith("320x240"))
        << shown.toStdString();
}

// The viewer names the pictures from an Icon.h beside the image and starts the
// size boxes from the header's sizes.
TEST_F(PolishTest, ViewerListsSymbolsAndSizesFromIconH) {
    Start();
    Import({Picture("logo.bmp", 12, 7), Picture("arrow.bmp", 5, 9)});
    Button(1021)->click();  // Icon.bin and Icon.h in the working directory
    QFile header(QDir(dir_->Dir()).filePath("Icon.h"));
    ASSERT_TRUE(header.open(QIODevice::Append));
    header.write("\r\n#define LOGO_H  7\r\n#define LOGO_W  12\r\n");
    header.close();
    Get<QLineEdit>(1015)->setText(QDir(dir_->Dir()).filePath("Icon.bin"));
    std::vector<QString> rows;
    QSize sizeOfSecond;
    dialogs_.modalHandlers["StoredPictureDialog"] = [&](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>("storedPictureList");
        for (int i = 0; i < list->count(); ++i) {
            rows.push_back(list->item(i)->text());
        }
        list->setCurrentRow(1);  // the current picture's fields hold arrow's 5 x 9
        sizeOfSecond = QSize(dialog.findChild<QSpinBox*>("storedPictureWidth")->value(),
                             dialog.findChild<QSpinBox*>("storedPictureHeight")->value());
        return QDialog::Rejected;
    };
    Button(1072)->click();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].startsWith("0: ARROW, ")) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith("1: LOGO, ")) << rows[1].toStdString();
    EXPECT_EQ(sizeOfSecond, QSize(12, 7));
}

}  // namespace
}  // namespace pictor::gui::testing
