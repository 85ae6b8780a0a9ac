#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/conversion/convert_operation.h"
#include "core/device/device_link.h"
#include "core/device/image_buffer.h"
#include "core/settings/model_profile.h"
#include "core/settings/profile_file.h"
#include "core/settings/scom_settings.h"
#include "core/text/glyph_set.h"
#include "core/workspace/picture_list.h"
#include "core/workspace/project_file.h"
#include "gui/change_watch.h"
#include "gui/field_exchange.h"
#include "gui/lcd_settings_dialog.h"
#include "gui/list_history.h"
#include "gui/message_bar.h"
#include "gui/resource_download_dialog.h"
#include "gui/translated_texts.h"
#include "gui/ui_sinks.h"
#include "gui/user_state.h"

class QAbstractItemView;
class QAction;
class QComboBox;
class QMenu;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QSplitter;
class QPushButton;
class QStackedWidget;
class QTreeView;
class QUndoStack;

namespace pictor::gui {

class DialogService;
class LcdPreview;
class MemoryMapDialog;
class PictureListModel;
class PortBox;

/// The application's one window: the picture list with its commands, the LCD
/// preview, the converter, the viewer, and the serial and download controls.
/// Every handler runs on the user-interface thread; download jobs run on their
/// own threads and report through the window.
class MainWindow final : public QMainWindow,
                         public LcdSettingsExchange,
                         public ResourceDownloadHost {
    Q_OBJECT
  public:
    /// Reads the "Scom" section of `settingsPath` (the settings file). `pauser`
    /// null: the device protocol's pauses really sleep.
    MainWindow(std::filesystem::path settingsPath, DialogService& dialogs,
               QWidget* parent = nullptr, std::unique_ptr<device::Pauser> pauser = nullptr);
    ~MainWindow() override;

    /// Runs the configuration dialog and, when it is confirmed, initialises the
    /// window. False when it was cancelled: the program then ends.
    bool Start();

    [[nodiscard]] const settings::ModelProfile& Profile() const { return profile_; }
    [[nodiscard]] workspace::PictureList& Pictures() { return pictures_; }
    [[nodiscard]] LcdPreview& Preview() const { return *preview_; }
    [[nodiscard]] const settings::ScomSettings& Scom() const { return scom_; }

    // Picture list (list order = rows).
    void OnImportPictures();
    /// Imports `paths` as chosen ones. The files are loaded off the user-interface
    /// thread behind a progress dialog whose cancel keeps the pictures done so far;
    /// returns when the import has ended. Ignored while another import runs.
    void ImportPaths(const QStringList& paths);
    /// True while pictures are being imported (a list import or a project open).
    [[nodiscard]] bool ImportRunning() const { return importRunning_; }
    void OnDeletePictures();
    void OnRemoveAll();
    void OnSortByName();
    void OnMoveUp();
    void OnMoveDown();
    void OnListClick();
    /// A double-click on `row` makes it current and toggles its shown flag.
    void OnListDoubleClick(int row);
    void OnViewStyleChange();
    void OnConvert();
    /// Shows the "Memory map" window of the last conversion.
    void OnMemoryMap();
    [[nodiscard]] MemoryMapDialog& MemoryMap() const { return *memoryMap_; }

    // LCD preview.
    void OnRefreshDisplay();
    void OnPreviewMouseDown(QPoint point);
    void OnPreviewMouseMove(QPoint point);
    void OnPreviewMouseUp(QPoint point);

    // Picture operations and text items (main_window_items.cpp).
    /// The "Picture" dialog for the current picture and the selected ones.
    void OnPictureOperations();
    /// "Add text...": a picture drawn from a text.
    void OnAddText();
    /// "Add glyphs...": one picture per character of a string.
    void OnAddGlyphs();

    // Editor and viewer.
    void OnEditItem();
    void OnChooseImageFile();
    void OnViewFromImageFile();

    void OnAbout();

    // Serial line, module and downloads.
    void OnOpenPort();
    void OnClosePort();
    void OnConnect();
    void ShowConnectionState();
    void OnFlashTypeChanged();
    void OnDownloadBin();
    void OnResourceDownload();
    void OnLcdSettings();
    void OnCancelJob();
    [[nodiscard]] device::DeviceLink& Link() { return link_; }

    std::optional<device::Outcome> WriteLcdSettings(const device::LcdSettings& values) override;
    std::optional<device::Outcome> ReadLcdSettings(device::LcdSettingsReply& reply) override;
    bool LoadResourceImage(const std::string& path, QWidget* owner) override;
    void StartResourceDownload(std::optional<device::LcdSettings> settings) override;
    void CancelResourceDownload() override;
    /// The Device menu's "Erase only the image's blocks" and "Download changes only".
    [[nodiscard]] DownloadChoices Choices() const override;
    void SetChoices(const DownloadChoices& choices) override;

    /// Members to controls; controls to members (false at a failed check).
    void Push();
    bool Pull();

    // ---- Commands, menus, status bar, models and remembered state
    // (main_window_actions.cpp) ----

    /// The window's command of that object name ("importAction", …), or nullptr.
    [[nodiscard]] QAction* Action(const QString& objectName) const;
    /// Makes the model at `index` of the settings file's model list the active
    /// profile, as the configuration's OK does. False when it cannot be confirmed.
    bool SwitchModel(int index);
    /// Runs the configuration dialog again; its OK makes its model active.
    void OnConfigureModels();
    /// The Icons view's thumbnails: `side` pixels square (48, 64 or 96).
    void SetThumbnailSize(int side);
    /// Preview zoom: 1, 2 or 4 screen pixels per panel pixel.
    void SetPreviewZoom(int zoom);
    /// Refreshes the status bar, the model box and the window title.
    void RefreshStatus();

    // ---- Project file (main_window_project.cpp) ----

    void OnNewProject();
    void OnOpenProject();
    /// Opens `path`; false when it could not be read (the list is then unchanged).
    bool OpenProject(const QString& path);
    bool OnSaveProject();
    bool OnSaveProjectAs();
    /// Writes the list as a project to `path`; false when that failed (said so).
    bool SaveProjectTo(const QString& path);
    /// The project file of the list, empty when the list was never saved.
    [[nodiscard]] const QString& ProjectPath() const { return projectPath_; }
    /// True when the list differs from what was last opened or saved.
    [[nodiscard]] bool ListModified() const;

    // --- Closing while a download runs; picture fields and shown flags ---
    /// True when the window may close. While a download job runs it asks "A
    /// download is running. Cancel it and quit?" (No is the default); Yes cancels
    /// the job at its next exchange boundary and returns once it has ended.
    bool ConfirmCloseWhileJobRuns();
    /// Inverts the shown flag of the picture at `row` and redraws the preview.
    void ToggleShown(int row);

    // ---- Undo history (main_window_history.cpp) ----

    /// Runs `change` on the picture list as one undoable step named `text` (a
    /// source text of context "ListChange") and shows the result; nothing is
    /// recorded when it changed nothing. Every new kind of list change goes
    /// through here.
    void ChangeList(const char* text, const std::function<void(workspace::PictureList&)>& change);
    /// Records a change already made, from the state `before` it (a drag, a model
    /// switch, a handler that refreshes the views itself).
    void RecordListChange(const char* text, ListState before);
    [[nodiscard]] ListState CurrentListState() const;
    [[nodiscard]] QUndoStack& UndoStack() const { return *undoStack_; }

    /// Tells the outcome of a task without stopping the user: `text` in the
    /// message bar (with its buttons), `status` in the status bar.
    void PostResult(MessageBar::Kind kind, const QString& text, const QString& status,
                    std::vector<MessageBar::Action> actions = {});
    [[nodiscard]] MessageBar& Results() const { return *messageBar_; }

  signals:
    /// During an import: `done` of `total` files have been handled (on the
    /// user-interface thread, between event-loop turns).
    void importProgress(int done, int total);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    /// Puts the texts of the new language on after View > Language.
    void changeEvent(QEvent* event) override;

  private:
    void BuildLayout();
    void BuildLanguageMenu(QMenu& viewMenu);
    QWidget* BuildListPane();
    QWidget* BuildPreviewPane();
    QWidget* BuildDevicePane();
    void BindFields();
    void InitDialog();
    void RebuildList();
    void SelectPicture(int position);
    void ShowPictureFields(const workspace::ImageEntry& entry, int position);
    /// True when a picture of that size at that position shows at least one pixel.
    [[nodiscard]] bool OnPanel(int left, int top, int width, int height) const;
    [[nodiscard]] int FirstSelectedRow() const;
    [[nodiscard]] std::vector<int> SelectedRows() const;
    [[nodiscard]] QAbstractItemView* CurrentView() const;
    void FinishImport(const QStringList& paths);
    /// Adds texts (drawn now; a text that does not draw is reported) to the list.
    void AddTextItems(const std::vector<text::GlyphPicture>& items);
    /// Files of `files` that are in the list already: asks whether to add them
    /// again or skip them. False when nothing is left to import.
    bool KeepDuplicates(std::vector<std::string>& files);
    /// Loads `pictures` (see ImportJob) on a worker behind a progress dialog while
    /// the event loop runs; one slot per picture handled before a cancel (empty
    /// when it was skipped or failed). The ones that failed are listed with their
    /// reasons in one message once the import is over. `skipMissing`: a project's
    /// pictures, whose files that do not exist are passed over silently.
    std::vector<std::optional<workspace::ImageEntry>> RunImport(
        std::vector<workspace::ProjectPicture> pictures, bool skipMissing);
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption = {});
    /// The progress row's text: the running job's status, or "Ready".
    void ShowJobStatus();
    /// Starts a download with the Device menu's choices; an `automatic` one (of
    /// "Auto-download on change") reports in the status bar only.
    void StartJob(device::DownloadRequest request, bool automatic = false);
    /// On the user-interface thread once a download job to `port` has ended: shows
    /// what it reported (an automatic one in the status bar only) and, when the
    /// module went away or fell silent, what happened and what to do (a port whose
    /// device is gone is closed).
    void FinishJob(const device::DownloadResult& result, const std::string& port, bool automatic);
    /// What happened on the line when a job failed and what to do next; empty when
    /// the line is not to blame. Closes the port of a device that went away and
    /// resets the connect state.
    std::string LineFailureAdvice(const device::DownloadResult& result);
    /// "(N bytes in S s, R KiB/s)" of a finished download.
    static QString DownloadFigures(const device::DownloadResult& result);
    void ShowFlashType();

