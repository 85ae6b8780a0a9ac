// The "Picture" dialog, "Add text..." and "Add glyphs..." of the main window.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "gui/picture_list_model.h"
#include "gui/picture_operations_dialog.h"
#include "gui/text_item_dialog.h"
#include "main_window_fixture.h"

namespace pictor::gui::testing {
namespace {

const QString kFont = QStringLiteral(PICTOR_EXAMPLES_DIR "/fonts/DejaVuSans-subset.ttf");

template <typename Widget>
Widget* Child(QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QPushButton* OkButton(QDialog& dialog) {
    return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

class PictureItemsTest : public MainWindowTest {
  protected:
    void Trigger(const char* action) { window_->Action(QString::fromLatin1(action))->trigger(); }
    QString SizeCell(int row) const {
        const auto* model = window_->findChild<PictureListModel*>();
        return model->index(row, 2).data().toString();
    }
};

TEST_F(PictureItemsTest, PictureDialogPreviewsResetsAndAppliesOperations) {
    Start();
    Import({Picture(QStringLiteral("wide.bmp"), 8, 4)});
    ASSERT_EQ(window_->Pictures().Size(), 1U);
    dialogs_.modalHandlers["pictureOperationsDialog"] = [](QDialog& dialog) {
        auto& operations = static_cast<PictureOperationsDialog&>(dialog);
        Child<QComboBox>(dialog, "rotateBox")->setCurrentIndex(1);  // 90 degrees
        EXPECT_EQ(operations.PreviewImage().size(), QSize(4, 8));
        // A crop that reaches outside the 8 x 4 picture cannot be confirmed.
        Child<QGroupBox>(dialog, "cropBox")->setChecked(true);
        Child<QSpinBox>(dialog, "cropWidth")->setValue(9);
        EXPECT_FALSE(OkButton(dialog)->isEnabled());
        EXPECT_TRUE(operations.PreviewImage().isNull());
        Child<QPushButton>(dialog, "resetButton")->click();
        EXPECT_EQ(operations.Operations(), workspace::PictureOperations{});
        EXPECT_EQ(operations.PreviewImage().size(), QSize(8, 4));
        Child<QComboBox>(dialog, "rotateBox")->setCurrentIndex(1);
        Child<QComboBox>(dialog, "scaleModeBox")->setCurrentIndex(1);  // to W x H
        Child<QSpinBox>(dialog, "scaleWidth")->setValue(8);
        Child<QSpinBox>(dialog, "scaleHeight")->setValue(16);
        EXPECT_TRUE(OkButton(dialog)->isEnabled());
        OkButton(dialog)->click();
        return dialog.result();
    };
    Trigger("pictureOperationsAction");
    const workspace::ImageEntry& entry = window_->Pictures().At(0);
    EXPECT_EQ(entry.operations.rotate, 90);
    EXPECT_EQ(entry.width, 8);
    EXPECT_EQ(entry.height, 16);
    EXPECT_EQ(SizeCell(0), QStringLiteral("8 x 16 *"));
    EXPECT_TRUE(window_->ListModified());
}

TEST_F(PictureItemsTest, AddTextDrawsWithTheChosenFontAndSavesATextItem) {
    Start();
    dialogs_.modalHandlers["textItemDialog"] = [](QDialog& dialog) {
        auto& text = static_cast<TextItemDialog&>(dialog);
        Child<QLineEdit>(dialog, "nameEdit")->setText(QStringLiteral("title"));
        Child<QPlainTextEdit>(dialog, "textEdit")->setPlainText(QStringLiteral("Hi"));
        text.SetFontPath(QStringLiteral("/no/such/font.ttf"));
        EXPECT_FALSE(OkButton(dialog)->isEnabled());
        EXPECT_TRUE(Child<QLabel>(dialog, "statusLabel")
                        ->text()
                        .contains(QStringLiteral("/no/such/font.ttf")));
        text.SetFontPath(kFont);
        Child<QSpinBox>(dialog, "sizeBox")->setValue(20);
        EXPECT_TRUE(OkButton(dialog)->isEnabled());
        EXPECT_EQ(text.PreviewImage().height(), 20);
        OkButton(dialog)->click();
        return dialog.result();
    };
    Trigger("addTextAction");
    ASSERT_EQ(Names(), std::vector<std::string>{"title"});
    const workspace::ImageEntry& entry = window_->Pictures().At(0);
    ASSERT_TRUE(entry.text);
    EXPECT_EQ(entry.text->text, "Hi");
    EXPECT_EQ(entry.height, 20);

    const QString project = QDir(dir_->Dir()).filePath(QStringLiteral("t.pictor"));
    ASSERT_TRUE(window_->SaveProjectTo(project));
    QFile file(project);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString saved = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(saved.contains(QStringLiteral("[text]\nname = title\ntext = Hi\n")))
        << saved.toStdString();
    EXPECT_TRUE(saved.contains(QStringLiteral("size = 20\n")));
}

TEST_F(PictureItemsTest, AddGlyphsMakesOnePicturePerCharacterOfOneHeight) {
    Start();
    dialogs_.modalHandlers["textItemDialog"] = [](QDialog& dialog) {
        auto& glyphs = static_cast<TextItemDialog&>(dialog);
        Child<QLineEdit>(dialog, "nameEdit")->setText(QStringLiteral("clock"));
        Child<QPlainTextEdit>(dialog, "textEdit")->setPlainText(QStringLiteral("12:1"));
        glyphs.SetFontPath(kFont);
        Child<QSpinBox>(dialog, "sizeBox")->setValue(24);
        EXPECT_TRUE(OkButton(dialog)->isEnabled());
        OkButton(dialog)->click();
        return dialog.result();
    };
    Trigger("addGlyphsAction");
    EXPECT_EQ(Names(), (std::vector<std::string>{"clock_31", "clock_32", "clock_3a"}));
    for (const workspace::ImageEntry& entry : window_->Pictures().Entries()) {
        EXPECT_EQ(entry.height, 24) << entry.name;
    }
}

}  // namespace
}  // namespace pictor::gui::testing
