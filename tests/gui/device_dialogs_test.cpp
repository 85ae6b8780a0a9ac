#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "gui/lcd_settings_dialog.h"
#include "gui/resource_download_dialog.h"
#include "scripted_dialogs.h"
#include "test_support.h"

namespace pictor::gui {
namespace {

using testing::Control;
using testing::ScriptedDialogs;

class FakeSettingsLink final : public LcdSettingsExchange {
  public:
    std::optional<device::Outcome> WriteLcdSettings(const device::LcdSettings& values) override {
        written.push_back(values);
        return answer;
    }
    std::optional<device::Outcome> ReadLcdSettings(device::LcdSettingsReply& received) override {
        if (reply) {
            received = *reply;
            return device::Outcome::Ok;
        }
        return device::Outcome::Failed;
    }

    device::Outcome answer = device::Outcome::Ok;
    std::vector<device::LcdSettings> written;
    std::optional<device::LcdSettingsReply> reply;
};

std::array<int, 5> Bytes(const device::LcdSettings& v) {
    return {v.address, v.baudIndex, v.backlight, v.foreground, v.background};
}

std::array<QString, 5> Shown(const QDialog& dialog, std::array<int, 5> ids) {
    return {Control<QLineEdit>(&dialog, ids[0])->text(),
            Control<QComboBox>(&dialog, ids[1])->currentText(),
            Control<QComboBox>(&dialog, ids[2])->currentText(),
            Control<QComboBox>(&dialog, ids[3])->currentText(),
            Control<QComboBox>(&dialog, ids[4])->currentText()};
}

constexpr std::array<int, 5> kLcdIds = {1073, 1109, 1111, 1112, 1113};

TEST(LcdSettingsDialogTest, OpensWithTheDefaultsAndWritesThem) {
    ScriptedDialogs dialogs;
    FakeSettingsLink link;
    LcdSettingsDialog dialog(link, dialogs);
    EXPECT_EQ(dialog.windowTitle(), "LCD SETTING");
    EXPECT_EQ(Shown(dialog, kLcdIds),
              (std::array<QString, 5>{"255", "9600", "5", "WHITE", "BLUE"}));

    Control<QPushButton>(&dialog, 1116)->click();
    ASSERT_EQ(link.written.size(), 1u);
    EXPECT_EQ(Bytes(link.written[0]), (std::array<int, 5>{0xFF, 3, 5, 4, 1}));
    EXPECT_EQ(dialogs.messages.back(), (Message{"写LCD设置数据", "成功", MessageIcon::None}));

    // An address out of range: the standard message, and the address held before goes out.
    Control<QLineEdit>(&dialog, 1073)->setText("300");
    Control<QComboBox>(&dialog, 1112)->setCurrentIndex(3);  // RED
    link.answer = device::Outcome::Failed;
    Control<QPushButton>(&dialog, 1116)->click();
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[1].text, "Please enter an integer between 0 and 255.");
    EXPECT_EQ(Bytes(link.written[1]), (std::array<int, 5>{0xFF, 3, 5, 3, 1}));
    EXPECT_EQ(dialogs.messages[2], (Message{"写LCD设置数据", "失败", MessageIcon::None}));
}

TEST(LcdSettingsDialogTest, ReadTakesValuesInRangeOnly) {
    const struct {
        const char* name;
        std::array<std::uint8_t, 5> reply;  // bytes 4 to 8
        std::array<QString, 5> shown;
    } cases[] = {
        {"all in range", {1, 6, 9, 0, 5}, {"1", "115200", "9", "BLACK", "YELLOW"}},
        {"baud 7 ignored", {2, 7, 0, 2, 3}, {"2", "9600", "0", "GREEN", "RED"}},
        {"all out of range but the address",
         {200, 9, 10, 6, 6},
         {"200", "9600", "5", "WHITE", "BLUE"}},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        FakeSettingsLink link;
        link.reply =
            device::LcdSettingsReply{c.reply[0], c.reply[1], c.reply[2], c.reply[3], c.reply[4]};
        LcdSettingsDialog dialog(link, dialogs);
        Control<QPushButton>(&dialog, 1115)->click();
        EXPECT_EQ(Shown(dialog, kLcdIds), c.shown) << c.name;
        EXPECT_EQ(dialogs.messages.back(), (Message{"读LCD设置数据", "成功", MessageIcon::None}))
            << c.name;
    }

    ScriptedDialogs dialogs;
    FakeSettingsLink silent;
    LcdSettingsDialog dialog(silent, dialogs);
    Control<QPushButton>(&dialog, 1115)->click();
    EXPECT_EQ(dialogs.messages.back(), (Message{"读LCD设置数据", "失败", MessageIcon::None}));
    EXPECT_EQ(Shown(dialog, kLcdIds),
              (std::array<QString, 5>{"255", "9600", "5", "WHITE", "BLUE"}));
}

class FakeDownloadHost final : public ResourceDownloadHost {
  public:
    bool LoadResourceImage(const std::string& path, QWidget* /*owner*/) override {
        loads.push_back(path);
        return accept;
    }
    void StartResourceDownload(std::optional<device::LcdSettings> settings) override {
        starts.push_back(settings);
    }

    bool accept = true;
    std::vector<std::string> loads;
    std::vector<std::optional<device::LcdSettings>> starts;
};

TEST(ResourceDownloadDialogTest, LoadsTheChosenImageAndStartsTheJob) {
    ScriptedDialogs dialogs;
    FakeDownloadHost host;
    ResourceDownloadDialog dialog(host, dialogs);
    EXPECT_EQ(dialog.windowTitle(), "图片资源下载");
    auto* path = Control<QLineEdit>(&dialog, 1118);
    EXPECT_TRUE(path->text().isEmpty());

    host.accept = false;  // too large: the path field stays as it was
    dialogs.fileAnswers.push_back({"/data/big.bin"});
    Control<QPushButton>(&dialog, 1098)->click();
    EXPECT_TRUE(path->text().isEmpty());
    host.accept = true;
    dialogs.fileAnswers.push_back({"/data/Icon.bin"});
    Control<QPushButton>(&dialog, 1098)->click();
    EXPECT_EQ(path->text(), "/data/Icon.bin");
    EXPECT_EQ(host.loads, (std::vector<std::string>{"/data/big.bin", "/data/Icon.bin"}));

    Control<QPushButton>(&dialog, 1)->click();
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_FALSE(host.starts[0].has_value());

    auto* tick = Control<QCheckBox>(&dialog, 1124);
    tick->click();
    EXPECT_EQ(dialogs.messages.back(),
              (Message{"打开下载LCD设置!!", "提示", MessageIcon::Information}));
    Control<QComboBox>(&dialog, 1121)->setCurrentIndex(7);
    Control<QPushButton>(&dialog, 1)->click();
    ASSERT_EQ(host.starts.size(), 2u);
    ASSERT_TRUE(host.starts[1].has_value());
    EXPECT_EQ(Bytes(*host.starts[1]), (std::array<int, 5>{0xFF, 3, 7, 4, 1}));

    tick->click();
    EXPECT_EQ(dialogs.messages.back(),
              (Message{"关闭下载LCD设置!!", "提示", MessageIcon::Information}));
    Control<QPushButton>(&dialog, 1)->click();
    EXPECT_FALSE(host.starts[2].has_value());
}

}  // namespace
}  // namespace pictor::gui