    // ---- Commands, menus, status bar, models and remembered state ----
    void BuildActions();
    void BuildMenus();
    void BuildStatusBar();
    void BuildUndoActions();
    void ShowUndoTexts();
    /// Makes `state` the window's: the list, its views, the preview and the model.
    void ApplyListState(const ListState& state);
    /// Shows the list as it is now: views, preview, current picture, status.
    void ShowList();
    /// Forgets the undo history (a new or opened project) and calls it saved.
    void ResetHistory();
    /// Makes the model at `index` active without recording a list change.
    bool ActivateModel(int index);
    void FillModelBox();
    void ApplyProfile();
    void RestoreUserState();
    /// Sizes a window without remembered geometry once it is shown: room for the
    /// whole panel at its zoom, no larger than FirstWindowLimit().
    void FitFirstWindow();
    /// The screen less a task bar and a title bar.
    [[nodiscard]] QSize FirstWindowLimit() const;
    void SaveUserState();
    void SelectCurrentFromView();
    void SelectCurrentFromList();
    /// "Remove all" asks first; true to go on.
    [[nodiscard]] bool ConfirmRemoval(int count);
    /// Where the import dialog starts: "DEFAULT_DIR_PATH" when it exists, else the
    /// last import folder, else the start directory.
    [[nodiscard]] QString ImportFolder() const;

