// The interface language: chosen in View > Language, applied to the open window
// at once, remembered for the next start.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTranslator>

#include "gui/memory_map_dialog.h"
#include "gui/ui_language.h"
#include "gui/user_state.h"
#include "main_window_fixture.h"

namespace pictor::gui::testing {
namespace {

class LanguageTest : public MainWindowTest {
  protected:
    // The other tests compare the texts as written: no translation stays installed.
    void TearDown() override {
        for (auto* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        MainWindowTest::TearDown();
    }

    void Choose(const char* code) {
        auto* action = window_->findChild<QAction*>(QStringLiteral("language_") + code);
        ASSERT_NE(action, nullptr) << code;
        action->trigger();
    }
};

TEST_F(LanguageTest, SwitchingRetranslatesTheOpenWindowBothWays) {
    Start();
    InstallUiLanguage(UiLanguage::Chinese);
    EXPECT_EQ(Button(1028)->text(), "上移");
    EXPECT_EQ(Button(1004)->text(), "全部删除");

    Choose("en");
    EXPECT_EQ(Button(1028)->text(), "Up");
    EXPECT_EQ(Button(1004)->text(), "Remove All");
    EXPECT_EQ(Button(1001)->text(), "Import Pictures");
    EXPECT_EQ(Get<QComboBox>(1005)->itemText(2), "Report");
    EXPECT_EQ(Get<QGroupBox>(1030)->title(), "Simulated LCD");
    EXPECT_EQ(UserState().Language(), "en");
    // The core's status and message texts follow too.
    EXPECT_EQ(LocalizeCoreStatus("写数据...37 %"), "Writing data... 37 %");
    EXPECT_EQ(LocalizeCoreMessage(Message{"下载 Bin档成功", "信息", MessageIcon::Information}),
              (Message{"Image downloaded", "Information", MessageIcon::Information}));

    // Windows and widgets outside the main layout follow when Qt delivers the change.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    auto* sourceButton = window_->findChild<QRadioButton*>(QStringLiteral("previewSourceButton"));
    ASSERT_NE(sourceButton, nullptr);
    EXPECT_EQ(sourceButton->text(), "Source");
    EXPECT_EQ(window_->MemoryMap().windowTitle(), "Memory map — Pictor");

    Choose("zh");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    EXPECT_EQ(sourceButton->text(), "原图");
    EXPECT_EQ(window_->MemoryMap().windowTitle(), "存储布局 — Pictor");
    EXPECT_EQ(window_->findChild<QAction*>(QStringLiteral("quitAction"))->text(), "退出(&Q)");
    EXPECT_EQ(Button(1028)->text(), "上移");
    EXPECT_EQ(Button(1001)->text(), "导入BMP文件");
    EXPECT_EQ(Get<QComboBox>(1005)->itemText(2), "详细信息");
    EXPECT_EQ(LocalizeCoreStatus("写数据...37 %"), "写数据...37 %");
    EXPECT_EQ(UserState().Language(), "zh");
    // The chosen language stays checked in the menu.
    EXPECT_TRUE(window_->findChild<QAction*>(QStringLiteral("language_zh"))->isChecked());
    EXPECT_FALSE(window_->findChild<QAction*>(QStringLiteral("language_en"))->isChecked());
}

// Qt's own texts, the status bar, the progress row and the model editor's
// lists speak the chosen language too.
TEST_F(LanguageTest, QtTextsStatusAndProgressFollowTheLanguage) {
    Start();
    Import({Picture("a.bmp"), Picture("b.bmp")});
    const auto status = [&](const char* name) {
        return window_->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    InstallUiLanguage(UiLanguage::Chinese);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "取消");
    EXPECT_TRUE(status("statusPort").endsWith("已关闭")) << status("statusPort").toStdString();
    EXPECT_TRUE(status("statusPictures").startsWith("2 张图片"))
        << status("statusPictures").toStdString();
    EXPECT_EQ(Get<QLabel>(1100)->text(), "就绪");
    EXPECT_EQ(CoreText("None"), "无");
    EXPECT_EQ(CoreText("2 Bytes"), "2 字节");

    Choose("en");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_TRUE(status("statusPort").endsWith(": closed"));
    EXPECT_TRUE(status("statusPictures").startsWith("2 pictures"));
    EXPECT_EQ(Get<QLabel>(1100)->text(), "Ready");
    // The connect button names the command, not a state.
    EXPECT_EQ(Button(1086)->text(), "Connect");
}

TEST(UiLanguage, FollowsTheFirstSystemLanguage) {
    EXPECT_EQ(SystemUiLanguage({"zh-Hans-CN", "en-US"}), UiLanguage::Chinese);
    EXPECT_EQ(SystemUiLanguage({"zh-TW"}), UiLanguage::Chinese);
    EXPECT_EQ(SystemUiLanguage({"en-GB", "zh-CN"}), UiLanguage::English);
    EXPECT_EQ(SystemUiLanguage({"de-DE"}), UiLanguage::English);
    EXPECT_EQ(SystemUiLanguage({}), UiLanguage::English);
}

}  // namespace
}  // namespace pictor::gui::testing
