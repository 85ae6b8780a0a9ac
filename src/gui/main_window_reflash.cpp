// Re-flashing in seconds: the Device menu's erase choice, "Download changes only"
// (the image last downloaded to a port in this session is what the module holds)
// and "Auto-download on change", which converts and downloads the changes after
// the list or a picture file changed and reports in the status bar only.
#include <QAbstractItemModel>
#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <algorithm>

#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/conversion/convert_operation.h"
#include "gui/change_watch.h"
#include "gui/lcd_preview.h"
#include "gui/main_window.h"
#include "gui/memory_map_dialog.h"
#include "gui/picture_list_model.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

/// Keeps the last message that is not a success notice; shows nothing.
class LastProblem final : public MessageSink {
  public:
    void Show(const Message& message) override {
        if (message.icon != MessageIcon::Information) {
            last = message;
        }
    }
    std::optional<Message> last;
};

std::string Seconds(std::chrono::duration<double> time) {
    return QString::number(time.count(), 'f', 1).toStdString();
}

}  // namespace

void MainWindow::BuildReflashActions() {
    struct Choice {
        const char* name;
        const char* text;
        const char* tip;
        bool checked;
        std::function<void(bool)> toggled;
    };
    const Choice choices[] = {
        {"eraseImageAction", QT_TRANSLATE_NOOP("MainWindow", "&Erase only the image's blocks"),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Erase only the 64 KiB blocks the image occupies, not the flash up to "
                           "its end; the flash beyond the image keeps its bytes, which the "
                           "image's index table never points to"),
         userState_.EraseImageOnly(), [this](bool on) { userState_.SetEraseImageOnly(on); }},
        {"changesOnlyAction", QT_TRANSLATE_NOOP("MainWindow", "Download c&hanges only"),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Erase and write only the 64 KiB blocks that differ from the image "
                           "last downloaded to this port; the module is checked first, and gets "
                           "the whole image when it holds something else"),
         userState_.ChangesOnly(), [this](bool on) { userState_.SetChangesOnly(on); }},
        {"autoDownloadAction", QT_TRANSLATE_NOOP("MainWindow", "A&uto-download on change"),
         QT_TRANSLATE_NOOP("MainWindow",
                           "After a picture file or the list changes, convert and download the "
                           "changes to the open port; the result shows in the status bar"),
         false, [this](bool on) { SetAutoDownload(on); }},
    };
    for (const Choice& choice : choices) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(choice.name));
        action->setCheckable(true);
        action->setChecked(choice.checked);
        texts_.Add("MainWindow", choice.text, [action](const QString& t) { action->setText(t); });
        texts_.Add("MainWindow", choice.tip, [action](const QString& t) {
            action->setToolTip(t);
            action->setStatusTip(t);
        });
        connect(action, &QAction::toggled, this, choice.toggled);
        actions_[action->objectName()] = action;
    }

    changeWatch_ = new ChangeWatch([this] { return CurrentWatchedState(); }, this);
    connect(changeWatch_, &ChangeWatch::changed, this, &MainWindow::RunAutoDownload);
    // Changes of the list made by any command, a drop or a drag reach the model.
    connect(model_, &QAbstractItemModel::modelReset, changeWatch_, &ChangeWatch::Poke);
    connect(model_, &QAbstractItemModel::layoutChanged, changeWatch_, &ChangeWatch::Poke);
    connect(model_, &QAbstractItemModel::rowsInserted, changeWatch_, &ChangeWatch::Poke);
    connect(model_, &QAbstractItemModel::rowsRemoved, changeWatch_, &ChangeWatch::Poke);
    connect(model_, &QAbstractItemModel::dataChanged, changeWatch_, &ChangeWatch::Poke);

    autoStatus_ = new QLabel;
    autoStatus_->setObjectName(QStringLiteral("autoDownloadStatus"));
    autoStatus_->setVisible(false);
    statusBar()->addWidget(autoStatus_, 1);
}

DownloadChoices MainWindow::Choices() const {
    return DownloadChoices{Action(QStringLiteral("eraseImageAction"))->isChecked(),
                           Action(QStringLiteral("changesOnlyAction"))->isChecked()};
}

void MainWindow::SetChoices(const DownloadChoices& choices) {
    Action(QStringLiteral("eraseImageAction"))->setChecked(choices.eraseImageOnly);
    Action(QStringLiteral("changesOnlyAction"))->setChecked(choices.changesOnly);
}

void MainWindow::ApplyDownloadChoices(device::DownloadRequest& request, bool automatic) const {
    const DownloadChoices choices = Choices();
    request.erase = choices.eraseImageOnly ? device::EraseScope::Image : device::EraseScope::ToEnd;
    if (choices.changesOnly || automatic) {
        const auto held = heldImages_.find(portText_);
        if (held != heldImages_.end()) {
            request.previous = held->second;
        }
    }
}