    // ---- Project file ----
    struct ListSnapshot {
        // What saving would store: files or texts, shown flags, positions, operations.
        std::vector<workspace::ProjectPicture> pictures;
        std::string modelName;
        friend bool operator==(const ListSnapshot&, const ListSnapshot&) = default;
    };
    [[nodiscard]] ListSnapshot Snapshot() const;
    void MarkSaved();
    /// Closing with a changed list asks Save / Discard / Cancel; true to go on.
    [[nodiscard]] bool ConfirmDiscardList();
    void FillRecentMenu();
    [[nodiscard]] std::filesystem::path OutputDirectory() const;

    // --- Picture fields, job wait, layout ---
    void ClearPictureFields();
    void WaitForJobEnd();
    /// One report of a successful conversion in the message bar: folder, files,
    /// size and share of the flash, and `warnings` with those about symbols and
    /// pictures the panel cannot show whole; a warning when there are any or the
    /// image does not fit the flash.
    void ReportConversion(const conversion::ConvertResult& result, std::vector<QString> warnings);
    QSplitter* splitter_ = nullptr;

    std::filesystem::path settingsPath_;
    DialogService& dialogs_;
    settings::ScomSettings scom_;
    settings::ModelProfile profile_;
    workspace::PictureList pictures_;
    std::filesystem::path startDirectory_;
    UiMessageSink messages_;
    FieldExchange exchange_;

