// The main window's project commands: new, open, save, save as and the recent
// projects, the modified mark, and the question before a changed list is lost.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QUndoStack>

#include "core/common/text_format.h"
#include "core/settings/model_list.h"
#include "core/settings/startup_profile.h"
#include "gui/dialog_service.h"
#include "gui/lcd_preview.h"
#include "gui/main_window.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

constexpr int kMissingListed = 20;

QString ProjectFilter() {
    return Translate("MainWindow", "Pictor project (*%1);;All files (*)")
        .arg(QString::fromLatin1(workspace::kProjectSuffix));
}

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

}  // namespace

MainWindow::ListSnapshot MainWindow::Snapshot() const {
    ListSnapshot snapshot;
    snapshot.pictures = workspace::ProjectFromList(pictures_, {}, {}).pictures;
    snapshot.modelName = profile_.modelName;
    return snapshot;
}

void MainWindow::MarkSaved() {
    savedSnapshot_ = Snapshot();
    if (undoStack_ != nullptr) {
        undoStack_->setClean();
    }
    RefreshStatus();
}

bool MainWindow::ListModified() const {
    // An untitled empty list holds nothing worth keeping, whatever the model.
    if (projectPath_.isEmpty() && pictures_.Empty()) {
        return false;
    }
    return Snapshot() != savedSnapshot_;
}

std::filesystem::path MainWindow::OutputDirectory() const {
    return projectOutputDir_.empty() ? startDirectory_ : projectOutputDir_;
}

