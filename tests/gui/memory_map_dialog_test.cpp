// The "Memory map" window: filled by the main window's convert, its table rows,
// totals and flash bar, and what it shows without a map.

#include "gui/memory_map_dialog.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include "main_window_fixture.h"

namespace pictor::gui::testing {
namespace {

QString CellText(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item != nullptr ? item->text() : QString();
}

QStringList RowTexts(const QTableWidget& table, int row) {
    QStringList texts;
    for (int column = 0; column < table.columnCount(); ++column) {
        texts << CellText(table, row, column);
    }
    return texts;
}

using MemoryMapWindowTest = MainWindowTest;

// 16-bit pictures, unit 1: "a" (8x8, 128 bytes) at 2048, "b" (300x1, 600 bytes)
// at 2176, running from sector 4 into sector 5.
TEST_F(MemoryMapWindowTest, ConvertFillsTheTableAndTheBar) {
    MainWindow& window = Start();
    Import({Picture("b.bmp", 300, 1), Picture("a.bmp")});
    Button(1021)->click();
    ASSERT_TRUE(window.MemoryMap().Map().has_value());

    // The View menu's action and the button beside convert open it.
    auto* menu = window.findChild<QMenu*>(QStringLiteral("viewMenu"));
    ASSERT_NE(menu, nullptr);
    auto* action = window.findChild<QAction*>(QStringLiteral("memoryMapAction"));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(menu->actions().contains(action));
    MemoryMapDialog& dialog = window.MemoryMap();
    action->trigger();
    EXPECT_TRUE(dialog.isVisible());
    dialog.close();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("memoryMapButton"));
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_TRUE(dialog.isVisible());

    const auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("memoryMapTable"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 2);
    const QString dir = dir_->Dir();
    EXPECT_EQ(RowTexts(*table, 0), (QStringList{"0", "A", QDir(dir).filePath("a.bmp"), "8", "8",
                                                "2048", "128", "0", "4", "4", "no"}));
    EXPECT_EQ(RowTexts(*table, 1), (QStringList{"1", "B", QDir(dir).filePath("b.bmp"), "300", "1",
                                                "2176", "600", "0", "4", "5", "yes"}));

    // The default flash type, "64Mbit": 8 MiB.
    const auto* bar = dialog.findChild<FlashUsageBar*>(QStringLiteral("flashUsageBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Used(), 2776U);
    EXPECT_EQ(bar->Padding(), 0U);
    EXPECT_EQ(bar->Capacity(), 8388608U);
    EXPECT_EQ(bar->Free(), 8388608U - 2776U);
    const auto* totals = dialog.findChild<QLabel*>(QStringLiteral("memoryMapTotals"));
    ASSERT_NE(totals, nullptr);
    EXPECT_TRUE(totals->text().contains("image: 2776 bytes")) << totals->text().toStdString();
    EXPECT_TRUE(totals->text().contains("flash: 8388608 bytes, 0.03 % used"))
        << totals->text().toStdString();
    dialog.close();
}

conversion::ConvertResult WithMap(std::uint64_t pixels, std::uint64_t padding) {
    conversion::ConvertResult result;
    result.success = true;
    conversion::MemoryMap map;
    map.rows.resize(1);
    map.rows[0].symbol = "PIC";
    map.totals.pictures = 1;
    map.totals.tableBytes = 2048;
    map.totals.pixelBytes = pixels;
    map.totals.alignmentPadding = padding;
    map.totals.imageBytes = 2048 + pixels + padding;
    result.map = map;
    return result;
}

TEST(MemoryMapDialog, BarDrawsUsedPaddingAndFreeOrTheOverflow) {
    MemoryMapDialog dialog;
    // "1Mbit": 131072 bytes; used 2048 + 63488 = 65536 (half), padding 32768 (a quarter).
    dialog.SetFlashType("1Mbit");
    dialog.SetConversion(WithMap(63488, 32768));
    auto* bar = dialog.findChild<FlashUsageBar*>(QStringLiteral("flashUsageBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Used(), 65536U);
    EXPECT_EQ(bar->Padding(), 32768U);
    EXPECT_EQ(bar->Free(), 32768U);
    // The dialog's layout gives the bar its width.
    const QImage image = bar->grab().toImage();
    const int y = image.height() / 2;
    const auto colourAt = [&](double share) {
        return QColor(image.pixel(static_cast<int>(share * image.width()), y));
    };
    EXPECT_EQ(colourAt(0.25), FlashUsageBar::UsedColor());
    EXPECT_EQ(colourAt(0.60), FlashUsageBar::PaddingColor());
    EXPECT_EQ(colourAt(0.90), FlashUsageBar::FreeColor());
    const auto* text = dialog.findChild<QLabel*>(QStringLiteral("flashUsageText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->text().contains("free 32768 bytes of the 1Mbit flash (131072 bytes)"))
        << text->text().toStdString();

    // Twice the flash: the second half of the bar is the part that does not fit.
    dialog.SetConversion(WithMap(260096, 0));
    EXPECT_EQ(bar->Free(), 0U);
    const QImage over = bar->grab().toImage();
    EXPECT_EQ(QColor(over.pixel(over.width() / 4, y)), FlashUsageBar::UsedColor());
    EXPECT_EQ(QColor(over.pixel(over.width() * 3 / 4, y)), FlashUsageBar::OverflowColor());
    EXPECT_TRUE(text->text().contains("131072 bytes larger than the 1Mbit flash"))
        << text->text().toStdString();
}

TEST(MemoryMapDialog, WithoutAMapItSaysWhyAndAFailureKeepsThePreviousMap) {
    MemoryMapDialog dialog;
    const auto* notice = dialog.findChild<QLabel*>(QStringLiteral("memoryMapNotice"));
    const auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("memoryMapTable"));
    ASSERT_NE(notice, nullptr);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(notice->text().contains("No conversion yet"));

    dialog.SetConversion(WithMap(10, 0));
    EXPECT_EQ(table->rowCount(), 1);
    conversion::ConvertResult failed;  // the old Icon.bin stays, and so does its map
    dialog.SetConversion(failed);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_TRUE(dialog.Map().has_value());

    conversion::ConvertResult cSource;
    cSource.success = true;
    dialog.SetConversion(cSource);
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_TRUE(notice->text().contains("C source")) << notice->text().toStdString();
}

}  // namespace
}  // namespace pictor::gui::testing
