#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <memory>

#include "bitmap_files.h"
#include "gui/main_window.h"
#include "scripted_dialogs.h"
#include "test_support.h"

namespace pictor::gui::testing {

/// A main window started in a scratch working directory with a one-model
/// settings file (16-bit RGB 565, 320 x 240, black background) whose start-up
/// box is confirmed.
class MainWindowTest : public ::testing::Test {
  protected:
    static std::string Settings(const std::string& extra = {}) {
        return "[COMMON]\nLCD_TYPE=320x240\nMODEL_COUNT=1\nMODEL_NAME0=Panel\nCURRENT_MODE=0\n" +
               extra +
               "\n[Panel]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\nCONVERT_DIRECTION=0\n"
               "OUT_DATA_TYPE=0\nMIN_ALLOCATE_SIZE=1\nBLOCK_COL_NUM=0\nBKCOLOR=0\n";
    }

    /// Two models: the 16-bit "Panel" (current) and the 1-bit "Mono".
    static std::string TwoModels() {
        return "[COMMON]\nLCD_TYPE=320x240\nMODEL_COUNT=2\nMODEL_NAME0=Panel\nMODEL_NAME1=Mono\n"
               "CURRENT_MODE=0\n"
               "[Panel]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\nCONVERT_DIRECTION=0\nOUT_DATA_TYPE=0\n"
               "MIN_ALLOCATE_SIZE=1\nBLOCK_COL_NUM=0\nBKCOLOR=0\n"
               "[Mono]\nCOLOR_DEPTH=1\nCOLOR_TYPE=0\nCONVERT_DIRECTION=0\nOUT_DATA_TYPE=0\n"
               "MIN_ALLOCATE_SIZE=1\nBLOCK_COL_NUM=0\nBKCOLOR=0\n";
    }

    void SetUp() override {
        previousDir_ = QDir::currentPath();
        // Each test starts without state remembered by an earlier one.
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("pictor"),
                  QStringLiteral("pictor"))
            .clear();
    }
    void TearDown() override {
        window_.reset();
        QDir::setCurrent(previousDir_);
    }

    /// Starts the window; the settings file gets `iniText`.
    MainWindow& Start(const std::string& iniText = Settings(),
                      std::unique_ptr<device::Pauser> pauser = nullptr) {
        dir_ = std::make_unique<SettingsDir>(iniText);
        QDir::setCurrent(dir_->Dir());
        dialogs_.modalHandlers["ConfigDialog"] = [](QDialog& dialog) {
            Control<QPushButton>(&dialog, 1)->click();
            return dialog.result();
        };
        window_ =
            std::make_unique<MainWindow>(dir_->FsPath(), dialogs_, nullptr, std::move(pauser));
        EXPECT_TRUE(window_->Start());
        dialogs_.messages.clear();
        dialogs_.captions.clear();
        return *window_;
    }

    /// Writes a picture file into the working directory and returns its path.
    QString Picture(const QString& name, int width = 8, int height = 8, QColor colour = Qt::red,
                    int x = -1, int y = -1) {
        const QString path = QDir(dir_->Dir()).filePath(name);
        EXPECT_TRUE(WriteFile(path, SolidBitmap(width, height, colour, x, y)));
        return path;
    }

    /// Imports through the import button with the file chooser answering `paths`.
    void Import(const QStringList& paths) {
        dialogs_.fileAnswers.push_back(paths);
        Button(1001)->click();
    }

    QPushButton* Button(int id) const { return Control<QPushButton>(window_.get(), id); }

    template <typename Widget>
    Widget* Get(int id) const {
        return Control<Widget>(window_.get(), id);
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < window_->Pictures().Size(); ++i) {
            names.push_back(window_->Pictures().At(i).name);
        }
        return names;
    }

    ScriptedDialogs dialogs_;
    std::unique_ptr<SettingsDir> dir_;
    std::unique_ptr<MainWindow> window_;

  private:
    QString previousDir_;
};

}  // namespace pictor::gui::testing
