#include <gmock/gmock.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTranslator>

#include "core/device/device_link.h"
#include "gui/lcd_settings_form.h"
#include "gui/message_bar.h"
#include "gui/ui_language.h"
#include "main_window_fixture.h"
#include "sim_process.h"

namespace pictor::gui::testing {
namespace {

class MainWindowDeviceTest : public MainWindowTest {
  protected:
    /// Starts the simulator (flash and frame log in the working directory) and the
    /// window with pauses that cost no time.
    MainWindow& StartWithSim(QStringList simArguments) {
        MainWindow& window = Start(Settings(), std::make_unique<NoPauser>());
        flashPath_ = QDir(dir_->Dir()).filePath("module.flash");
        logPath_ = QDir(dir_->Dir()).filePath("frames.log");
        simArguments << "--flash" << flashPath_ << "--log" << logPath_;
        sim_ = std::make_unique<SimProcess>(simArguments);
        if (sim_->Port().isEmpty()) {
            ADD_FAILURE() << "pictor-sim did not start";
        }
        return window;
    }

    void OpenSimPort() {
        Get<QComboBox>(1091)->setEditText(sim_->Port());
        Button(1087)->click();
    }

    /// Opens the port of a simulator whose erase takes `eraseMs` and starts a .bin
    /// download.
    void StartDownload(const char* eraseMs) {
        StartWithSim({"--kind", "5", "--erase-ms", eraseMs});
        OpenSimPort();
        const QString imagePath = QDir(dir_->Dir()).filePath("Icon.bin");
        WriteFile(imagePath, QByteArray(512, '\x5A'));
        dialogs_.fileAnswers.push_back({imagePath});
        Button(1098)->click();
        ASSERT_TRUE(window_->Link().IsRunning());
    }

    /// Lets the events flow until the running download job has ended and the
    /// window has shown its report; a job that outlives `deadline` is cancelled
    /// and the test fails with a message instead of waiting on.
    ::testing::AssertionResult JobEnds(std::chrono::milliseconds deadline = kJobDeadline) {
        const bool ended = QTest::qWaitFor(
            [&] { return !window_->Link().IsRunning() && !Button(1125)->isEnabled(); },
            static_cast<int>(deadline.count()));
        if (ended) {
            return ::testing::AssertionSuccess();
        }
        window_->Link().Cancel();
        return ::testing::AssertionFailure()
               << "the download job did not end within " << deadline.count() << " ms";
    }

    /// The message texts shown so far, for a failure's explanation.
    std::string Shown() const { return ::testing::PrintToString(dialogs_.Texts()); }

    static constexpr std::chrono::milliseconds kJobDeadline{30000};

    /// What the message bar tells now (empty when it is closed).
    std::string Result() const { return window_->Results().Text().toStdString(); }

    bool SawMessage(const std::string& text) const {
        const auto texts = dialogs_.Texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    QStringList Frames() const {
        QFile log(logPath_);
        log.open(QIODevice::ReadOnly);
        return QString::fromLatin1(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    QString flashPath_;
    QString logPath_;
    std::unique_ptr<SimProcess> sim_;
};

#ifdef PICTOR_SIM_PATH

TEST_F(MainWindowDeviceTest, OpenAndCloseToggleTheButtonsAndStoreThePortChoice) {
    StartWithSim({"--kind", "5"});
    Get<QComboBox>(1090)->setEditText("115200");
    OpenSimPort();
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_FALSE(Button(1087)->isEnabled());
    EXPECT_TRUE(Button(1088)->isEnabled());
    EXPECT_EQ(dir_->Key("Scom", "COM"), sim_->Port().toStdString());
    EXPECT_EQ(dir_->Key("Scom", "BIT"), "115200");

    Button(1088)->click();
    EXPECT_TRUE(Button(1087)->isEnabled());
    EXPECT_FALSE(Button(1088)->isEnabled());
    EXPECT_FALSE(window_->Link().HasLine());

    // A port that cannot be opened: the message with its reason, nothing else changes.
    const QString missing = QDir(dir_->Dir()).filePath("no-such-port");
    Get<QComboBox>(1091)->setEditText(missing);
    Get<QComboBox>(1090)->setEditText("9600");
    Button(1087)->click();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0],
              (Message{"串口无法打开!\nNo such device: " + missing.toStdString() + ".", "错误",
                       MessageIcon::None}));
    EXPECT_TRUE(Button(1087)->isEnabled());
    EXPECT_FALSE(Button(1088)->isEnabled());
    EXPECT_EQ(dir_->Key("Scom", "BIT"), "115200");
}

// The connection field is a text of the last connect's outcome: a language
// switch afterwards shows it in the new language.
TEST_F(MainWindowDeviceTest, ConnectionFieldFollowsALanguageSwitch) {
    StartWithSim({"--kind", "5"});
    OpenSimPort();
    Button(1086)->click();
    ASSERT_EQ(Get<QLineEdit>(1094)->text(), "已连接");

    InstallUiLanguage(UiLanguage::English);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    EXPECT_EQ(Get<QLineEdit>(1094)->text(), "Connected");

    // The other tests compare the texts as written: no translation stays installed.
    for (auto* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    EXPECT_EQ(Get<QLineEdit>(1094)->text(), "已连接");
}

TEST_F(MainWindowDeviceTest, ConnectReportsAndShowsTheFlashType) {
    StartWithSim({"--kind", "5"});
    Button(1086)->click();  // no port open: says what to do, tries nothing
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0],
              (Message{"The serial port is closed: open it first (\"打开串口\").", "信息",
                       MessageIcon::Exclamation}));
    EXPECT_EQ(Get<QLineEdit>(1094)->text(), "");

