#include "gui/config_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "scripted_dialogs.h"
#include "test_support.h"

namespace pictor::gui {
namespace {

using testing::Choose;
using testing::Control;
using testing::Items;
using testing::ScriptedDialogs;
using testing::SettingsDir;

std::string ModelSection(const std::string& name, const std::string& keys) {
    return "[" + name + "]\n" + keys;
}

const std::string kTwoModels =
    "[COMMON]\nLCD_TYPE=480\nMODEL_COUNT=2\nMODEL_NAME0=First\nMODEL_NAME1=Second\n"
    "CURRENT_MODE=1\nEXT_EDIT_EXE=/opt/paint\n" +
    ModelSection("First", "COLOR_DEPTH=1\nCOLOR_TYPE=0\nMIN_ALLOCATE_SIZE=1\nBLOCK_COL_NUM=0\n") +
    ModelSection("Second",
                 "COLOR_DEPTH=16\nCONVERT_DIRECTION=1\nCOLOR_TYPE=1\nPANEL_WIDTH=100\n"
                 "PANEL_HEIGHT=50\nOUT_DATA_TYPE=1\nSAVE_WIDTH_HEIGHT_TO_DEFINE=1\n"
                 "SAVE_LEFT_TOP_TO_DEFINE=0\nSAVE_WIDTH_HEIGHT_TO_BIN=1\nBKCOLOR=255\n"
                 "MIN_ALLOCATE_SIZE=100\nBLOCK_COL_NUM=20\nAVOID_ACROSS_SECTOR=1\n");

TEST(ConfigDialogTest, MissingSettingsFileOffersOnlyNewAndWritesNothingOnClose) {
    SettingsDir dir;
    ScriptedDialogs dialogs;
    settings::ModelProfile profile;
    {
        ConfigDialog dialog(profile, dir.FsPath(), dialogs);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0],
                  (Message{"没有找到配置文件! ", "", MessageIcon::Information}));
        EXPECT_EQ(dialogs.captions[0], "Pictor");
        EXPECT_EQ(Items(Control<QComboBox>(&dialog, 1031)), QStringList{"New"});
        EXPECT_FALSE(Control<QPushButton>(&dialog, 1)->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(&dialog, 1056)->isEnabled());
        Control<QPushButton>(&dialog, 1061)->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_FALSE(QFile::exists(dir.Path()));
}

TEST(ConfigDialogTest, SecondOfTwoModelsIsShownAndConfirmed) {
    SettingsDir dir(kTwoModels);
    ScriptedDialogs dialogs;
    settings::ModelProfile profile;
    ConfigDialog dialog(profile, dir.FsPath(), dialogs);
    EXPECT_TRUE(dialogs.messages.empty());

    EXPECT_EQ(Items(Control<QComboBox>(&dialog, 1031)), (QStringList{"First", "Second", "New"}));
    EXPECT_EQ(Control<QComboBox>(&dialog, 1031)->currentIndex(), 1);
    EXPECT_TRUE(Control<QPushButton>(&dialog, 1)->isEnabled());
    // An existing model can be edited, saved and (with another model left) deleted.
    EXPECT_TRUE(Control<QPushButton>(&dialog, 1056)->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(&dialog, 1057)->isEnabled());

    // The mappings through list positions.
    EXPECT_EQ(Control<QComboBox>(&dialog, 1069)->currentText(), "16-Bit");
    EXPECT_EQ(Items(Control<QComboBox>(&dialog, 1070)), (QStringList{"BGR_565", "RGB_565"}));
    EXPECT_EQ(Control<QComboBox>(&dialog, 1070)->currentText(), "RGB_565");
    EXPECT_EQ(Control<QComboBox>(&dialog, 1063)->currentText(), "64 Byte");
    EXPECT_EQ(Control<QComboBox>(&dialog, 1071)->currentText(), "16");
    EXPECT_EQ(Control<QComboBox>(&dialog, 1101)->currentText(), "480x320");
    EXPECT_TRUE(Control<QRadioButton>(&dialog, 1078)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(&dialog, 1045)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(&dialog, 1046)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(&dialog, 1043)->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(&dialog, 1052)->isChecked());
    EXPECT_EQ(Control<QLineEdit>(&dialog, 1037)->text(), "480");  // from "LCD_TYPE"
    EXPECT_EQ(Control<QLineEdit>(&dialog, 1048)->text(), "/opt/paint");
    EXPECT_EQ(Control<QLabel>(&dialog, 1067)->palette().color(QPalette::Window), QColor(255, 0, 0));

    Control<QPushButton>(&dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dir.Key("COMMON", "MODEL_COUNT"), "2");
    EXPECT_EQ(dir.Key("COMMON", "CURRENT_MODE"), "1");
    EXPECT_EQ(dir.Key("COMMON", "MODEL_NAME1"), "Second");
    EXPECT_EQ(dir.Key("COMMON", "EXT_EDIT_EXE"), "/opt/paint");
    EXPECT_EQ(dir.Key("COMMON", "LCD_TYPE"), "480x320");
    EXPECT_EQ(dir.Key("Second", "MIN_ALLOCATE_SIZE"), "64");
    EXPECT_EQ(dir.Key("Second", "BLOCK_COL_NUM"), "16");
    EXPECT_EQ(dir.Key("Second", "COLOR_TYPE"), "1");
    EXPECT_EQ(dir.Key("Second", "CONVERT_DIRECTION"), "1");
    EXPECT_EQ(dir.Key("Second", "BKCOLOR"), "255");

    EXPECT_EQ(profile.modelName, "Second");
    EXPECT_EQ(profile.colorDepth, 16);
    EXPECT_EQ(profile.minAllocateSize, 64);
    EXPECT_EQ(profile.panelWidth, 480);
    EXPECT_EQ(profile.panelHeight, 320);
    EXPECT_EQ(profile.pixelsPerByte, 1);
    EXPECT_EQ(profile.channelLayout.redShift, 11);  // RGB_565: red in bits 11-15
}

TEST(ConfigDialogTest, ChoosingModelsAndDepthsRefillsTheColourTypes) {
    SettingsDir dir(kTwoModels);
    ScriptedDialogs dialogs;
    settings::ModelProfile profile;
    ConfigDialog dialog(profile, dir.FsPath(), dialogs);
    auto* models = Control<QComboBox>(&dialog, 1031);

    Choose(models, 0);
    EXPECT_EQ(Control<QComboBox>(&dialog, 1069)->currentText(), "1-Bit");
    EXPECT_EQ(Items(Control<QComboBox>(&dialog, 1070)), QStringList{"Level"});
    EXPECT_EQ(Control<QComboBox>(&dialog, 1071)->currentText(), "MAX");
    EXPECT_TRUE(Control<QPushButton>(&dialog, 1)->isEnabled());
    EXPECT_TRUE(Control<QComboBox>(&dialog, 1069)->isEnabled());

    Choose(models, 2);  // "New": nothing to confirm or delete yet
    EXPECT_FALSE(Control<QPushButton>(&dialog, 1)->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(&dialog, 1057)->isEnabled());
    EXPECT_TRUE(Control<QComboBox>(&dialog, 1069)->isEnabled());

    auto* depth = Control<QComboBox>(&dialog, 1069);
    const struct {
        int depthIndex;
        QStringList types;
    } cases[] = {{4, {"BGR_565", "RGB_565"}}, {5, {"MASK"}}, {3, {"Level"}}};
    for (const auto& c : cases) {
        Choose(depth, c.depthIndex);
        EXPECT_EQ(Items(Control<QComboBox>(&dialog, 1070)), c.types) << c.depthIndex;
        EXPECT_EQ(Control<QComboBox>(&dialog, 1070)->currentIndex(), 0) << c.depthIndex;
    }

    // The source-code output disables the allocation controls while editing.
    Control<QRadioButton>(&dialog, 1045)->click();
    EXPECT_FALSE(Control<QComboBox>(&dialog, 1063)->isEnabled());
    Control<QRadioButton>(&dialog, 1044)->click();
    EXPECT_TRUE(Control<QComboBox>(&dialog, 1063)->isEnabled());
}

TEST(ConfigDialogTest, NewModelNeedsANameAndCanThenBeConfirmed) {
    SettingsDir dir;
    ScriptedDialogs dialogs;
    dialogs.colorAnswers.push_back(QColor(0, 0, 255));
    settings::ModelProfile profile;
    ConfigDialog dialog(profile, dir.FsPath(), dialogs);
    dialogs.messages.clear();

    QString typedName;
    dialogs.modalHandlers["ModelNameDialog"] = [&](QDialog& nameDialog) {
        EXPECT_EQ(Control<QLabel>(&nameDialog, 1057)->text(), "Input the new model name");
        Control<QLineEdit>(&nameDialog, 1058)->setText(typedName);
        Control<QPushButton>(&nameDialog, 1)->click();
        return nameDialog.result();
    };

    Choose(Control<QComboBox>(&dialog, 1069), 4);
    Choose(Control<QComboBox>(&dialog, 1070), 1);
    Control<QLineEdit>(&dialog, 1037)->setText("128");
    Control<QPushButton>(&dialog, 1068)->click();  // blue background

    typedName = "";
    Control<QPushButton>(&dialog, 1056)->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], (Message{"请选择正确文件!", "", MessageIcon::Exclamation}));
    EXPECT_EQ(Items(Control<QComboBox>(&dialog, 1031)), QStringList{"New"});
    EXPECT_FALSE(Control<QPushButton>(&dialog, 1)->isEnabled());

    // A "]" would end the section name early: refused, nothing saved.
    typedName = "A]B";
    Control<QPushButton>(&dialog, 1056)->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[1].text.find("\"A]B\""), std::string::npos);
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(Items(Control<QComboBox>(&dialog, 1031)), QStringList{"New"});
    EXPECT_EQ(dir.Key("COMMON", "MODEL_COUNT"), "<missing>");

    // Edge blanks are dropped: the file could not give them back.
    typedName = "  Panel 128 ";
    Control<QPushButton>(&dialog, 1056)->click();
    EXPECT_EQ(Items(Control<QComboBox>(&dialog, 1031)), (QStringList{"Panel 128", "New"}));
    EXPECT_EQ(Control<QComboBox>(&dialog, 1031)->currentIndex(), 0);
    EXPECT_TRUE(Control<QPushButton>(&dialog, 1)->isEnabled());
    EXPECT_EQ(dir.Key("COMMON", "MODEL_COUNT"), "1");
    EXPECT_EQ(dir.Key("COMMON", "MODEL_NAME0"), "Panel 128");
    EXPECT_EQ(dir.Key("Panel 128", "COLOR_DEPTH"), "16");
    EXPECT_EQ(dir.Key("Panel 128", "PANEL_WIDTH"), "128");
    EXPECT_EQ(dir.Key("Panel 128", "BKCOLOR"), std::to_string(0xFF0000));

    Control<QPushButton>(&dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(profile.modelName, "Panel 128");
    EXPECT_EQ(profile.colorType, 1);
    EXPECT_EQ(dir.Key("COMMON", "CURRENT_MODE"), "0");
}

