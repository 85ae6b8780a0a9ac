// The main window as a daily tool: picture fields, shown ticks, the convert
// report, the editor's failures and the window's size.
#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <cmath>

#include "gui/lcd_preview.h"
#include "gui/message_bar.h"
#include "main_window_fixture.h"

namespace pictor::gui::testing {
namespace {

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
    int paints = 0;
};

TEST_F(MainWindowTest, MinimumSizeFitsALaptopAtOneAndOneAndAHalfScale) {
    MainWindow& window = Start();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.resize(1, 1);  // the layout holds the window at its minimum
    QTest::qWait(0);
    const QSize minimum = window.size().expandedTo(window.minimumSizeHint());

    // Logical pixels around the client area: the frame, the title bar and a panel
    // or task bar. At a scale factor the screen has fewer logical pixels, and the
    // decorations scale with everything else.
    constexpr int kFrameWidth = 16;
    constexpr int kDecorationHeight = 96;
    const struct {
        const char* screen;
        int width;
        int height;
        double scale;
    } screens[] = {{"1366x768 at 100 %", 1366, 768, 1.0}, {"1920x1080 at 150 %", 1920, 1080, 1.5}};
    for (const auto& s : screens) {
        EXPECT_LE(std::ceil((minimum.width() + kFrameWidth) * s.scale), s.width)
            << s.screen << ": minimum width " << minimum.width();
        EXPECT_LE(std::ceil((minimum.height() + kDecorationHeight) * s.scale), s.height)
            << s.screen << ": minimum height " << minimum.height();
    }

    // The panel scrolls rather than stretching the window, and a splitter divides it.
    auto* scroll = window.findChild<QScrollArea*>("lcdScroll");
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->widget(), &window.Preview());
    auto* splitter = window.findChild<QSplitter*>("mainSplitter");
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->count(), 2);
    EXPECT_TRUE(splitter->isAncestorOf(Get<QTreeView>(1000)));
    EXPECT_TRUE(splitter->isAncestorOf(&window.Preview()));
}

