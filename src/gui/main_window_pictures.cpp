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
#include "gui/import_failure.h"
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
    ChangeList(QT_TRANSLATE_NOOP("ListChange", "Delete"),
               [&rows](workspace::PictureList& list) { list.DeleteRows(rows); });
}

void MainWindow::OnRemoveAll() {
    ChangeList(QT_TRANSLATE_NOOP("ListChange", "Remove all"),
               [](workspace::PictureList& list) { list.RemoveAll(); });
}

void MainWindow::OnSortByName() {
    ChangeList(QT_TRANSLATE_NOOP("ListChange", "Sort by name"),
               [](workspace::PictureList& list) { list.SortByName(); });
}

void MainWindow::OnMoveUp() {
    ChangeList(QT_TRANSLATE_NOOP("ListChange", "Move up"),
               [](workspace::PictureList& list) { list.MoveUp(); });
}

void MainWindow::OnMoveDown() {
    ChangeList(QT_TRANSLATE_NOOP("ListChange", "Move down"),
               [](workspace::PictureList& list) { list.MoveDown(); });
}

void MainWindow::OnListClick() {
    SelectPicture(FirstSelectedRow());
}

void MainWindow::OnListDoubleClick(int row) {
    // The row that was double-clicked, whatever else is selected or current.
    if (row < 0 || static_cast<std::size_t>(row) >= pictures_.Size()) {
        return;
    }
    SelectPicture(row);
    ToggleShown(row);
}

void MainWindow::ToggleShown(int row) {
    ListState before = CurrentListState();
    if (!pictures_.ToggleShown(row)) {
        return;
    }
    model_->RowChanged(row);
    preview_->Redraw();
    RecordListChange(pictures_.At(static_cast<std::size_t>(row)).shown
                         ? QT_TRANSLATE_NOOP("ListChange", "Show picture")
                         : QT_TRANSLATE_NOOP("ListChange", "Hide picture"),
                     std::move(before));
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
    ListState before = CurrentListState();
    std::vector<std::string> files;
    for (const QString& path : paths) {
        files.push_back(QDir::toNativeSeparators(path).toStdString());
    }
    if (!KeepDuplicates(files)) {
        return;
    }
    std::vector<workspace::ProjectPicture> chosen;
    for (const std::string& file : files) {
        workspace::ProjectPicture picture;
        picture.path = PathFromUtf8(file);
        chosen.push_back(std::move(picture));
    }
    // Whatever was loaded before a cancel is kept; the list is then sorted and its
    // last picture made current, as after a complete import.
    for (auto& entry : RunImport(std::move(chosen), false)) {
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
    RecordListChange(QT_TRANSLATE_NOOP("ListChange", "Import pictures"), std::move(before));
}

bool MainWindow::KeepDuplicates(std::vector<std::string>& files) {
    std::set<QString> listed;
    for (const auto& entry : pictures_.Entries()) {
        listed.insert(QFileInfo(QString::fromStdString(entry.path)).absoluteFilePath());
    }
    std::vector<std::string> fresh;
    QStringList again;
    for (const std::string& file : files) {
        const QString path = QString::fromStdString(file);
        if (listed.count(QFileInfo(path).absoluteFilePath()) != 0) {
            again << QFileInfo(path).fileName();
        } else {
            fresh.push_back(file);
        }
    }
    if (again.isEmpty()) {
        return true;
    }
    // Already in the list: add them again, skip them, or import nothing.
    const auto answer = dialogs_.Ask(
        this,
        Message{Translate("MainWindow",
                          "%1 of the chosen files are in the list already:\n%2\n\nAdd them "
                          "again (Yes) or skip them (No)?")
                    .arg(again.size())
                    .arg(again.mid(0, 10).join(QLatin1Char('\n')))
                    .toStdString(),
                "", MessageIcon::Exclamation},
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    if (answer == QMessageBox::Cancel) {
        return false;
    }
    if (answer == QMessageBox::No) {
        files = std::move(fresh);
    }
    return !files.empty();
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
    std::vector<ImportFailure> failures;
    ImportJob job(std::move(pictures), skipMissing);
    connect(&progress, &QProgressDialog::canceled, this, [&job, &cancelled] {
        // The worker finishes the file in hand; its result and later ones are
        // dropped, so exactly the files reported so far are kept.
        cancelled = true;
        job.Cancel();
    });
    job.Start(
        [&](std::size_t /*index*/, ImportJob::Result result) {
            // A cancel through the dialog's button, Escape or close is signalled;
            // one through its slot is only recorded.
            if (cancelled || progress.wasCanceled()) {
                cancelled = true;
                job.Cancel();
                return;
            }
            if (result.failure) {
                failures.push_back(std::move(*result.failure));
            }
            done.push_back(std::move(result.entry));
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
    // The job ends only after its last queued call.
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
    // One summary of every file that did not load, once the import is over.
    if (!failures.empty()) {
        ShowMessage(ImportFailureSummary(failures).toStdString(), MessageIcon::Exclamation);
    }
    return done;
}

void MainWindow::OnRefreshDisplay() {
    const int current = pictures_.CurrentIndex();
    // A position that fails its check is not applied: the picture stays put.
    if (current < 0 || !exchange_.Pull({leftEdit_, topEdit_})) {
        return;
    }
    ListState before = CurrentListState();
    auto& entry = pictures_.At(static_cast<std::size_t>(current));
    // A picture entirely off the panel would silently vanish: refused, it stays put.
    if (!OnPanel(leftValue_, topValue_, entry.width, entry.height)) {
        ShowMessage(Translate("MainWindow",
                              "At %1, %2 the picture would lie entirely outside the %3 x %4 "
                              "panel; it stays at %5, %6.")
                        .arg(leftValue_)
                        .arg(topValue_)
                        .arg(profile_.panelWidth)
                        .arg(profile_.panelHeight)
                        .arg(entry.left)
                        .arg(entry.top)
                        .toStdString(),
                    MessageIcon::Exclamation);
        leftValue_ = entry.left;
        topValue_ = entry.top;
        exchange_.Push({leftEdit_, topEdit_});
        return;
    }
    entry.left = leftValue_;
    entry.top = topValue_;
    preview_->Redraw();
    exchange_.Push({leftEdit_, topEdit_});
    RecordListChange(QT_TRANSLATE_NOOP("ListChange", "Move picture"), std::move(before));
}

bool MainWindow::OnPanel(int left, int top, int width, int height) const {
    return left < profile_.panelWidth && top < profile_.panelHeight && left + width > 0 &&
           top + height > 0;
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
        dragBefore_ = CurrentListState();
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
    auto& entry = pictures_.At(static_cast<std::size_t>(current));
    // A drag keeps at least one pixel of the picture on the panel.
    leftValue_ =
        std::clamp(dragStartLeft_ + point.x() - grabX_, 1 - entry.width, profile_.panelWidth - 1);
    topValue_ =
        std::clamp(dragStartTop_ + point.y() - grabY_, 1 - entry.height, profile_.panelHeight - 1);
    entry.left = leftValue_;
    entry.top = topValue_;
    preview_->Redraw();
    exchange_.Push({leftEdit_, topEdit_});
}

void MainWindow::OnPreviewMouseUp(QPoint /*point*/) {
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    // The whole drag is one step.
    RecordListChange(QT_TRANSLATE_NOOP("ListChange", "Move picture"), std::move(dragBefore_));
    dragBefore_ = {};
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
