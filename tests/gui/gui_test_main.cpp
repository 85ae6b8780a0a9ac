#include <gtest/gtest.h>

#include <QApplication>
#include <QLatin1String>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

// The widgets need a QApplication; the offscreen platform keeps the tests headless.
// What the application remembers per user goes to a scratch configuration
// directory, never into the real user's.
int main(int argc, char** argv) {
    // A fixed offscreen screen (configfile=...) given by a test's environment stays.
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen"))) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    // Test mode alone points every test process at one shared ~/.qttest; each
    // process keeps its remembered state in its own directory instead, so test
    // programs run side by side cannot see each other's settings.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
