// The main window's picture commands: the list, import, convert, the LCD preview,
// the external editor and the resource image viewer.
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <limits>
#include <set>

#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/workspace/picture_import.h"
#include "gui/dialog_service.h"
#include "gui/import_worker.h"
#include "gui/lcd_preview.h"
#include "gui/main_window.h"
#include "gui/picture_list_model.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

constexpr const char* kCommon = "COMMON";
constexpr int kDefaultNameBufferKiB = 1024;
// An import that takes longer than this shows its progress dialog.
constexpr int kImportDialogDelayMs = 400;

// The bytes a multi-selection occupies in a classic file dialog's name buffer: the
// directory, each file name, a terminator after each and one at the end.
qint64 NameBufferBytes(const QStringList& paths) {
    if (paths.isEmpty()) {
        return 0;
    }
    qint64 bytes = QFileInfo(paths.front()).absolutePath().toUtf8().size() + 2;
    for (const QString& path : paths) {
        bytes += QFileInfo(path).fileName().toUtf8().size() + 1;
    }
    return bytes;
}

// Why the editor did not start, as far as the file system tells.
std::string EditorFailureText(const QString& program) {
    const QString found =
        program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(found.isEmpty() ? program : found);
    std::string reason;
    if (!info.exists()) {
        reason = Translate("MainWindow", "it does not exist").toStdString();
    } else if (info.isDir()) {
        reason = Translate("MainWindow", "it is a folder").toStdString();
    } else if (!info.isExecutable()) {
        reason = Translate("MainWindow", "it is not executable").toStdString();
    } else {
        reason = Translate("MainWindow", "the system refused to start it").toStdString();
    }
    return FillPlaceholders(
        Translate("MainWindow", "The editor %1 could not be started: %2.").toStdString(),
        {program.toStdString(), reason});
}

}  // namespace

void MainWindow::RebuildList() {
    preview_->ForgetPictures();
    model_->Rebuild();
}

void MainWindow::SelectPicture(int position) {
    pictures_.Select(position);
    if (position < 0) {
        model_->SetHotRow(-1);
        ClearPictureFields();
        return;
    }
    model_->SetHotRow(position);
    if (auto* view = CurrentView()) {
        view->scrollTo(model_->index(position, 0));
    }
    ShowPictureFields(pictures_.At(static_cast<std::size_t>(position)), position);
}

void MainWindow::ShowPictureFields(const workspace::ImageEntry& entry, int position) {
    indexValue_ = position;
    widthValue_ = entry.width;
    heightValue_ = entry.height;
    leftValue_ = entry.left;
    topValue_ = entry.top;
    exchange_.Push({indexEdit_, widthEdit_, heightEdit_, leftEdit_, topEdit_});
}

void MainWindow::ClearPictureFields() {
    // Fields of a picture that is gone show nothing rather than its old values.
    indexValue_ = 0;
    widthValue_ = 0;
    heightValue_ = 0;
    leftValue_ = 0;
    topValue_ = 0;
    for (QLineEdit* edit : {indexEdit_, widthEdit_, heightEdit_, leftEdit_, topEdit_}) {
        edit->clear();
    }
}

std::vector<int> MainWindow::SelectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& index : reportView_->selectionModel()->selectedIndexes()) {
        rows.insert(index.row());
    }
    return {rows.begin(), rows.end()};
}