    OpenSimPort();
    Button(1086)->click();  // a success asks for no click: no box
    EXPECT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(window_->statusBar()->currentMessage(), "成功连接 — 16Mbit");
    EXPECT_EQ(Get<QLineEdit>(1094)->text(), "已连接");
    EXPECT_EQ(Get<QComboBox>(1103)->currentText(), "16Mbit");

    Choose(Get<QComboBox>(1103), 3);
    EXPECT_EQ(dir_->Key("Scom", "FLASH_TYPE"), "128Mbit");
    EXPECT_EQ(window_->Link().State().flashSizeCode, 16);

    // Closing the port clears the connection status.
    Button(1088)->click();
    EXPECT_EQ(Get<QLineEdit>(1094)->text(), "");
}

TEST_F(MainWindowDeviceTest, DownloadBinRunsToOneHundredPercent) {
    MainWindow& window = StartWithSim({"--kind", "5"});
    OpenSimPort();
    QByteArray image(1000, '\0');
    for (int i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>(i * 7);
    }
    const QString imagePath = QDir(dir_->Dir()).filePath("Icon.bin");
    WriteFile(imagePath, image);
    dialogs_.fileAnswers.push_back({imagePath});

    Button(1098)->click();
    ASSERT_TRUE(JobEnds());
    // No box: the message bar tells the result with its figures, and the progress
    // row is back to "Ready".
    EXPECT_TRUE(dialogs_.messages.empty()) << Shown();
    EXPECT_THAT(Result(), ::testing::MatchesRegex(
                              "下载 Bin档成功 \\(1024 bytes in [0-9.]+ s, [0-9.]+ KiB/s\\)"));
    EXPECT_EQ(window.Results().CurrentKind(), MessageBar::Kind::Positive);
    EXPECT_EQ(window.statusBar()->currentMessage(), "下载 Bin档成功");
    EXPECT_EQ(Get<QProgressBar>(1099)->value(), 0);
    EXPECT_EQ(Get<QLabel>(1100)->text(), QString("Ready"));

    // The image sits in the module's flash at the start the connect reported.
    QFile flash(flashPath_);
    ASSERT_TRUE(flash.open(QIODevice::ReadOnly));
    ASSERT_TRUE(flash.seek(qint64{window.Link().State().imageStartSector} * 512));
    EXPECT_EQ(flash.read(1024), image + QByteArray(24, '\0'));

    // A cancelled file choice is no error: no job, no message.
    const std::size_t shown = dialogs_.messages.size();
    const auto frames = Frames().size();
    Button(1098)->click();
    EXPECT_FALSE(window.Link().IsRunning());
    EXPECT_EQ(dialogs_.messages.size(), shown);
    EXPECT_EQ(Frames().size(), frames);
}

TEST_F(MainWindowDeviceTest, ClosingTheWindowDuringAJobEndsItWithoutWaitingForMessages) {
    ASSERT_NO_FATAL_FAILURE(StartDownload("200"));
    // No event is processed from here on: the job's messages stay queued, and the
    // window's end must release the job rather than wait for them.
    window_.reset();
    SUCCEED();
}

TEST_F(MainWindowDeviceTest, SecondUseOfTheLineWhileAJobRunsIsRefused) {
    StartWithSim({"--kind", "5", "--erase-ms", "300"});
    OpenSimPort();
    const QString imagePath = QDir(dir_->Dir()).filePath("Icon.bin");
    WriteFile(imagePath, QByteArray(512, '\x5A'));
    dialogs_.fileAnswers.push_back({imagePath});
    Button(1098)->click();
    QTRY_VERIFY_WITH_TIMEOUT(Button(1125)->isEnabled(), 5000);

    Button(1086)->click();
    ASSERT_FALSE(dialogs_.messages.empty());
    EXPECT_EQ(dialogs_.messages.back().text, device::kDeviceBusyText);
    Button(1088)->click();  // the running job keeps its port
    EXPECT_FALSE(Button(1087)->isEnabled());

    Button(1125)->click();
    ASSERT_TRUE(JobEnds());
    // A cancel the user asked for is information, not an error box.
    EXPECT_EQ(Result(), "下载已取消");
    EXPECT_EQ(window_->Results().CurrentKind(), MessageBar::Kind::Information);
    EXPECT_FALSE(SawMessage("下载已取消")) << Shown();
    EXPECT_EQ(Get<QLabel>(1100)->text(), QString("Ready"));
}

TEST_F(MainWindowDeviceTest, ResourceDownloadSendsTheSettingsWhenTicked) {
    StartWithSim({"--kind", "5"});
    OpenSimPort();
    const QString imagePath = QDir(dir_->Dir()).filePath("Icon.bin");
    WriteFile(imagePath, QByteArray(600, '\x11'));
    dialogs_.modalHandlers["ResourceDownloadDialog"] = [&](QDialog& dialog) {
        dialogs_.fileAnswers.push_back({imagePath});
        Control<QPushButton>(&dialog, 1098)->click();
        EXPECT_EQ(Control<QLineEdit>(&dialog, 1118)->text(), imagePath);
        // The tick enables the settings' fields, without a box.
        auto* settings = dialog.findChild<QWidget*>("settingsGroup")->findChild<LcdSettingsForm*>();
        EXPECT_FALSE(settings->isEnabled());
        Control<QCheckBox>(&dialog, 1124)->click();
        EXPECT_TRUE(settings->isEnabled());
        EXPECT_TRUE(dialogs_.messages.empty()) << Shown();
        Control<QPushButton>(&dialog, 1)->click();
        return QDialog::Rejected;  // closed while the job runs
    };
    Button(1117)->click();
    ASSERT_TRUE(JobEnds());
    EXPECT_THAT(Result(), ::testing::StartsWith("下载 Bin档成功 ")) << Shown();
    EXPECT_TRUE(Frames().contains("AA 08 96 FF 03 05 04 01 ED"));
}

TEST_F(MainWindowDeviceTest, LcdSettingsWriteAndReadThroughTheModule) {
    StartWithSim({"--kind", "1"});
    Button(1105)->click();  // no port: no connect, no dialog
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], (Message{"连接LCM 失败", "信息", MessageIcon::Stop}));
    EXPECT_TRUE(dialogs_.modalRuns.empty() || dialogs_.modalRuns.back() != "LcdSettingsDialog");

