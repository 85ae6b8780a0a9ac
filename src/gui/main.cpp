#include <QApplication>
#include <QDir>

#include "gui/config_dialog.h"
#include "gui/dialog_service.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pictor::gui::QtDialogService dialogs;
    pictor::settings::ModelProfile profile;
    pictor::gui::ConfigDialog dialog(
        profile, std::filesystem::path(QDir::currentPath().toStdString()) / "Pictor.ini", dialogs);
    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