TEST(ConfigDialogTest, ExistingModelIsEditedAndSaved) {
    SettingsDir dir(kTwoModels);
    ScriptedDialogs dialogs;
    settings::ModelProfile profile;
    ConfigDialog dialog(profile, dir.FsPath(), dialogs);
    Choose(Control<QComboBox>(&dialog, 1031), 0);
    Choose(Control<QComboBox>(&dialog, 1069), 3);   // 8-Bit
    Control<QRadioButton>(&dialog, 1078)->click();  // vertical first
    Control<QPushButton>(&dialog, 1056)->click();
    EXPECT_EQ(dir.Key("First", "COLOR_DEPTH"), "8");
    EXPECT_EQ(dir.Key("First", "CONVERT_DIRECTION"), "1");
    EXPECT_EQ(dir.Key("COMMON", "MODEL_COUNT"), "2");
    EXPECT_EQ(dir.Key("Second", "COLOR_DEPTH"), "16");
    EXPECT_TRUE(dialogs.modalRuns.empty());  // no name prompt for an existing model
}

TEST(ConfigDialogTest, DitherBoxShowsSavesAndActivatesTheModelsMode) {
    // "First" comes from a file written before dithering existed: no "DITHER" key.
    SettingsDir dir(
        "[COMMON]\nLCD_TYPE=480\nMODEL_COUNT=2\nMODEL_NAME0=First\nMODEL_NAME1=Second\n"
        "CURRENT_MODE=1\n[First]\nCOLOR_DEPTH=1\n[Second]\nCOLOR_DEPTH=16\nDITHER=1\n");
    ScriptedDialogs dialogs;
    settings::ModelProfile profile;
    ConfigDialog dialog(profile, dir.FsPath(), dialogs);
    auto* dither = dialog.findChild<QComboBox*>(QStringLiteral("ditherBox"));
    ASSERT_NE(dither, nullptr);
    EXPECT_EQ(Items(dither), (QStringList{"None", "Ordered", "Floyd–Steinberg"}));
    EXPECT_EQ(dither->currentText(), "Ordered");

    Choose(Control<QComboBox>(&dialog, 1031), 0);
    EXPECT_EQ(dither->currentText(), "None");
    Control<QPushButton>(&dialog, 1056)->click();
    EXPECT_EQ(dir.Key("First", "DITHER"), "0");  // none, as the missing key meant

    Choose(Control<QComboBox>(&dialog, 1031), 1);
    EXPECT_EQ(dither->currentText(), "Ordered");
    Choose(dither, 2);
    Control<QPushButton>(&dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(profile.dither, 2);
    EXPECT_TRUE(dir.Bytes().contains("[Second]\nCOLOR_DEPTH=16\nDITHER=2\n"));
}

TEST(ConfigDialogTest, DeleteAsksAndNeverRemovesTheLastModel) {
    SettingsDir dir(kTwoModels);
    ScriptedDialogs dialogs;
    settings::ModelProfile profile;
    ConfigDialog dialog(profile, dir.FsPath(), dialogs);
    auto* models = Control<QComboBox>(&dialog, 1031);
    auto* remove = Control<QPushButton>(&dialog, 1057);
    Choose(models, 0);

    dialogs.questionAnswers = {QMessageBox::No};
    remove->click();
    EXPECT_EQ(Items(models), (QStringList{"First", "Second", "New"}));
    EXPECT_EQ(dir.Key("COMMON", "MODEL_COUNT"), "2");
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_NE(dialogs.questions[0].text.find("First"), std::string::npos);

    dialogs.questionAnswers = {QMessageBox::Yes};
    remove->click();
    EXPECT_EQ(Items(models), (QStringList{"Second", "New"}));
    EXPECT_EQ(dir.Key("COMMON", "MODEL_COUNT"), "1");
    EXPECT_EQ(dir.Key("COMMON", "MODEL_NAME0"), "Second");
    EXPECT_EQ(dir.Key("COMMON", "CURRENT_MODE"), "0");  // Second, now first
    EXPECT_EQ(models->currentText(), "Second");
    EXPECT_EQ(Control<QComboBox>(&dialog, 1069)->currentText(), "16-Bit");

    // The one model left cannot go.
    EXPECT_FALSE(remove->isEnabled());
    remove->click();
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(Items(models), (QStringList{"Second", "New"}));
}

TEST(ConfigDialogTest, CancelLeavesTheFileByteForByte) {
    SettingsDir dir(kTwoModels);
    const QByteArray before = dir.Bytes();
    ScriptedDialogs dialogs;
    settings::ModelProfile profile;
    ConfigDialog dialog(profile, dir.FsPath(), dialogs);
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dir.Bytes(), before);
}

