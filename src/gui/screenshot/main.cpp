// pictor-screenshot: starts the main window as pictor does (settings from
// Pictor.ini in the working directory), confirms the start-up box, imports the
// given pictures, shows a few on the LCD preview, saves them as a project and
// saves a PNG of the window.
// Used by scripts/screenshot; not installed.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <cstdio>

#include "gui/app_icon.h"
#include "gui/dialog_service.h"
#include "gui/lcd_preview.h"
#include "gui/main_window.h"

namespace {

using pictor::gui::DialogService;
using pictor::gui::FileRequest;

// Answers every dialog without a user: confirms the configuration, picks the
// pictures named on the command line, prints messages.
class UnattendedDialogs final : public DialogService {
  public:
    explicit UnattendedDialogs(QStringList pictures) : pictures_(std::move(pictures)) {}

    void ShowMessage(QWidget* /*parent*/, const pictor::Message& message) override {
        std::fprintf(stderr, "message: %s\n", message.text.c_str());
    }
    QStringList GetOpenFileNames(QWidget* /*parent*/, const FileRequest& /*request*/) override {
        return pictures_;
    }
    QString GetOpenFileName(QWidget* /*parent*/, const FileRequest& /*request*/) override {
        return {};
    }
    std::optional<QColor> ChooseColor(QWidget* /*parent*/) override { return std::nullopt; }
    bool StartDetached(const QString& /*program*/, const QStringList& /*arguments*/) override {
        return false;
    }
    QString GetSaveFileName(QWidget* /*parent*/, const FileRequest& /*request*/) override {
        return {};
    }
    int RunModal(QDialog& dialog) override {
        if (dialog.objectName() == QLatin1String("ConfigDialog")) {
            if (auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"))) {
                ok->click();
            }
        }
        return dialog.result();
    }

  private:
    QStringList pictures_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(pictor::gui::AppIcon());
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: pictor-screenshot OUTPUT.png [PICTURE...]\n");
        return 2;
    }
    UnattendedDialogs dialogs(args.mid(2));
    pictor::gui::MainWindow window(
        std::filesystem::path(QDir::currentPath().toStdString()) / "Pictor.ini", dialogs);
    if (!window.Start()) {
        std::fprintf(stderr, "the configuration was not confirmed\n");
        return 1;
    }
    window.OnImportPictures();

    // Show every picture but the run series on the preview, and make one current.
    auto& pictures = window.Pictures();
    for (std::size_t i = 0; i < pictures.Size(); ++i) {
        if (pictures.At(i).name.rfind("run", 0) != 0) {
            pictures.ToggleShown(static_cast<int>(i));
        }
    }
    if (auto* list = window.findChild<QTreeView*>(QStringLiteral("pictureList"));
        list != nullptr && pictures.Size() > 2) {
        list->selectionModel()->select(
            list->model()->index(2, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        window.OnListClick();
        list->scrollToTop();
    }
    window.Preview().Redraw();
    // Kept as a project beside the pictures, so the title shows its name.
    window.SaveProjectTo(QDir::current().filePath(QStringLiteral("example.pictor")));

    // The first window's own size (no geometry is remembered in the scratch copy);
    // PICTOR_SCREENSHOT_CONVERT=1 converts first, so the message bar shows its report.
    if (qEnvironmentVariableIntValue("PICTOR_SCREENSHOT_CONVERT") == 1) {
        window.OnConvert();
    }
    window.show();
    QTimer::singleShot(800, &window, [&] {
        const bool saved = window.grab().save(args.at(1));
        std::fprintf(stderr, saved ? "saved %s\n" : "could not save %s\n",
                     args.at(1).toLocal8Bit().constData());
        QApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}