int MainWindow::FirstSelectedRow() const {
    const auto rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

void MainWindow::OnDeletePictures() {
    const auto rows = SelectedRows();
    reportView_->selectionModel()->clearSelection();
    pictures_.DeleteRows(rows);
    RebuildList();
    preview_->Redraw();
    SelectPicture(-1);
}

void MainWindow::OnRemoveAll() {
    pictures_.RemoveAll();
    RebuildList();
    preview_->Redraw();
    SelectPicture(-1);
}

void MainWindow::OnSortByName() {
    pictures_.SortByName();
    RebuildList();
    SelectPicture(pictures_.Empty() ? -1 : 0);
}

void MainWindow::OnMoveUp() {
    if (!pictures_.MoveUp()) {
        return;
    }
    RebuildList();
    SelectPicture(pictures_.CurrentIndex());
}

void MainWindow::OnMoveDown() {
    if (!pictures_.MoveDown()) {
        return;
    }
    RebuildList();
    SelectPicture(pictures_.CurrentIndex());
}

void MainWindow::OnListClick() {
    SelectPicture(FirstSelectedRow());
}

void MainWindow::OnListDoubleClick() {
    const int row = FirstSelectedRow();
    if (row < 0) {
        return;
    }
    SelectPicture(row);
    ToggleShown(row);
}

void MainWindow::ToggleShown(int row) {
    if (!pictures_.ToggleShown(row)) {
        return;
    }
    model_->RowChanged(row);
    preview_->Redraw();
}

void MainWindow::OnImportPictures() {
    if (importRunning_) {
        return;
    }
    settings::ProfileFile file(settingsPath_);
    const int bufferKiB = file.GetInt(kCommon, "OPEN_FILE_MEMORY_SIZE", kDefaultNameBufferKiB);
    file.WriteInt(kCommon, "OPEN_FILE_MEMORY_SIZE", bufferKiB);

    const QStringList paths = dialogs_.GetOpenFileNames(
        this, FileRequest{Translate("MainWindow", "Import pictures"), ImportFolder(),
                          Translate("MainWindow",
                                    "Pictures (*.bmp *.png *.ico);;Bitmap file(*.bmp);;"
                                    "PNG file(*.png);;Icon file(*.ico);;All file(*)"),
                          QStringLiteral("bmp")});
    // A selection that does not fit the configured name buffer fails like a
    // cancelled dialog (a size of 0 or less falls back to the default).
    const qint64 bufferBytes =
        static_cast<qint64>(bufferKiB > 0 ? bufferKiB : kDefaultNameBufferKiB) * 1024;
    if (paths.isEmpty() || NameBufferBytes(paths) > bufferBytes) {
        ShowMessage(Translate("MainWindow", "没有正常导入bmp").toStdString(),
                    MessageIcon::Information);
        return;
    }
    FinishImport(paths);
}

void MainWindow::ImportPaths(const QStringList& paths) {
    if (paths.isEmpty() || importRunning_) {
        return;
    }
    FinishImport(paths);
}

void MainWindow::FinishImport(const QStringList& paths) {
    std::vector<workspace::ProjectPicture> files;
    for (const QString& path : paths) {
        workspace::ProjectPicture file;
        file.path = PathFromUtf8(QDir::toNativeSeparators(path).toStdString());
        files.push_back(std::move(file));
    }
    // Whatever was loaded before a cancel is kept; the list is then sorted and its
    // last picture made current, as after a complete import.
    for (auto& entry : RunImport(std::move(files), false)) {
        if (entry) {
            pictures_.Append(std::move(*entry));
        }
    }
    pictures_.SortByName();
    pictures_.Select(static_cast<int>(pictures_.Size()) - 1);
    RebuildList();
    SelectPicture(pictures_.Empty() ? -1 : static_cast<int>(pictures_.Size()) - 1);
    settings::ProfileFile(settingsPath_)
        .WriteString(kCommon, "DEFAULT_DIR_PATH",
                     QFileInfo(paths.back()).absolutePath().toStdString());
    userState_.SetLastFolder(UserState::Folder::Import, QFileInfo(paths.back()).absolutePath());
}

std::vector<std::optional<workspace::ImageEntry>> MainWindow::RunImport(
    std::vector<workspace::ProjectPicture> pictures, bool skipMissing) {
    std::vector<std::optional<workspace::ImageEntry>> done;
    if (importRunning_ || pictures.empty()) {
        return done;
    }
    importRunning_ = true;
    const int total = static_cast<int>(pictures.size());

    // The dialog appears only when the import takes a while. Until it does, user
    // input waits in the queue (the window still repaints); once it is shown it is
    // window-modal, so the list cannot change under the import while its cancel works.
    QProgressDialog progress(Translate("MainWindow", "Importing pictures…"),
                             Translate("MainWindow", "Cancel"), 0, total, this);
    progress.setObjectName(QStringLiteral("importProgress"));
    progress.setWindowTitle(Translate("MainWindow", "Import pictures"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(std::numeric_limits<int>::max());  // shown by the timer below
    progress.setValue(0);
    progress.hide();
    QTimer showLater;
    showLater.setSingleShot(true);
    connect(&showLater, &QTimer::timeout, &progress, [&progress] { progress.show(); });
    showLater.start(kImportDialogDelayMs);
    const bool wasActive = isActiveWindow();

    bool cancelled = false;
    bool finished = false;
    ImportJob job(std::move(pictures), messages_, skipMissing);
    connect(&progress, &QProgressDialog::canceled, this, [&job, &cancelled] {
        // The worker finishes the file in hand; its result and later ones are
        // dropped, so exactly the files reported so far are kept.
        cancelled = true;
        job.Cancel();
    });
    job.Start(
        [&](std::size_t /*index*/, std::optional<workspace::ImageEntry> entry) {
            // A cancel through the dialog's button, Escape or close is signalled;
            // one through its slot is only recorded.
            if (cancelled || progress.wasCanceled()) {
                cancelled = true;
                job.Cancel();
                return;
            }
            done.push_back(std::move(entry));
            const int count = static_cast<int>(done.size());
            progress.setLabelText(
                Translate("MainWindow", "Importing pictures… %1 of %2").arg(count).arg(total));
            progress.setValue(count);
            emit importProgress(count, total);
        },
        [this, &finished] {
            // Ends the wait from a later turn, so work queued by the last step runs first.
            QMetaObject::invokeMethod(
                this, [&finished] { finished = true; }, Qt::QueuedConnection);
        });
    // The worker may wait in a failure message shown on this thread, so the job
    // ends only after its last queued call, never while it waits.
    while (!finished) {
        QCoreApplication::processEvents(progress.isVisible()
                                            ? QEventLoop::WaitForMoreEvents
                                            : QEventLoop::WaitForMoreEvents |
                                                  QEventLoop::ExcludeUserInputEvents);
    }
    showLater.stop();
    if (progress.isVisible()) {
        progress.close();
        if (wasActive) {
            activateWindow();
        }
    }
    importRunning_ = false;
    return done;
}

void MainWindow::OnRefreshDisplay() {
    const int current = pictures_.CurrentIndex();
    // A position that fails its check is not applied: the picture stays put.
    if (current < 0 || !exchange_.Pull({leftEdit_, topEdit_})) {
        return;
    }
    auto& entry = pictures_.At(static_cast<std::size_t>(current));
    entry.left = leftValue_;
    entry.top = topValue_;
    preview_->Redraw();
    exchange_.Push({leftEdit_, topEdit_});
}

void MainWindow::OnPreviewMouseDown(QPoint point) {
    const int current = pictures_.CurrentIndex();
    if (current < 0) {
        return;
    }
    const auto& entry = pictures_.At(static_cast<std::size_t>(current));
    const int px = point.x();
    const int py = point.y();
    // Strict on every side: a press on the picture's edge does not grab it.
    if (entry.left < px && px < entry.left + entry.width && entry.top < py &&
        py < entry.top + entry.height) {
        grabX_ = px;
        grabY_ = py;
        dragStartLeft_ = entry.left;
        dragStartTop_ = entry.top;
        dragging_ = true;
    } else {
        dragging_ = false;
    }
}

void MainWindow::OnPreviewMouseMove(QPoint point) {
    const int current = pictures_.CurrentIndex();
    if (!dragging_ || current < 0) {
        return;
    }
    leftValue_ = dragStartLeft_ + point.x() - grabX_;
    topValue_ = dragStartTop_ + point.y() - grabY_;
    auto& entry = pictures_.At(static_cast<std::size_t>(current));
    entry.left = leftValue_;
    entry.top = topValue_;
    preview_->Redraw();
    exchange_.Push({leftEdit_, topEdit_});
}

void MainWindow::OnPreviewMouseUp(QPoint /*point*/) {
    dragging_ = false;
}

void MainWindow::OnEditItem() {
    if (profile_.extEditExe.empty()) {
        ShowMessage(Translate("MainWindow", "没有选择执行的应用...").toStdString(),
                    MessageIcon::Exclamation);
        return;
    }
    const int current = pictures_.CurrentIndex();
    if (current < 0) {
        ShowMessage(Translate("MainWindow", "请选择编辑对象...").toStdString(),
                    MessageIcon::Exclamation);
        return;
    }
    if (pictures_.At(static_cast<std::size_t>(current)).text) {
        ShowMessage(Translate("MainWindow",
                              "This picture is drawn from a text: it has no picture file to edit.")
                        .toStdString(),
                    MessageIcon::Exclamation);
        return;
    }
    // The picture's path is one argument of its own, so paths with blanks work.
    const QString program = QString::fromStdString(profile_.extEditExe);
    if (dialogs_.StartDetached(
            program,
            {QString::fromStdString(pictures_.At(static_cast<std::size_t>(current)).path)})) {
        return;
    }
    ShowMessage(EditorFailureText(program), MessageIcon::Exclamation);
}

void MainWindow::OnChooseImageFile() {
    if (profile_.outDataType == 1) {
        ShowMessage(Translate("MainWindow", "只支持二进制文件").toStdString(),
                    MessageIcon::Exclamation);
        return;
    }
    const QString path = dialogs_.GetOpenFileName(
        this, FileRequest{Translate("MainWindow", "Choose the .bin file to view"),
                          userState_.LastFolder(UserState::Folder::Bin),
                          Translate("MainWindow", "Binary file(*.bin)"), QStringLiteral("bin")});
    if (!path.isEmpty()) {
        userState_.SetLastFolder(UserState::Folder::Bin, QFileInfo(path).absolutePath());
        fileNameText_ = QDir::toNativeSeparators(path).toStdString();
        exchange_.Push({fileNameEdit_});
    }
}

}  // namespace pictor::gui