void MainWindow::TakeJobResult(const device::DownloadResult& result, const std::string& port) {
    // What the port's module holds is known only after a download that succeeded;
    // after any other end the next download is whole.
    if (result.outcome == device::Outcome::Ok && result.image) {
        heldImages_.insert_or_assign(port, *result.image);
    } else {
        heldImages_.erase(port);
    }
}

void MainWindow::RunPendingAutoDownload() {
    if (autoPending_) {
        autoPending_ = false;
        RunAutoDownload();
    }
}

QString MainWindow::ChangesFigures(const device::DownloadResult& result) {
    if (!result.changes) {
        return {};
    }
    return QLatin1Char(' ') +
           Translate("MainWindow",
                     "%1 of %2 blocks changed; a whole download would take about "
                     "%3 s")
               .arg(result.changes->changedBlocks)
               .arg(result.changes->imageBlocks)
               .arg(QString::fromStdString(Seconds(result.changes->wholeEstimate)));
}

std::string MainWindow::AutoDownloadReport(const device::DownloadResult& result) const {
    switch (result.outcome) {
        case device::Outcome::Ok:
            if (result.changes) {
                return FillPlaceholders(
                    Translate("MainWindow", "Auto-download: %1 of %2 blocks sent in %3 s")
                        .toStdString(),
                    {std::to_string(result.changes->changedBlocks),
                     std::to_string(result.changes->imageBlocks), Seconds(result.totalTime)});
            }
            return FillPlaceholders(
                Translate("MainWindow", "Auto-download: whole image, %1 blocks sent in %2 s")
                    .toStdString(),
                {std::to_string(result.image ? (result.image->sectorCount + 127) / 128 : 0),
                 Seconds(result.totalTime)});
        case device::Outcome::Cancelled:
            return Translate("MainWindow",
                             "Auto-download cancelled; the next one sends the whole image")
                .toStdString();
        case device::Outcome::Failed:
            break;
    }
    return FillPlaceholders(
        Translate("MainWindow", "Auto-download failed: %1; the next one sends the whole image")
            .toStdString(),
        {LocalizeCoreMessage(result.message).text});
}

void MainWindow::SetAutoDownload(bool on) {
    changeWatch_->SetEnabled(on);
    autoPending_ = false;
    autoStatus_->setVisible(on);
    if (on) {
        ShowAutoStatus(
            Translate("MainWindow", "Auto-download: waiting for a change of the list or a picture")
                .toStdString());
    }
}

void MainWindow::ShowAutoStatus(const std::string& text) {
    autoStatus_->setText(QString::fromStdString(text));
}

WatchedState MainWindow::CurrentWatchedState() const {
    // What Icon.bin is made of: the pictures (converted in name order, so the
    // list's order does not count) and the model.
    WatchedState state;
    std::vector<std::string> paths;
    for (const workspace::ImageEntry& entry : pictures_.Entries()) {
        paths.push_back(entry.path);
        state.files.push_back(PathFromUtf8(entry.path));
    }
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) {
        state.listKey += path + '\n';
    }
    state.listKey += profile_.modelName;
    return state;
}

void MainWindow::RunAutoDownload() {
    if (!changeWatch_->Enabled()) {
        return;
    }
    if (link_.IsRunning() || importRunning_) {
        autoPending_ = true;  // tried again when the job or the import has ended
        return;
    }
    if (!link_.HasLine()) {
        changeWatch_->Accept();
        ShowAutoStatus(
            Translate("MainWindow", "Auto-download: the serial port is closed; nothing was sent")
                .toStdString());
        return;
    }
    if (pictures_.Empty()) {
        changeWatch_->Accept();
        return;
    }
    // The module takes the binary image only, whatever the model's output is.
    settings::ModelProfile profile = profile_;
    profile.outDataType = 0;
    conversion::ConvertOptions options;
    options.outputDir = OutputDirectory();
    if (const auto capacity = conversion::FlashTypeCapacity(link_.State().selectedFlashType)) {
        options.flashCapacity = *capacity;
    }
    LastProblem problems;
    const conversion::ConvertResult converted =
        conversion::Convert(pictures_, profile, options, problems);
    changeWatch_->Accept();
    memoryMap_->SetConversion(converted);
    RebuildList();
    std::optional<device::ImageBuffer> image;
    if (converted.success) {
        image = device::LoadBinFile(converted.dataPath, link_.State().flashSizeCode, problems);
    }
    if (!image) {
        const std::string why =
            problems.last ? LocalizeCoreMessage(*problems.last).text : std::string();
        ShowAutoStatus(FillPlaceholders(Translate("MainWindow",
                                                  "Auto-download: the conversion failed (%1); the "
                                                  "module was left as it was")
                                            .toStdString(),
                                        {why}));
        return;
    }
    device::DownloadRequest request;
    request.source = device::ImageSource::Resource;
    request.image = std::move(image);
    ShowAutoStatus(Translate("MainWindow", "Auto-download: downloading...").toStdString());
    StartJob(std::move(request), true);
}

}  // namespace pictor::gui