TEST(ConfigDialogTest, InvalidWidthShowsTheStandardMessageAndKeepsTheDialogOpen) {
    SettingsDir dir;
    ScriptedDialogs dialogs;
    settings::ModelProfile profile;
    ConfigDialog dialog(profile, dir.FsPath(), dialogs);
    dialogs.messages.clear();
    dialogs.modalHandlers["ModelNameDialog"] = [](QDialog&) { return QDialog::Rejected; };
    Control<QLineEdit>(&dialog, 1038)->setText("-3");
    Control<QLineEdit>(&dialog, 1037)->setText("abc");
    Control<QPushButton>(&dialog, 1056)->click();
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages[0].text, "Please enter a positive integer.");
    EXPECT_FALSE(QFile::exists(dir.Path()));
}

TEST(ConfigDialogTest, WidthAndHeightFollowTheChosenLcdSize) {
    SettingsDir dir(
        "[COMMON]\nLCD_TYPE=320x240\nMODEL_COUNT=1\nMODEL_NAME0=Panel\nCURRENT_MODE=0\n"
        "[Panel]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\n");
    ScriptedDialogs dialogs;
    settings::ModelProfile profile;
    ConfigDialog dialog(profile, dir.FsPath(), dialogs);
    auto* size = Control<QComboBox>(&dialog, 1101);
    auto* width = Control<QLineEdit>(&dialog, 1037);
    auto* height = Control<QLineEdit>(&dialog, 1038);
    EXPECT_EQ(width->text(), "320");
    EXPECT_EQ(height->text(), "240");

    const struct {
        QString entry;
        QString width;
        QString height;
    } cases[] = {{"220x176", "220", "176"},
                 {"400x240", "400", "240"},
                 {"272x480", "480", "272"},  // the panel is used lying down
                 {"480x320", "480", "320"}};
    for (const auto& c : cases) {
        Choose(size, size->findText(c.entry));
        EXPECT_EQ(width->text(), c.width) << c.entry.toStdString();
        EXPECT_EQ(height->text(), c.height) << c.entry.toStdString();
    }

    // What the fields show is what the confirmed profile and the file get.
    Control<QPushButton>(&dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(profile.panelWidth, 480);
    EXPECT_EQ(profile.panelHeight, 320);
    EXPECT_EQ(dir.Key("COMMON", "LCD_TYPE"), "480x320");
}

}  // namespace
}  // namespace pictor::gui