    OpenSimPort();
    dialogs_.modalHandlers["LcdSettingsDialog"] = [&](QDialog& dialog) {
        Control<QPushButton>(&dialog, 1116)->click();  // the defaults
        Control<QLineEdit>(&dialog, 1073)->setText("7");
        Control<QComboBox>(&dialog, 1113)->setCurrentIndex(5);  // YELLOW
        Control<QPushButton>(&dialog, 1116)->click();
        Control<QLineEdit>(&dialog, 1073)->setText("99");
        Control<QPushButton>(&dialog, 1115)->click();  // reads 7 back
        EXPECT_EQ(Control<QLineEdit>(&dialog, 1073)->text(), "7");
        EXPECT_EQ(Control<QComboBox>(&dialog, 1113)->currentText(), "YELLOW");
        return QDialog::Rejected;
    };
    Button(1105)->click();
    EXPECT_EQ(dialogs_.modalRuns.back(), "LcdSettingsDialog");
    // Each success is told by the dialog's result line, not by a box.
    EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"连接LCM 失败"}));
    EXPECT_TRUE(Frames().contains("AA 08 96 FF 03 05 04 01 ED"));
    EXPECT_TRUE(Frames().contains("AA 08 96 07 03 05 04 05 ED"));
}

TEST_F(MainWindowDeviceTest, TheTypedPortIsTheOneOpened) {
    StartWithSim({"--kind", "5"});
    auto* port = Get<QComboBox>(1091);
    port->setEditText(sim_->Port());
    // A field the port commands do not use holds text that fails its check.
    Get<QLineEdit>(1012)->setText("left");

    Button(1086)->click();  // connect before opening: the typed port stays
    EXPECT_EQ(port->currentText(), sim_->Port());
    Button(1087)->click();
    EXPECT_EQ(port->currentText(), sim_->Port());
    ASSERT_TRUE(window_->Link().HasLine());
    EXPECT_EQ(dir_->Key("Scom", "COM"), sim_->Port().toStdString());
    ASSERT_EQ(dialogs_.messages.size(), 1u);  // the "open it first" notice only

    // The simulator is at the other end of the opened port.
    Button(1086)->click();
    EXPECT_EQ(Get<QLineEdit>(1094)->text(), "已连接");
    EXPECT_EQ(port->currentText(), sim_->Port());
    EXPECT_EQ(Get<QLineEdit>(1012)->text(), "left");
}

