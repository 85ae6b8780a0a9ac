// The LCD preview's "As on the panel" mode and the viewer that draws a picture of
// an Icon.bin back onto the preview.
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <functional>
#include <utility>

#include "core/common/message.h"
#include "core/conversion/convert_operation.h"
#include "core/workspace/picture_loader.h"
#include "gui/lcd_preview.h"
#include "main_window_fixture.h"

namespace pictor::gui::testing {
namespace {

// A model section; `keys` replace the defaults of the same name.
std::string Model(const std::string& name, int depth, const std::string& keys = {}) {
    std::string text = "[" + name + "]\n" + keys;
    const std::pair<const char*, std::string> defaults[] = {{"COLOR_DEPTH", std::to_string(depth)},
                                                            {"COLOR_TYPE", depth == 16 ? "1" : "0"},
                                                            {"CONVERT_DIRECTION", "0"},
                                                            {"OUT_DATA_TYPE", "0"},
                                                            {"MIN_ALLOCATE_SIZE", "1"},
                                                            {"BLOCK_COL_NUM", "0"},
                                                            {"BKCOLOR", "0"}};
    for (const auto& [key, value] : defaults) {
        if (keys.find(std::string(key) + "=") == std::string::npos) {
            text += std::string(key) + "=" + value + "\n";
        }
    }
    return text;
}

// A 320 x 240 panel with a black background and three models: 16-bit "Colour",
// 1-bit "Mono" and 4-bit "Grey"; `current` is the active one.
std::string ThreeModels(int current) {
    return "[COMMON]\nLCD_TYPE=320x240\nMODEL_COUNT=3\nMODEL_NAME0=Colour\nMODEL_NAME1=Mono\n"
           "MODEL_NAME2=Grey\nCURRENT_MODE=" +
           std::to_string(current) + "\n" + Model("Colour", 16) + Model("Mono", 1) +
           Model("Grey", 4);
}

// One model, made current, with extra keys (later keys win over the defaults).
std::string OneModel(int depth, const std::string& keys) {
    return "[COMMON]\nLCD_TYPE=320x240\nMODEL_COUNT=1\nMODEL_NAME0=Only\nCURRENT_MODE=0\n" +
           Model("Only", depth, keys);
}

// A top-down 24-bit bitmap whose pixel (x, y) is the grey value grey(x, y).
QByteArray GreyBitmap(int width, int height, const std::function<int(int, int)>& grey) {
    test::BitmapLayout layout;
    layout.width = width;
    layout.height = -height;
    const int stride = (width * 3 + 3) / 4 * 4;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            layout.pixels.insert(layout.pixels.end(), 3, static_cast<std::uint8_t>(grey(x, y)));
        }
        layout.pixels.resize(layout.pixels.size() + static_cast<std::size_t>(stride - width * 3));
    }
    const test::Bytes bytes = test::BuildBitmap(layout);
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

// 16 x 8, a ramp across: grey 17 * x.
int Ramp(int x, int /*y*/) {
    return 17 * x;
}

class PanelPreviewTest : public MainWindowTest {
  protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(dir_->Dir()).filePath(name);
        EXPECT_TRUE(WriteFile(path, bytes));
        return path;
    }

    // Imports the ramp and shows it at (left, top).
    void ShowRamp(int left, int top) {
        Import({Write("ramp.bmp", GreyBitmap(16, 8, Ramp))});
        ASSERT_EQ(window_->Pictures().Size(), 1u);
        window_->Pictures().At(0).left = left;
        window_->Pictures().At(0).top = top;
        window_->ToggleShown(0);
    }

    QRadioButton* Radio(const char* name) const {
        return window_->findChild<QRadioButton*>(QString::fromLatin1(name));
    }
};

TEST_F(PanelPreviewTest, ModeFollowsTheDepthUntilTheUserChooses) {
    MainWindow& window = Start(ThreeModels(0));
    LcdPreview& preview = window.Preview();
    EXPECT_FALSE(preview.PanelTrue());  // 16 bits: the source by default
    EXPECT_TRUE(window.Action("previewSourceAction")->isChecked());
    EXPECT_TRUE(Radio("previewSourceButton")->isChecked());

    ASSERT_TRUE(window.SwitchModel(1));  // 1 bit
    EXPECT_TRUE(preview.PanelTrue());
    EXPECT_TRUE(window.Action("previewPanelAction")->isChecked());
    EXPECT_TRUE(Radio("previewPanelButton")->isChecked());

    // Once chosen, the mode stays over model changes; menu and buttons agree.
    Radio("previewSourceButton")->click();
    EXPECT_FALSE(preview.PanelTrue());
    EXPECT_TRUE(window.Action("previewSourceAction")->isChecked());
    ASSERT_TRUE(window.SwitchModel(2));
    EXPECT_FALSE(preview.PanelTrue());
    window.Action("previewPanelAction")->trigger();
    EXPECT_TRUE(preview.PanelTrue());
    EXPECT_TRUE(Radio("previewPanelButton")->isChecked());
    ASSERT_TRUE(window.SwitchModel(0));
    EXPECT_TRUE(preview.PanelTrue());
}