TEST_F(MainWindowTest, EveryToggleShowsTheTickAndRedrawsThePreviewAtOnce) {
    MainWindow& window = Start();
    Import({Picture("a.bmp", 8, 8, Qt::red, 0, 0), Picture("b.bmp", 8, 8, Qt::green, 20, 0)});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* list = Get<QTreeView>(1000);
    QAbstractItemModel* model = list->model();
    const auto tick = [&](int row) { return model->index(row, 0).data(Qt::CheckStateRole); };
    EXPECT_EQ(tick(0), Qt::Unchecked);

    PaintCounter counter(&window.Preview());
    const auto repainted = [&] {
        const bool painted = QTest::qWaitFor([&] { return counter.paints > 0; }, 5000);
        counter.paints = 0;
        return painted;
    };
    QTest::qWait(50);  // paints of the showing itself
    counter.paints = 0;

    // Double-click.
    list->selectionModel()->select(model->index(0, 0), QItemSelectionModel::ClearAndSelect);
    emit list->doubleClicked(model->index(0, 0));
    EXPECT_TRUE(window.Pictures().At(0).shown);
    EXPECT_EQ(tick(0), Qt::Checked);
    EXPECT_TRUE(repainted()) << "double-click";
    EXPECT_EQ(window.Preview().Render().pixelColor(1, 1), QColor(Qt::red));

    // Space, with the view's cursor on the order number column.
    list->setFocus();
    list->setCurrentIndex(model->index(1, 1));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(window.Pictures().At(1).shown);
    EXPECT_EQ(tick(1), Qt::Checked);
    EXPECT_TRUE(repainted()) << "Space";

    // A click on the tick (the view sets the check state through the model).
    EXPECT_TRUE(model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(window.Pictures().At(0).shown);
    EXPECT_EQ(tick(0), Qt::Unchecked);
    EXPECT_TRUE(repainted()) << "tick";
    EXPECT_EQ(window.Preview().Render().pixelColor(1, 1), QColor(Qt::black));
    // Setting the state it already has changes nothing.
    EXPECT_TRUE(model->setData(model->index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(window.Pictures().At(1).shown);
}

TEST_F(MainWindowTest, PictureFieldsAreEmptyWhenNoPictureIsCurrent) {
    MainWindow& window = Start();
    const auto fields = [&] {
        QStringList texts;
        for (int id : {1022, 1010, 1011, 1012, 1013}) {
            texts << Get<QLineEdit>(id)->text();
        }
        return texts;
    };
    const QStringList empty{"", "", "", "", ""};
    EXPECT_EQ(fields(), empty);
    Import({Picture("a.bmp", 3, 5, Qt::red, 7, 9), Picture("b.bmp", 4, 6, Qt::blue, 1, 2)});
    EXPECT_EQ(fields(), (QStringList{"1", "4", "6", "1", "2"}));

    auto* list = Get<QTreeView>(1000);
    list->selectionModel()->select(list->model()->index(1, 0), QItemSelectionModel::ClearAndSelect);
    Button(1002)->click();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(fields(), empty);

    Button(1024)->click();  // sorting makes "a" current
    EXPECT_EQ(fields(), (QStringList{"0", "3", "5", "7", "9"}));
    dialogs_.questionAnswers = {QMessageBox::Yes};  // remove all asks
    Button(1004)->click();
    EXPECT_EQ(fields(), empty);
    (void)window;
}

// The chosen flash type bounds the image: a larger one is written, with a warning
// that gives both sizes.
TEST_F(MainWindowTest, ConvertWarnsWhenTheImageExceedsTheChosenFlash) {
    Start();
    Choose(Get<QComboBox>(1103), 0);  // 16Mbit: 2097152 bytes
    // 1100 x 1000 pixels at 16 bits: 2200000 bytes behind the 2048-byte table.
    Import({Picture("big.bmp", 1100, 1000)});
    Button(1021)->click();
    // One report, and a warning rather than a success.
    EXPECT_TRUE(dialogs_.messages.empty());
    const std::string report = window_->Results().Text().toStdString();
    EXPECT_EQ(window_->Results().CurrentKind(), MessageBar::Kind::Warning);
    EXPECT_EQ(report.rfind("Converted, but Icon.bin does not fit the flash.\n", 0), 0u) << report;
    EXPECT_NE(report.find("105.00 % of the 16Mbit flash"), std::string::npos) << report;
    EXPECT_NE(report.find("2202048"), std::string::npos) << report;
    EXPECT_NE(report.find("2097152"), std::string::npos) << report;
    EXPECT_EQ(report.find("转档成功"), std::string::npos) << report;
    // The picture is larger than the 320 x 240 panel, too.
    EXPECT_NE(report.find("\nbig (1100 x 1000) is larger than the panel."), std::string::npos)
        << report;
    EXPECT_EQ(QFileInfo(QDir(dir_->Dir()).filePath("Icon.bin")).size(), 2202048);
}

TEST_F(MainWindowTest, ConvertWarnsAboutSymbolsButKeepsTheOutput) {
    Start();
    QDir(dir_->Dir()).mkdir("more");
    Import(
        {Picture("my icon.bmp"), Picture("9lives.bmp"), Picture("ok.bmp"), Picture("more/OK.bmp")});
    Button(1021)->click();
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(window_->Results().CurrentKind(), MessageBar::Kind::Warning);
    const std::string warning = window_->Results().Text().toStdString();
    for (const char* line :
         {"Converted; some pictures need attention.\nFolder: ",
          "\nwarning: picture \"my icon\" gives the symbol \"MY ICON\" in Icon.h, which is not a "
          "valid C identifier (it contains a space)",
          "\nwarning: picture \"9lives\" gives the symbol \"9LIVES\" in Icon.h, which is not a "
          "valid C identifier (it starts with a digit)",
          "both give the symbol \"OK\" in Icon.h"}) {
        EXPECT_NE(warning.find(line), std::string::npos) << line << "\nin:\n" << warning;
    }
    QFile header(QDir(dir_->Dir()).filePath("Icon.h"));
    ASSERT_TRUE(header.open(QIODevice::ReadOnly));
    EXPECT_TRUE(header.readAll().contains("#define MY ICON  0x"));

    // A list whose symbols are all usable gets the notice alone.
    dialogs_.messages.clear();
    dialogs_.questionAnswers = {QMessageBox::Yes};  // remove all asks
    Button(1004)->click();
    Import({Picture("logo.bmp")});
    Button(1021)->click();
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(window_->Results().CurrentKind(), MessageBar::Kind::Positive);
}

// Pictures the panel cannot show whole at their positions are named in the report.
TEST_F(MainWindowTest, ConvertNamesPicturesPartlyOffThePanel) {
    Start();
    // Trailer positions reach 255 only: the pictures are made large enough.
    Import({Picture("inside.bmp", 120, 40, Qt::red, 200, 200),
            Picture("right.bmp", 100, 8, Qt::red, 221, 0),
            Picture("below.bmp", 8, 50, Qt::red, 0, 191)});
    Button(1021)->click();
    EXPECT_EQ(window_->Results().CurrentKind(), MessageBar::Kind::Warning);
    const std::string report = window_->Results().Text().toStdString();
    EXPECT_NE(report.find("\nbelow lies partly outside the panel at 0, 191."), std::string::npos)
        << report;
    EXPECT_NE(report.find("\nright lies partly outside the panel at 221, 0."), std::string::npos)
        << report;
    EXPECT_EQ(report.find("inside"), std::string::npos) << report;
}

TEST_F(MainWindowTest, FailedEditorStartSaysWhy) {
    QTemporaryDir tools;
    const QString plain = tools.filePath("not-a-program.txt");
    WriteFile(plain, "text\n");
    QFile::setPermissions(plain, QFile::ReadOwner | QFile::WriteOwner);
    const QString missing = tools.filePath("no-editor");
    const struct {
        QString program;
        std::string reason;
    } cases[] = {{missing, "it does not exist"},
                 {tools.path(), "it is a folder"},
                 {plain, "it is not executable"}};
    for (const auto& c : cases) {
        Start(Settings("EXT_EDIT_EXE=" + c.program.toStdString()));
        Import({Picture("a.bmp")});
        Button(1064)->click();
        ASSERT_EQ(dialogs_.messages.size(), 1u) << c.reason;
        EXPECT_EQ(dialogs_.messages[0], (Message{"The editor " + c.program.toStdString() +
                                                     " could not be started: " + c.reason + ".",
                                                 "", MessageIcon::Exclamation}));
    }
}

}  // namespace
}  // namespace pictor::gui::testing