// A module that goes away mid-download: the failure says what happened and what
// to do, the port of the vanished device is closed and nothing counts as
// connected any more.
TEST_F(MainWindowDeviceTest, AModuleThatGoesAwayClosesItsPortAndSaysWhatToDo) {
    StartWithSim({"--kind", "5", "--hangup-after", "1"});
    OpenSimPort();
    Button(1086)->click();
    ASSERT_EQ(Get<QLineEdit>(1094)->text(), "已连接");
    const QString imagePath = QDir(dir_->Dir()).filePath("Icon.bin");
    WriteFile(imagePath, QByteArray(2048, '\x33'));
    dialogs_.fileAnswers.push_back({imagePath});
    dialogs_.messages.clear();
    Button(1098)->click();
    ASSERT_TRUE(JobEnds());

    ASSERT_EQ(dialogs_.messages.size(), 1u) << Shown();
    const Message& failure = dialogs_.messages[0];
    EXPECT_EQ(failure.icon, MessageIcon::Stop);
    EXPECT_THAT(failure.text, ::testing::StartsWith("下载 Bin档失败!\n\n"));
    EXPECT_THAT(failure.text,
                ::testing::HasSubstr(sim_->Port().toStdString() + " was removed or switched off"));
    EXPECT_FALSE(window_->Link().HasLine());
    EXPECT_TRUE(Button(1087)->isEnabled());
    EXPECT_FALSE(Button(1088)->isEnabled());
    EXPECT_EQ(Get<QLineEdit>(1094)->text(), "");
    EXPECT_THAT(window_->findChild<QLabel*>("statusPort")->text().toStdString(),
                ::testing::EndsWith(": closed"));
    // The progress row does not keep the failed step's text.
    EXPECT_EQ(Get<QLabel>(1100)->text(), QString("Ready"));
    EXPECT_EQ(Get<QProgressBar>(1099)->value(), 0);
}

// A module that stops answering: the failure says for how long, and the
// connection field no longer claims a connection.
TEST_F(MainWindowDeviceTest, ASilentModuleIsReportedWithTheWaitAndNotConnected) {
    StartWithSim({"--kind", "5", "--no-reply", "92"});
    OpenSimPort();
    Button(1086)->click();
    ASSERT_EQ(Get<QLineEdit>(1094)->text(), "已连接");
    const QString imagePath = QDir(dir_->Dir()).filePath("Icon.bin");
    WriteFile(imagePath, QByteArray(512, '\x44'));
    dialogs_.fileAnswers.push_back({imagePath});
    dialogs_.messages.clear();
    Button(1098)->click();
    ASSERT_TRUE(JobEnds());

    ASSERT_EQ(dialogs_.messages.size(), 1u) << Shown();
    EXPECT_THAT(dialogs_.messages[0].text, ::testing::StartsWith("下载 Bin档失败!\n\n"));
    EXPECT_THAT(dialogs_.messages[0].text,
                ::testing::ContainsRegex("did not answer for [1-9][0-9]+ ms"));
    EXPECT_TRUE(window_->Link().HasLine());
    EXPECT_EQ(Get<QLineEdit>(1094)->text(), "未连接");
}

