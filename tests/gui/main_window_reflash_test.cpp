// The Device menu's erase choice, "Download changes only" and "Auto-download on
// change", against pictor-sim.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "gui/user_state.h"
#include "main_window_fixture.h"
#include "sim_process.h"

namespace pictor::gui::testing {
namespace {

#ifdef PICTOR_SIM_PATH

class ReflashTest : public MainWindowTest {
  protected:
    /// The window (pauses cost no time) and a kind-5 module (16 Mbit, the image
    /// from 1 MiB on, blocks 16 to 31) on its open port.
    MainWindow& StartWithModule() {
        MainWindow& window = Start(Settings(), std::make_unique<NoPauser>());
        flashPath_ = QDir(dir_->Dir()).filePath("module.flash");
        logPath_ = QDir(dir_->Dir()).filePath("frames.log");
        sim_ = std::make_unique<SimProcess>(
            QStringList{"--kind", "5", "--flash", flashPath_, "--log", logPath_});
        EXPECT_FALSE(sim_->Port().isEmpty()) << "pictor-sim did not start";
        Get<QComboBox>(1091)->setEditText(sim_->Port());
        Button(1087)->click();
        return window;
    }
    QAction* Choice(const char* name) const { return window_->Action(QString::fromLatin1(name)); }

    /// Downloads `image` through "Download .bin" and waits for the job's end.
    device::DownloadResult DownloadBin(const QByteArray& image, const QString& name = "a.bin") {
        const QString path = QDir(dir_->Dir()).filePath(name);
        WriteFile(path, image);
        dialogs_.fileAnswers.push_back({path});
        QFile(logPath_).resize(0);
        Button(1098)->click();
        // The job's boxes and its report reach the window through its event loop.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window_->Link().IsRunning(); }, 60000));
        EXPECT_TRUE(QTest::qWaitFor([this] { return !Button(1125)->isEnabled(); }, 5000));
        return window_->Link().Wait().value_or(device::DownloadResult{});
    }
    /// The blocks the erase frames of the log named, in hex ("10" is block 16).
    QStringList Erased() const {
        QFile log(logPath_);
        log.open(QIODevice::ReadOnly);
        QStringList blocks;
        for (const QString& frame : QString::fromLatin1(log.readAll()).split('\n')) {
            if (frame.startsWith("AA 03 91 ")) {
                blocks << frame.mid(9);
            }
        }
        return blocks;
    }
    QByteArray FlashAt(qint64 offset, qint64 count) const {
        QFile flash(flashPath_);
        flash.open(QIODevice::ReadOnly);
        flash.seek(offset);
        return flash.read(count);
    }
    QString AutoStatus() const { return window_->findChild<QLabel*>("autoDownloadStatus")->text(); }

    QString flashPath_;
    QString logPath_;
    std::unique_ptr<SimProcess> sim_;
};

QByteArray Pattern(int size, int start) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(start + i * 7 + i / 512);
    }
    return bytes;
}

TEST_F(ReflashTest, EraseChoiceIsRememberedAndErasesOnlyTheImage) {
    StartWithModule();
    QAction* erase = Choice("eraseImageAction");
    ASSERT_NE(erase, nullptr);
    EXPECT_FALSE(erase->isChecked()) << "erasing to the end stays the default";
    EXPECT_EQ(DownloadBin(Pattern(600, 1)).outcome, device::Outcome::Ok);
    EXPECT_EQ(Erased().size(), 16) << "blocks 16 to 31";

    erase->trigger();
    EXPECT_TRUE(UserState().EraseImageOnly()) << "remembered per user";
    EXPECT_EQ(DownloadBin(Pattern(70000, 2)).outcome, device::Outcome::Ok);
    EXPECT_EQ(Erased(), (QStringList{"10", "11"}));
    EXPECT_EQ(FlashAt(1 << 20, 70000), Pattern(70000, 2));
}

TEST_F(ReflashTest, ChangesOnlyUsesThePortsLastImageAndForgetsItAfterAFailure) {
    StartWithModule();
    Choice("changesOnlyAction")->trigger();
    const QByteArray first = Pattern(70000, 3);
    EXPECT_EQ(DownloadBin(first).outcome, device::Outcome::Ok);
    EXPECT_EQ(Erased().size(), 16) << "nothing downloaded before: the whole image";

    QByteArray second = first;
    second[66000] = static_cast<char>(second[66000] ^ 0x33);
    const device::DownloadResult changed = DownloadBin(second);
    ASSERT_TRUE(changed.changes);
    EXPECT_EQ(changed.changes->changedBlocks, 1u);
    EXPECT_EQ(Erased(), QStringList{"11"});
    EXPECT_EQ(FlashAt(1 << 20, second.size()), second);

    // A download that fails (too large for the 16 Mbit flash) forgets what the
    // module holds: the next one is whole.
    EXPECT_EQ(DownloadBin(QByteArray((1 << 20) + 1, 'x'), "big.bin").outcome,
              device::Outcome::Failed);
    EXPECT_FALSE(DownloadBin(second).changes);
    EXPECT_EQ(Erased().size(), 16);
}

TEST_F(ReflashTest, AutoDownloadSendsTheChangesAndReportsInTheStatusBarOnly) {
    StartWithModule();
    const QString a = Picture("a.bmp", 100, 100, Qt::red);
    const QString b = Picture("b.bmp", 100, 100, Qt::green);
    Import({a, b});
    QAction* automatic = Choice("autoDownloadAction");
    ASSERT_NE(automatic, nullptr);
    EXPECT_FALSE(automatic->isChecked()) << "off by default";
    automatic->trigger();
    dialogs_.messages.clear();

    Picture("b.bmp", 100, 100, Qt::blue);  // rewritten in place
    QTRY_VERIFY_WITH_TIMEOUT(AutoStatus().startsWith("Auto-download: whole image"), 30000);
    QFile icon(QDir(dir_->Dir()).filePath("Icon.bin"));
    ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
    const QByteArray image = icon.readAll();
    EXPECT_EQ(FlashAt(1 << 20, image.size()), image);

    Picture("a.bmp", 100, 100, Qt::yellow);
    QTRY_VERIFY_WITH_TIMEOUT(AutoStatus().startsWith("Auto-download: 1 of 1 blocks sent"), 30000);
    EXPECT_TRUE(dialogs_.messages.empty()) << "no box from an automatic download";

    // Without a port nothing is sent, and the status bar says so.
    Button(1088)->click();
    Picture("a.bmp", 100, 100, Qt::white);
    QTRY_VERIFY_WITH_TIMEOUT(AutoStatus().contains("the serial port is closed"), 30000);
    EXPECT_TRUE(dialogs_.messages.empty());
}

#endif

}  // namespace
}  // namespace pictor::gui::testing
