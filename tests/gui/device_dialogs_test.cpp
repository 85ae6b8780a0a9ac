#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
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

    auto* result = dialog.findChild<QLabel*>("resultLabel");
    ASSERT_NE(result, nullptr);
    Control<QPushButton>(&dialog, 1116)->click();
    ASSERT_EQ(link.written.size(), 1u);
    EXPECT_EQ(Bytes(link.written[0]), (std::array<int, 5>{0xFF, 3, 5, 4, 1}));
    EXPECT_TRUE(dialogs.messages.empty());  // a success is the result line's alone
    EXPECT_EQ(result->text(), "写LCD设置数据: 成功");

    // An address out of range: the standard message, nothing is sent and the
    // earlier success no longer shows.
    Control<QLineEdit>(&dialog, 1073)->setText("300");
    Control<QComboBox>(&dialog, 1112)->setCurrentIndex(3);  // RED
    Control<QPushButton>(&dialog, 1116)->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Please enter an integer between 0 and 255.");
    EXPECT_EQ(link.written.size(), 1u);
    EXPECT_TRUE(result->text().isEmpty());

    Control<QLineEdit>(&dialog, 1073)->setText("12");
    link.answer = device::Outcome::Failed;
    Control<QPushButton>(&dialog, 1116)->click();
    ASSERT_EQ(link.written.size(), 2u);
    EXPECT_EQ(Bytes(link.written[1]), (std::array<int, 5>{12, 3, 5, 3, 1}));
    EXPECT_EQ(dialogs.messages.back(), (Message{"写LCD设置数据", "失败", MessageIcon::Stop}));
    EXPECT_EQ(result->text(), "写LCD设置数据: 失败");
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
        EXPECT_TRUE(dialogs.messages.empty()) << c.name;
        EXPECT_EQ(dialog.findChild<QLabel*>("resultLabel")->text(), "读LCD设置数据: 成功")
            << c.name;
    }

    ScriptedDialogs dialogs;
    FakeSettingsLink silent;
    LcdSettingsDialog dialog(silent, dialogs);
    Control<QPushButton>(&dialog, 1115)->click();
    EXPECT_EQ(dialogs.messages.back(), (Message{"读LCD设置数据", "失败", MessageIcon::Stop}));
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
    void CancelResourceDownload() override { ++cancels; }

    bool accept = true;
    int cancels = 0;
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
    // "下载" loads the file again: what is sent is what the field names now.
    EXPECT_EQ(host.loads.back(), "/data/Icon.bin");

    // The tick enables the settings' fields; it shows no box.
    auto* tick = Control<QCheckBox>(&dialog, 1124);
    auto* address = Control<QLineEdit>(&dialog, 1119);
    EXPECT_FALSE(address->isEnabled());
    const std::size_t shown = dialogs.messages.size();
    tick->click();
    EXPECT_TRUE(address->isEnabled());
    EXPECT_EQ(dialogs.messages.size(), shown);
    Control<QComboBox>(&dialog, 1121)->setCurrentIndex(7);
    Control<QPushButton>(&dialog, 1)->click();
    ASSERT_EQ(host.starts.size(), 2u);
    ASSERT_TRUE(host.starts[1].has_value());
    EXPECT_EQ(Bytes(*host.starts[1]), (std::array<int, 5>{0xFF, 3, 7, 4, 1}));

    // A failed address check with the settings ticked sends nothing at all.
    Control<QLineEdit>(&dialog, 1119)->setText("256");
    Control<QPushButton>(&dialog, 1)->click();
    EXPECT_EQ(dialogs.messages.back().text, "Please enter an integer between 0 and 255.");
    EXPECT_EQ(host.starts.size(), 2u);

    tick->click();
    EXPECT_FALSE(address->isEnabled());
    Control<QPushButton>(&dialog, 1)->click();
    ASSERT_EQ(host.starts.size(), 3u);
    EXPECT_FALSE(host.starts[2].has_value());
}

TEST(ResourceDownloadDialogTest, DownloadUsesTheTypedPathAndNeverAnEarlierImage) {
    ScriptedDialogs dialogs;
    FakeDownloadHost host;
    ResourceDownloadDialog dialog(host, dialogs);
    auto* path = Control<QLineEdit>(&dialog, 1118);
    auto* download = Control<QPushButton>(&dialog, 1);

    // Nothing chosen or typed: it says so and starts nothing.
    download->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], (Message{"Choose the resource image (*.bin) to download first.",
                                            "提示", MessageIcon::Exclamation}));
    EXPECT_TRUE(host.loads.empty());
    EXPECT_TRUE(host.starts.empty());

    // A typed path is loaded when "下载" is pressed.
    path->setText("/typed/Icon.bin");
    download->click();
    EXPECT_EQ(host.loads, (std::vector<std::string>{"/typed/Icon.bin"}));
    EXPECT_EQ(host.starts.size(), 1u);

    // A chosen image, then a typed path that does not load: nothing is sent (the
    // chosen image must not go out in its place).
    dialogs.fileAnswers.push_back({"/data/chosen.bin"});
    Control<QPushButton>(&dialog, 1098)->click();
    path->setText("/typed/missing.bin");
    host.accept = false;
    download->click();
    EXPECT_EQ(host.loads.back(), "/typed/missing.bin");
    EXPECT_EQ(host.starts.size(), 1u);

    // The field emptied after a choice: says so again, sends nothing.
    host.accept = true;
    path->clear();
    download->click();
    EXPECT_EQ(dialogs.messages.back().text, "Choose the resource image (*.bin) to download first.");
    EXPECT_EQ(host.starts.size(), 1u);

    Control<QPushButton>(&dialog, 1126)->click();
    EXPECT_EQ(host.cancels, 1);
}

}  // namespace
}  // namespace pictor::gui