class CloseDuringJobTest : public MainWindowDeviceTest {
  protected:
    static constexpr const char* kQuestion = "A download is running. Cancel it and quit?";
};

TEST_F(CloseDuringJobTest, NoKeepsTheJobRunningToSuccess) {
    StartDownload("100");
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));

    dialogs_.questionAnswers.push_back(QMessageBox::No);
    EXPECT_FALSE(window_->close());
    ASSERT_EQ(dialogs_.questions.size(), 1u);
    EXPECT_EQ(dialogs_.questions[0].text, kQuestion);
    EXPECT_EQ(dialogs_.questionDefaults[0], QMessageBox::No);
    EXPECT_TRUE(window_->isVisible());

    // Escape alone: the same question, answered by its default.
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    EXPECT_EQ(dialogs_.questions.size(), 2u);
    EXPECT_TRUE(window_->isVisible());

    ASSERT_TRUE(JobEnds());
    EXPECT_THAT(Result(), ::testing::StartsWith("下载 Bin档成功 ")) << Shown();

    // Without a job, closing asks nothing.
    EXPECT_TRUE(window_->close());
    EXPECT_EQ(dialogs_.questions.size(), 2u);
}

TEST_F(CloseDuringJobTest, YesCancelsTheJobAndWaitsForItsEndBeforeQuitting) {
    StartDownload("100");
    dialogs_.questionAnswers.push_back(QMessageBox::Yes);
    EXPECT_TRUE(window_->close());
    // The job has ended by the time the window lets go, cancelled rather than done.
    EXPECT_FALSE(window_->Link().IsRunning());
    const auto result = window_->Link().Wait();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(Result(), "下载已取消");
    // Stopped during the erase: no sector was written.
    for (const QString& frame : Frames()) {
        EXPECT_FALSE(frame.startsWith("AA 08 94")) << frame.toStdString();
    }
}

TEST_F(MainWindowDeviceTest, FailedLcdSettingsCheckSendsNothing) {
    StartWithSim({"--kind", "1"});
    OpenSimPort();
    dialogs_.modalHandlers["LcdSettingsDialog"] = [&](QDialog& dialog) {
        Control<QLineEdit>(&dialog, 1073)->setText("300");
        Control<QPushButton>(&dialog, 1116)->click();
        EXPECT_TRUE(dialog.findChild<QLabel*>("resultLabel")->text().isEmpty());
        return QDialog::Rejected;
    };
    Button(1105)->click();
    EXPECT_EQ(dialogs_.Texts(),
              (std::vector<std::string>{"Please enter an integer between 0 and 255."}));
    for (const QString& frame : Frames()) {
        EXPECT_FALSE(frame.startsWith("AA 08 96")) << frame.toStdString();
    }
}