TEST_F(PanelPreviewTest, OneBitPanelShowsOnlyItsTwoGreys) {
    MainWindow& window = Start(ThreeModels(1));
    ShowRamp(40, 20);
    // Code 0 covers greys 0..127 and shows their middle, 63; code 1 shows 191.
    const QImage panel = window.Preview().Render();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int expected = x < 8 ? 63 : 191;  // 17 * 7 = 119, 17 * 8 = 136
            ASSERT_EQ(panel.pixelColor(40 + x, 20 + y), QColor(expected, expected, expected))
                << x << "," << y;
        }
    }
    // The black background is code 0 too.
    EXPECT_EQ(panel.pixelColor(39, 20), QColor(63, 63, 63));
    EXPECT_EQ(panel.pixelColor(300, 200), QColor(63, 63, 63));

    Radio("previewSourceButton")->click();
    const QImage source = window.Preview().Render();
    EXPECT_EQ(source.pixelColor(40 + 7, 20), QColor(119, 119, 119));
    EXPECT_EQ(source.pixelColor(39, 20), QColor(Qt::black));
}

TEST_F(PanelPreviewTest, PanelCopiesAreRemadeForANewModelOrNewPixelsButNotForAMove) {
    MainWindow& window = Start(ThreeModels(1));
    LcdPreview& preview = window.Preview();
    ShowRamp(10, 0);
    EXPECT_EQ(preview.Render().pixelColor(10 + 8, 0), QColor(191, 191, 191));
    EXPECT_EQ(preview.PanelConversions(), 1u);

    window.Pictures().At(0).left = 100;
    preview.Redraw();
    EXPECT_EQ(preview.Render().pixelColor(100 + 8, 0), QColor(191, 191, 191));
    EXPECT_EQ(preview.PanelConversions(), 1u);

    // 4 bits: code k covers greys 16k..16k+15 and shows 16k+7.
    ASSERT_TRUE(window.SwitchModel(2));
    const QImage grey = preview.Render();
    EXPECT_EQ(grey.pixelColor(100 + 8, 0), QColor(135, 135, 135));   // 136: code 8
    EXPECT_EQ(grey.pixelColor(100 + 15, 0), QColor(247, 247, 247));  // 255: code 15 (240..255)
    EXPECT_EQ(grey.pixelColor(100, 0), QColor(7, 7, 7));
    EXPECT_EQ(preview.PanelConversions(), 2u);

    // New pixels (a reloaded picture) are a new bitmap: their copy is made anew.
    // (The list keeps no decoded pixels: the picture is loaded from its file.)
    auto white = std::make_shared<workspace::PixelImage>(
        *workspace::LoadPicture(window.Pictures().At(0).path));
    std::fill(white->pixels.begin(), white->pixels.end(), 0xFFFFFFFFu);
    window.Pictures().At(0).bitmap = white;
    preview.ForgetPictures();
    preview.Redraw();
    EXPECT_EQ(preview.Render().pixelColor(100, 0), QColor(247, 247, 247));
    EXPECT_EQ(preview.PanelConversions(), 3u);
}

// Converts the imported pictures with the window's own profile into the
// working directory's Icon.bin and returns its path.
QString ConvertPictures(MainWindow& window, const QString& dir) {
    workspace::PictureList list = window.Pictures();
    conversion::ConvertOptions options;
    options.outputDir = dir.toStdString();
    options.writeTrailers = false;
    options.jobs = 1;
    NullMessageSink sink;
    EXPECT_TRUE(conversion::Convert(list, window.Profile(), options, sink).success);
    return QDir(dir).filePath("Icon.bin");
}