bool MainWindow::ConfirmDiscardList() {
    if (!ListModified()) {
        return true;
    }
    const std::string question =
        projectPath_.isEmpty()
            ? Translate("MainWindow", "The picture list has changed. Save it?").toStdString()
            : FillPlaceholders(
                  Translate("MainWindow", "The project %1 has changed. Save it?").toStdString(),
                  {QFileInfo(projectPath_).fileName().toStdString()});
    // Cancel is the default: a stray Enter or Space keeps the window and the list.
    const auto answer = dialogs_.Ask(this, Message{question, "", MessageIcon::Exclamation},
                                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                     QMessageBox::Cancel);
    switch (answer) {
        case QMessageBox::Save:
            return OnSaveProject();
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

void MainWindow::OnNewProject() {
    if (!ConfirmDiscardList()) {
        return;
    }
    pictures_.RemoveAll();
    RebuildList();
    preview_->Redraw();
    SelectPicture(-1);
    projectPath_.clear();
    projectOutputDir_.clear();
    loadedProject_ = {};
    ResetHistory();
    MarkSaved();
    Push();
}

void MainWindow::OnOpenProject() {
    if (!ConfirmDiscardList()) {
        return;
    }
    QString folder = userState_.LastFolder(UserState::Folder::Project);
    if (folder.isEmpty()) {
        folder = FromPath(startDirectory_);
    }
    const QString path = dialogs_.GetOpenFileName(
        this, FileRequest{Translate("MainWindow", "Open project"), folder, ProjectFilter(),
                          QString::fromLatin1(workspace::kProjectSuffix + 1)});
    if (!path.isEmpty()) {
        OpenProject(path);
    }
}

bool MainWindow::OpenProject(const QString& path) {
    if (importRunning_) {
        return false;  // one import at a time
    }
    const workspace::ProjectLoadResult loaded =
        workspace::LoadProject(ToPath(path), CoreTextLookUp());
    if (!loaded.ok) {
        ShowMessage(loaded.error, MessageIcon::Exclamation);
        if (!QFileInfo::exists(path)) {
            userState_.RemoveRecentProject(QFileInfo(path).absoluteFilePath());
        }
        return false;
    }
    const workspace::Project& project = loaded.project;

    // The project's model becomes active when the settings file knows it.
    if (!project.model.empty() && project.model != profile_.modelName) {
        const auto names = settings::ReadModelNames(settings::ProfileFile(settingsPath_));
        if (const auto index = settings::FindModel(names, project.model)) {
            SwitchModel(*index);
        } else {
            ShowMessage(FillPlaceholders(Translate("MainWindow",
                                                   "The project's model \"%1\" is not in the "
                                                   "settings file; the model \"%2\" stays active.")
                                             .toStdString(),
                                         {project.model, profile_.modelName}),
                        MessageIcon::Exclamation);
        }
    }

    // The pictures are loaded off the user-interface thread, in project order, with
    // the same checks and messages as an import, their operations, shown flags and
    // positions; files that do not exist were listed by the load and are passed
    // over. Cancelled, the pictures loaded so far make the list.
    workspace::PictureList list;
    for (std::optional<workspace::ImageEntry>& entry : RunImport(project.pictures, true)) {
        if (entry) {
            list.Append(std::move(*entry));
        }
    }
    list.Select(-1);
    pictures_ = std::move(list);
    RebuildList();
    preview_->Redraw();
    SelectPicture(-1);
    projectPath_ = QFileInfo(path).absoluteFilePath();
    projectOutputDir_ = project.outputDir;
    loadedProject_ = project;
    savedSnapshot_ = Snapshot();
    if (pictures_.Size() != project.pictures.size()) {
        // Saving now would drop the pictures left out: the list counts as changed.
        savedSnapshot_.pictures.clear();
        savedSnapshot_.modelName.clear();
    }
    userState_.AddRecentProject(projectPath_);
    userState_.SetLastFolder(UserState::Folder::Project, QFileInfo(projectPath_).absolutePath());
    ResetHistory();
    Push();

    if (!loaded.missing.empty()) {
        std::string text = Translate("MainWindow",
                                     "These pictures of the project were not found and are left "
                                     "out of the list (saving the project removes them from it):")
                               .toStdString();
        std::size_t listed = 0;
        for (const auto& missing : loaded.missing) {
            if (listed++ == kMissingListed) {
                text += "\n" +
                        FillPlaceholders(Translate("MainWindow", "… and %1 more").toStdString(),
                                         {std::to_string(loaded.missing.size() - kMissingListed)});
                break;
            }
            const std::u8string utf8 = missing.u8string();
            text += "\n" + std::string(utf8.begin(), utf8.end());
        }
        ShowMessage(text, MessageIcon::Exclamation);
    }
    return true;
}

bool MainWindow::OnSaveProject() {
    return projectPath_.isEmpty() ? OnSaveProjectAs() : SaveProjectTo(projectPath_);
}

bool MainWindow::OnSaveProjectAs() {
    QString folder = projectPath_.isEmpty() ? userState_.LastFolder(UserState::Folder::Project)
                                            : QFileInfo(projectPath_).absolutePath();
    if (folder.isEmpty()) {
        folder = FromPath(startDirectory_);
    }
    QString path = dialogs_.GetSaveFileName(
        this, FileRequest{Translate("MainWindow", "Save project as"), folder, ProjectFilter(),
                          QString::fromLatin1(workspace::kProjectSuffix + 1)});
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QString::fromLatin1(workspace::kProjectSuffix);
    }
    return SaveProjectTo(path);
}

bool MainWindow::SaveProjectTo(const QString& path) {
    const workspace::Project project = workspace::ProjectFromList(
        pictures_, profile_.modelName, OutputDirectory(), loadedProject_);
    std::string error;
    if (!workspace::SaveProject(ToPath(path), project, &error)) {
        ShowMessage(
            FillPlaceholders(Translate("MainWindow", "The project was not saved: %1").toStdString(),
                             {error}),
            MessageIcon::Exclamation);
        return false;
    }
    projectPath_ = QFileInfo(path).absoluteFilePath();
    projectOutputDir_ = project.outputDir;
    loadedProject_ = project;
    userState_.AddRecentProject(projectPath_);
    userState_.SetLastFolder(UserState::Folder::Project, QFileInfo(projectPath_).absolutePath());
    MarkSaved();
    return true;
}

void MainWindow::FillRecentMenu() {
    recentMenu_->clear();
    const QStringList recent = userState_.RecentProjects();
    if (recent.isEmpty()) {
        recentMenu_->addAction(Translate("MainWindow", "(none)"))->setEnabled(false);
        return;
    }
    int number = 1;
    for (const QString& path : recent) {
        auto* action = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(QDir::toNativeSeparators(path)));
        connect(action, &QAction::triggered, this, [this, path] {
            if (ConfirmDiscardList()) {
                OpenProject(path);
            }
        });
    }
}

}  // namespace pictor::gui