TEST_F(MainWindowDeviceTest, ResourceDialogCancelsItsJobAndSendsOnlyTheTypedFile) {
    StartWithSim({"--kind", "5", "--erase-ms", "100"});
    OpenSimPort();
    const QString earlier = QDir(dir_->Dir()).filePath("earlier.bin");
    WriteFile(earlier, QByteArray(600, '\x11'));
    const QString typed = QDir(dir_->Dir()).filePath("typed.bin");
    WriteFile(typed, QByteArray(512, '\x22'));
    dialogs_.modalHandlers["ResourceDownloadDialog"] = [&](QDialog& dialog) {
        dialogs_.fileAnswers.push_back({earlier});
        Control<QPushButton>(&dialog, 1098)->click();
        // A typed path that is no file: nothing starts, the earlier image stays home.
        Control<QLineEdit>(&dialog, 1118)->setText(QDir(dir_->Dir()).filePath("none.bin"));
        Control<QPushButton>(&dialog, 1)->click();
        EXPECT_FALSE(window_->Link().IsRunning());

        Control<QLineEdit>(&dialog, 1118)->setText(typed);
        Control<QPushButton>(&dialog, 1)->click();
        EXPECT_TRUE(window_->Link().IsRunning());
        Control<QPushButton>(&dialog, 1126)->click();  // the dialog's own cancel
        EXPECT_TRUE(JobEnds());
        return QDialog::Rejected;
    };
    Button(1117)->click();
    EXPECT_EQ(Result(), "下载已取消") << Shown();

    // Run once more to the end: the module gets the typed file's bytes.
    dialogs_.modalHandlers["ResourceDownloadDialog"] = [&](QDialog& dialog) {
        Control<QLineEdit>(&dialog, 1118)->setText(typed);
        Control<QPushButton>(&dialog, 1)->click();
        return QDialog::Rejected;
    };
    Button(1117)->click();
    ASSERT_TRUE(JobEnds());
    EXPECT_THAT(Result(), ::testing::StartsWith("下载 Bin档成功 ")) << Shown();
    QFile flash(flashPath_);
    ASSERT_TRUE(flash.open(QIODevice::ReadOnly));
    ASSERT_TRUE(flash.seek(qint64{window_->Link().State().imageStartSector} * 512));
    EXPECT_EQ(flash.read(512), QByteArray(512, '\x22'));
}

#endif

// The field names a file: it starts with the image the last conversion wrote,
// and a folder typed into it is refused with a message.
TEST_F(MainWindowDeviceTest, ResourceFieldStartsWithTheConvertedImageAndRefusesAFolder) {
    Start();
    Import({Picture("a.bmp")});
    Button(1021)->click();  // writes Icon.bin into the working directory
    const QString converted = QDir(dir_->Dir()).filePath("Icon.bin");
    ASSERT_TRUE(QFileInfo::exists(converted));
    dialogs_.messages.clear();
    dialogs_.modalHandlers["ResourceDownloadDialog"] = [&](QDialog& dialog) {
        auto* path = Control<QLineEdit>(&dialog, 1118);
        EXPECT_EQ(QDir::fromNativeSeparators(path->text()), converted);
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            labels << label->text();
        }
        EXPECT_TRUE(labels.contains("资源文件：")) << labels.join('|').toStdString();

        path->setText(dir_->Dir());
        Control<QPushButton>(&dialog, 1)->click();
        EXPECT_FALSE(window_->Link().IsRunning());
        return QDialog::Rejected;
    };
    Button(1117)->click();
    ASSERT_EQ(dialogs_.messages.size(), 1u) << Shown();
    EXPECT_EQ(dialogs_.messages[0].text,
              dir_->Dir().toStdString() +
                  " is a folder. Choose the resource image file (Icon.bin) to download.");
}

TEST_F(MainWindowDeviceTest, ResourceImageIsCheckedAgainstTheFlashCapacity) {
    Start();  // 64 Mbit from the settings: 6 MiB at most
    const QString fits = QDir(dir_->Dir()).filePath("fits.bin");
    const QString big = QDir(dir_->Dir()).filePath("big.bin");
    for (const auto& [path, size] : {std::pair{fits, 6291456}, std::pair{big, 6291457}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(size));
    }
    dialogs_.modalHandlers["ResourceDownloadDialog"] = [&](QDialog& dialog) {
        auto* path = Control<QLineEdit>(&dialog, 1118);
        dialogs_.fileAnswers.push_back({big});
        Control<QPushButton>(&dialog, 1098)->click();
        EXPECT_TRUE(path->text().isEmpty());
        dialogs_.fileAnswers.push_back({fits});
        Control<QPushButton>(&dialog, 1098)->click();
        EXPECT_EQ(path->text(), fits);
        dialogs_.fileAnswers.push_back({big});
        Control<QPushButton>(&dialog, 1098)->click();
        EXPECT_EQ(path->text(), fits);
        return QDialog::Rejected;
    };
    Button(1117)->click();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0],
              (Message{"Bin文件超过6M 容量!!", "警告", MessageIcon::Information}));
    EXPECT_EQ(dialogs_.messages[1], dialogs_.messages[0]);
}

}  // namespace
}  // namespace pictor::gui::testing