TEST_F(PanelPreviewTest, ViewerDecodesGreyDepthsByIndexWithColumnsAndBands) {
    const struct {
        const char* name;
        int depth;
        std::string keys;
        std::function<int(int)> shown;  // the grey the panel shows for a source grey
    } cases[] = {
        // 2 pixels per byte down the columns, bands of 8 columns, a size prefix.
        {"4-bit", 4,
         "CONVERT_DIRECTION=1\nBLOCK_COL_NUM=8\nMIN_ALLOCATE_SIZE=16\nSAVE_WIDTH_HEIGHT_TO_BIN=1\n",
         [](int g) { return g / 16 * 16 + 7; }},
        // 8 pixels per byte, no prefix: the size comes from the dialog.
        {"1-bit", 1, "CONVERT_DIRECTION=1\nBLOCK_COL_NUM=8\nMIN_ALLOCATE_SIZE=4\n",
         [](int g) { return g < 128 ? 63 : 191; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow& window = Start(OneModel(c.depth, c.keys));
        ASSERT_EQ(window.Profile().convertDirection, 1);
        ASSERT_EQ(window.Profile().blockColNum, 8);
        // Picture 1 (by name) is 12 x 16, two bands; grey 16x + 4y.
        const auto pattern = [](int x, int y) { return 16 * x + 4 * y; };
        Import({Write("a.bmp", SolidBitmap(8, 16, Qt::white)),
                Write("b.bmp", GreyBitmap(12, 16, pattern))});
        const QString bin = ConvertPictures(window, dir_->Dir());

        Get<QLineEdit>(1015)->setText(bin);
        Get<QLineEdit>(1010)->setText("12");
        Get<QLineEdit>(1011)->setText("16");
        Get<QLineEdit>(1012)->setText("100");
        Get<QLineEdit>(1013)->setText("50");
        QStringList rows;
        dialogs_.modalHandlers["StoredPictureDialog"] = [&rows](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>("storedPictureList");
            for (int i = 0; i < list->count(); ++i) {
                rows << list->item(i)->text();
            }
            list->setCurrentRow(1);
            EXPECT_EQ(dialog.findChild<QSpinBox*>("storedPictureIndex")->value(), 1);
            dialog.findChild<QPushButton*>("okButton")->click();
            return dialog.result();
        };
        const QImage before = window.Preview().Render();
        Button(1072)->click();
        EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.Texts().front();
        ASSERT_EQ(rows.size(), 2);
        if (window.Profile().saveWidthHeightToBin != 0) {
            // After its symbol from the Icon.h beside the image.
            EXPECT_TRUE(rows[1].startsWith("1: ") && rows[1].contains(", 12 x 16, "))
                << rows[1].toStdString();
        }

        const QImage surface = window.Preview().Render();
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 12; ++x) {
                const int grey = c.shown(pattern(x, y));
                ASSERT_EQ(surface.pixelColor(100 + x, 50 + y), QColor(grey, grey, grey))
                    << x << "," << y;
            }
        }
        EXPECT_EQ(surface.pixelColor(112, 50), before.pixelColor(112, 50));
        EXPECT_EQ(surface.pixelColor(100, 66), before.pixelColor(100, 66));
        TearDown();
        SetUp();
    }
}

TEST_F(PanelPreviewTest, ViewerRefusesWhatItCannotShow) {
    MainWindow& window = Start();
    Get<QLineEdit>(1012)->setText("0");
    Get<QLineEdit>(1013)->setText("0");
    Get<QLineEdit>(1010)->setText("8");
    Get<QLineEdit>(1011)->setText("8");

    // Shorter than its table.
    const QString stub = Write("stub.bin", QByteArray(100, '\0'));
    Get<QLineEdit>(1015)->setText(stub);
    Button(1072)->click();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text,
              stub.toStdString() +
                  " holds no pictures: it is shorter than its 2048-byte table or the table is "
                  "empty.");
    EXPECT_EQ(std::count(dialogs_.modalRuns.begin(), dialogs_.modalRuns.end(),
                         QStringLiteral("StoredPictureDialog")),
              0);

    Import({Picture("only.bmp", 8, 8, Qt::red)});
    const QString bin = ConvertPictures(window, dir_->Dir());
    Get<QLineEdit>(1015)->setText(bin);
    int index = 3;
    dialogs_.modalHandlers["StoredPictureDialog"] = [&index](QDialog& dialog) {
        dialog.findChild<QSpinBox*>("storedPictureIndex")->setValue(index);
        dialog.findChild<QPushButton*>("okButton")->click();
        return dialog.result();
    };
    const QImage before = window.Preview().Render();
    Button(1072)->click();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[1].text, "There is no picture 3 in " + bin.toStdString() +
                                             ": its table lists only picture 0.");
    EXPECT_EQ(dialogs_.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.Preview().Render(), before);

    // Without a size prefix a wrong size that runs past the end is refused too.
    index = 0;
    Get<QLineEdit>(1010)->setText("80");
    Get<QLineEdit>(1011)->setText("80");
    Button(1072)->click();
    ASSERT_EQ(dialogs_.messages.size(), 3u);
    EXPECT_EQ(
        dialogs_.messages[2].text.rfind(
            "Picture 0 of " + bin.toStdString() + " cannot be shown with the active model: ", 0),
        0u)
        << dialogs_.messages[2].text;
    EXPECT_EQ(window.Preview().Render(), before);
}

}  // namespace
}  // namespace pictor::gui::testing
