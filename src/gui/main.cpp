// pictor: the desktop application. The settings file is Pictor.ini in the working
// directory at start-up; cancelling the start-up configuration ends the program.
// `pictor PROJECT` opens that project file once the start-up box is confirmed;
// `pictor --version` prints the version and ends.
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <cstdio>
#include <cstring>

#include "gui/app_icon.h"
#include "gui/dialog_service.h"
#include "gui/main_window.h"
#include "gui/ui_language.h"
#include "gui/user_state.h"
#include "version/program_version.h"

int main(int argc, char** argv) {
    // Before QApplication, which needs a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        const std::string_view version = pictor::ProgramVersion();
        std::printf("pictor %.*s\n", static_cast<int>(version.size()), version.data());
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pictor"));
    QApplication::setWindowIcon(pictor::gui::AppIcon());
    // The language the user chose in View > Language, else the system's.
    const auto chosen = pictor::gui::UiLanguageFromCode(pictor::gui::UserState().Language());
    pictor::gui::InstallUiLanguage(
        chosen.value_or(pictor::gui::SystemUiLanguage(QLocale::system().uiLanguages())));

    pictor::gui::QtDialogService dialogs;
    pictor::gui::MainWindow window(
        std::filesystem::path(QDir::currentPath().toStdString()) / "Pictor.ini", dialogs);
    if (!window.Start()) {
        return 0;
    }
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        window.OpenProject(arguments.at(1));
    }
    return QApplication::exec();
}