    // Members exchanged with the window's fields.
    int viewStyleIndex_ = -1;
    int indexValue_ = 0;
    std::string fileNameText_;
    int heightValue_ = 0;
    int leftValue_ = 0;
    int topValue_ = 0;
    int widthValue_ = 0;
    std::string connectionText_;
    // The last connect's outcome, so its text follows a language switch.
    enum class ConnectionState {
        None,
        Connected,
        NotConnected
    } connectionState_ = ConnectionState::None;
    std::string portText_;
    std::string baudText_;

    // Preview drag state.
    int grabX_ = 0;
    int grabY_ = 0;
    int dragStartLeft_ = 0;
    int dragStartTop_ = 0;
    bool dragging_ = false;
    ListState dragBefore_;  // the list when the drag began: one undo step per drag
    bool importRunning_ = false;

    PictureListModel* model_ = nullptr;
    QStackedWidget* views_ = nullptr;
    QTreeView* reportView_ = nullptr;
    QListView* iconView_ = nullptr;
    QListView* listView_ = nullptr;
    QComboBox* styleBox_ = nullptr;
    LcdPreview* preview_ = nullptr;
    QLineEdit* indexEdit_ = nullptr;
    QLineEdit* fileNameEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QLineEdit* leftEdit_ = nullptr;
    QLineEdit* topEdit_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* connectionEdit_ = nullptr;
    PortBox* portBox_ = nullptr;
    QComboBox* baudBox_ = nullptr;
    QComboBox* flashTypeBox_ = nullptr;
    QPushButton* openPortButton_ = nullptr;
    QPushButton* closePortButton_ = nullptr;
    QPushButton* connectButton_ = nullptr;
    QPushButton* resourceButton_ = nullptr;
    QPushButton* downloadBinButton_ = nullptr;
    QPushButton* lcdSettingsButton_ = nullptr;
    QPushButton* cancelJobButton_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    MemoryMapDialog* memoryMap_ = nullptr;
    QLabel* percentLabel_ = nullptr;
    MessageBar* messageBar_ = nullptr;
    std::string jobStatus_;  // the core's text of the running job's step; empty: none

    // ---- Commands, menus, status bar, models, remembered state, project ----
    UserState userState_;
    TranslatedTexts texts_;  // the texts that follow the interface language
    std::map<QString, QAction*> actions_;
    QUndoStack* undoStack_ = nullptr;
    QComboBox* modelBox_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QLabel* statusModel_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    QLabel* statusPort_ = nullptr;
    QLabel* statusPictures_ = nullptr;
    int previewZoom_ = 1;
    bool fitOnFirstShow_ = false;  // no remembered geometry: fit the panel when shown
    QString projectPath_;
    std::filesystem::path projectOutputDir_;
    ListSnapshot savedSnapshot_;
    // The project as last opened or saved: its unknown keys survive a rewrite.
    workspace::Project loadedProject_;

    // ---- Re-flashing: erase choice, changes only, auto-download
    // (main_window_reflash.cpp) ----
    void BuildReflashActions();
    void ApplyDownloadChoices(device::DownloadRequest& request, bool automatic) const;
    /// After a job: remembers (or forgets) what the module on `port` holds.
    void TakeJobResult(const device::DownloadResult& result, const std::string& port);
    [[nodiscard]] std::string AutoDownloadReport(const device::DownloadResult& result) const;
    /// " 3 of 32 blocks changed; a whole download would take about 110.0 s" after a
    /// download of the changes; empty otherwise.
    static QString ChangesFigures(const device::DownloadResult& result);
    void SetAutoDownload(bool on);
    void ShowAutoStatus(const std::string& text);
    [[nodiscard]] WatchedState CurrentWatchedState() const;
    /// Converts the list and downloads the changes to the open port.
    void RunAutoDownload();
    /// Runs the auto-download a change asked for while a job or an import ran.
    void RunPendingAutoDownload();
    // The image each port's module got with the last successful download of this
    // session: what "Download changes only" compares with.
    std::map<std::string, device::ImageBuffer> heldImages_;
    ChangeWatch* changeWatch_ = nullptr;
    QLabel* autoStatus_ = nullptr;
    bool autoPending_ = false;  // a change came while a job or an import ran

    // The image the resource download dialog loaded (shared bytes: a running job
    // keeps the image it writes when another is loaded).
    std::optional<device::ImageBuffer> resourceImage_;
    // The resource image the last conversion wrote (empty before one).
    std::filesystem::path convertedImage_;
    // Declared before the link: its jobs report into them until the link ends.
    UiProgressSink progress_;
    CollectingMessageSink jobMessages_;
    device::DeviceLink link_;
};

}  // namespace pictor::gui
