// The main window's commands as actions shared by the menus, the buttons and the
// shortcuts; the status bar; the model box; and the state remembered per user.
#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeView>
#include <algorithm>
#include <functional>

#include "core/common/text_format.h"
#include "core/settings/model_list.h"
#include "core/settings/startup_profile.h"
#include "gui/config_dialog.h"
#include "gui/dialog_service.h"
#include "gui/lcd_preview.h"
#include "gui/main_window.h"
#include "gui/picture_list_model.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

constexpr const char* kCommon = "COMMON";
// The model box shows names up to this many average characters whole.
constexpr int kModelNameChars = 40;

// Keeps an action's enabled state equal to its button's, so a command the window
// disables (closing a port that is not open, cancelling without a job) is
// disabled in the menu and for its shortcut too.
class EnabledMirror final : public QObject {
  public:
    EnabledMirror(QAction* action, QObject* parent) : QObject(parent), action_(action) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange) {
            action_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QAction* action_;
};

// Reports a key that moves the current row of a list view (arrows, page keys,
// Home, End) once the view has handled it.
class NavigationKeys final : public QObject {
  public:
    NavigationKeys(std::function<void()> moved, QObject* parent)
        : QObject(parent), moved_(std::move(moved)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            switch (static_cast<QKeyEvent*>(event)->key()) {
                case Qt::Key_Up:
                case Qt::Key_Down:
                case Qt::Key_Left:
                case Qt::Key_Right:
                case Qt::Key_PageUp:
                case Qt::Key_PageDown:
                case Qt::Key_Home:
                case Qt::Key_End:
                    QMetaObject::invokeMethod(this, moved_, Qt::QueuedConnection);
                    break;
                default:
                    break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> moved_;
};

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "16-Bit RGB_565": the depth and the colour type as the configuration lists name them.
QString DepthAndColourType(const settings::ModelProfile& profile) {
    const auto& depths = settings::DepthListTexts();
    const std::string prefix = std::to_string(profile.colorDepth) + "-";
    for (std::size_t i = 0; i < depths.size(); ++i) {
        if (depths[i].rfind(prefix, 0) != 0) {
            continue;
        }
        const auto types = settings::ColorTypeListTexts(static_cast<int>(i));
        QString text = FromUtf8(depths[i]);
        if (profile.colorType >= 0 && static_cast<std::size_t>(profile.colorType) < types.size()) {
            text += QLatin1Char(' ') + FromUtf8(types[static_cast<std::size_t>(profile.colorType)]);
        }
        return text;
    }
    return QStringLiteral("%1-Bit").arg(profile.colorDepth);
}

}  // namespace

QAction* MainWindow::Action(const QString& objectName) const {
    const auto found = actions_.find(objectName);
    return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::BuildActions() {
    BuildUndoActions();
    struct Command {
        const char* name;
        const char* text;
        QKeySequence shortcut;
        const char* tip;
        const char* button;  // the button that runs the same command, if any
        std::function<void()> run;
    };
    const Command commands[] = {
        {"newProjectAction", QT_TRANSLATE_NOOP("MainWindow", "&New project"), QKeySequence::New,
         QT_TRANSLATE_NOOP("MainWindow",
                           "Start an empty picture list (asks to save a changed one)"),
         nullptr, [this] { OnNewProject(); }},
        {"openProjectAction", QT_TRANSLATE_NOOP("MainWindow", "&Open project..."),
         QKeySequence::Open,
         QT_TRANSLATE_NOOP("MainWindow",
                           "Open a project file: its pictures, positions, model and output folder"),
         nullptr, [this] { OnOpenProject(); }},
        {"saveProjectAction", QT_TRANSLATE_NOOP("MainWindow", "&Save project"), QKeySequence::Save,
         QT_TRANSLATE_NOOP("MainWindow", "Save the picture list as a project file"), nullptr,
         [this] { OnSaveProject(); }},
        {"saveProjectAsAction", QT_TRANSLATE_NOOP("MainWindow", "Save project &as..."),
         QKeySequence::SaveAs,
         QT_TRANSLATE_NOOP("MainWindow", "Save the picture list as a new project file"), nullptr,
         [this] { OnSaveProjectAs(); }},
        {"importAction", QT_TRANSLATE_NOOP("MainWindow", "&Import pictures..."),
         QKeySequence(Qt::CTRL | Qt::Key_I),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Add picture files (BMP, PNG, ICO) to the end of the list"),
         "importButton", [this] { OnImportPictures(); }},
        {"convertAction", QT_TRANSLATE_NOOP("MainWindow", "&Convert"),
         QKeySequence(Qt::CTRL | Qt::Key_B),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Sort the list by name and write Icon.bin (or Icon.c) and Icon.h into "
                           "the output folder"),
         "convertButton", [this] { OnConvert(); }},
        {"memoryMapAction", QT_TRANSLATE_NOOP("MainWindow", "&Memory map"),
         QKeySequence(Qt::CTRL | Qt::Key_M),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Where the pictures of the last conversion sit in Icon.bin, and how "
                           "full the flash is"),
         "memoryMapButton", [this] { OnMemoryMap(); }},
        {"quitAction", QT_TRANSLATE_NOOP("MainWindow", "&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q),
         QT_TRANSLATE_NOOP("MainWindow", "Close the window"), nullptr, [this] { close(); }},
        {"deleteAction", QT_TRANSLATE_NOOP("MainWindow", "&Delete"), QKeySequence(Qt::Key_Delete),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Remove the selected pictures from the list (Undo brings them back)"),
         "deleteButton", [this] { OnDeletePictures(); }},
        {"removeAllAction", QT_TRANSLATE_NOOP("MainWindow", "Remove &all"), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow", "Remove every picture from the list"), "removeAllButton",
         [this] {
             if (!pictures_.Empty() && ConfirmRemoval(static_cast<int>(pictures_.Size()))) {
                 OnRemoveAll();
             }
         }},
        {"sortAction", QT_TRANSLATE_NOOP("MainWindow", "&Sort by name"), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow", "Sort the list by picture name"), "sortButton",
         [this] { OnSortByName(); }},
        {"moveUpAction", QT_TRANSLATE_NOOP("MainWindow", "Move &up"),
         QKeySequence(Qt::CTRL | Qt::Key_Up),
         QT_TRANSLATE_NOOP("MainWindow", "Move the current picture one place up"), "upButton",
         [this] {
             OnMoveUp();
             SelectCurrentFromList();
         }},
        {"moveDownAction", QT_TRANSLATE_NOOP("MainWindow", "Move do&wn"),
         QKeySequence(Qt::CTRL | Qt::Key_Down),
         QT_TRANSLATE_NOOP("MainWindow", "Move the current picture one place down"), "downButton",
         [this] {
             OnMoveDown();
             SelectCurrentFromList();
         }},
        {"pictureOperationsAction", QT_TRANSLATE_NOOP("MainWindow", "&Picture..."),
         QKeySequence(Qt::CTRL | Qt::Key_P),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Crop, rotate, flip, scale or invert the current picture (and the "
                           "selected ones); the picture files stay as they are"),
         nullptr, [this] { OnPictureOperations(); }},
        {"addTextAction", QT_TRANSLATE_NOOP("MainWindow", "Add &text..."), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow", "Add a picture drawn from a text with a font"), nullptr,
         [this] { OnAddText(); }},
        {"addGlyphsAction", QT_TRANSLATE_NOOP("MainWindow", "Add &glyphs..."), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Add one picture per character of a string (digits for a clock, say), "
                           "all of one height and baseline"),
         nullptr, [this] { OnAddGlyphs(); }},
        {"editItemAction", QT_TRANSLATE_NOOP("MainWindow", "&Edit in editor"), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Open the current picture in the editor chosen in the configuration"),
         "editItemButton", [this] { OnEditItem(); }},
        {"openPortAction", QT_TRANSLATE_NOOP("MainWindow", "&Open port"), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow", "Open the serial port shown in the port box"),
         "openPortButton", [this] { OnOpenPort(); }},
        {"closePortAction", QT_TRANSLATE_NOOP("MainWindow", "C&lose port"), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow", "Close the serial port"), "closePortButton",
         [this] { OnClosePort(); }},
        {"connectAction", QT_TRANSLATE_NOOP("MainWindow", "&Connect"), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow", "Ask the module on the open port for its flash type"),
         "connectButton", [this] { OnConnect(); }},
        {"downloadBinAction", QT_TRANSLATE_NOOP("MainWindow", "Download .&bin..."), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow", "Write a .bin file into the module's flash"),
         "downloadBinButton", [this] { OnDownloadBin(); }},
        {"resourceDownloadAction", QT_TRANSLATE_NOOP("MainWindow", "&Resource download..."),
         QKeySequence(),
         QT_TRANSLATE_NOOP(
             "MainWindow",
             "Write a resource image and optionally the LCD settings into the module"),
         "resourceDownloadButton", [this] { OnResourceDownload(); }},
        {"lcdSettingsAction", QT_TRANSLATE_NOOP("MainWindow", "LCD &settings..."), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow", "Read or write the module's LCD settings"),
         "lcdSettingsButton", [this] { OnLcdSettings(); }},
        {"cancelJobAction", QT_TRANSLATE_NOOP("MainWindow", "C&ancel download"), QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow", "Stop the running download"), "cancelJobButton",
         [this] { OnCancelJob(); }},
        {"configureModelsAction", QT_TRANSLATE_NOOP("MainWindow", "&Configure models..."),
         QKeySequence(),
         QT_TRANSLATE_NOOP("MainWindow",
                           "Edit, create or delete model profiles and choose the active one"),
         nullptr, [this] { OnConfigureModels(); }},
    };

    for (const Command& command : commands) {
        auto* action = new QAction(this);
        texts_.Add("MainWindow", command.text, [action](const QString& t) { action->setText(t); });
        action->setObjectName(QString::fromLatin1(command.name));
        action->setShortcut(command.shortcut);
        auto* button = command.button == nullptr
                           ? nullptr
                           : findChild<QPushButton*>(QString::fromLatin1(command.button));
        // The tip names the shortcut; the button that runs the command shows it too.
        texts_.Add("MainWindow", command.tip, [action, button](const QString& text) {
            QString tip = text;
            if (!action->shortcut().isEmpty()) {
                tip += QStringLiteral(" (%1)").arg(
                    action->shortcut().toString(QKeySequence::NativeText));
            }
            action->setToolTip(tip);
            action->setStatusTip(text);
            if (button != nullptr) {
                button->setToolTip(tip);
            }
        });
        connect(action, &QAction::triggered, this, command.run);
        // After the command: the status bar and the title show its effect.
        connect(action, &QAction::triggered, this, &MainWindow::RefreshStatus);
        actions_[action->objectName()] = action;

        if (button == nullptr) {
            continue;
        }
        // The button runs the action: one command, one path.
        disconnect(button, &QPushButton::clicked, this, nullptr);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        action->setEnabled(button->isEnabled());
        button->installEventFilter(new EnabledMirror(action, action));
    }

    // Buttons that are not commands of a menu still explain themselves.
    const std::pair<const char*, const char*> otherTips[] = {
        {"refreshButton",
         QT_TRANSLATE_NOOP("MainWindow", "Apply the X and Y fields to the current picture")},
        {"chooseImageFileButton",
         QT_TRANSLATE_NOOP("MainWindow", "Choose the .bin file the viewer reads")},
        {"viewImageButton", QT_TRANSLATE_NOOP("MainWindow",
                                              "Pick a picture of the .bin file's table and draw it "
                                              "onto the preview at X, Y")},
        {"cancelJobButton", QT_TRANSLATE_NOOP("MainWindow", "Stop the running download")},
    };
    for (const auto& [name, tip] : otherTips) {
        if (auto* button = findChild<QPushButton*>(QString::fromLatin1(name))) {
            texts_.Add("MainWindow", tip, [button](const QString& t) { button->setToolTip(t); });
        }
    }
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->toolTip().isEmpty()) {
            button->setToolTip(button->text());
        }
    }

    // The arrow keys in the list move the current picture with the selection.
    auto* keys = new NavigationKeys([this] { SelectCurrentFromView(); }, this);
    for (QAbstractItemView* view :
         std::initializer_list<QAbstractItemView*>{iconView_, listView_, reportView_}) {
        view->installEventFilter(keys);
    }

    // List changes made outside the commands (double-click, drop, drag on the preview).
    connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::RefreshStatus);
    connect(model_, &QAbstractItemModel::dataChanged, this, &MainWindow::RefreshStatus);
    connect(preview_, &LcdPreview::released, this, &MainWindow::RefreshStatus);

    BuildReflashActions();
    BuildMenus();
    BuildStatusBar();
    connect(styleBox_, &QComboBox::activated, this, [this] {
        userState_.SetListStyle(viewStyleIndex_);
        RefreshStatus();
    });
}

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    // The menus go before the ones the window already has (Help).
    QAction* before = bar->actions().isEmpty() ? nullptr : bar->actions().front();
    auto addMenu = [&](const char* title, const char* name) {
        auto* menu = new QMenu(bar);
        texts_.Add("MainWindow", title, [menu](const QString& t) { menu->setTitle(t); });
        menu->setObjectName(QString::fromLatin1(name));
        menu->setToolTipsVisible(true);
        bar->insertMenu(before, menu);
        return menu;
    };
    auto add = [this](QMenu* menu, const char* name) {
        menu->addAction(Action(QString::fromLatin1(name)));
    };

    QMenu* file = addMenu(QT_TRANSLATE_NOOP("MainWindow", "&File"), "fileMenu");
    add(file, "newProjectAction");
    add(file, "openProjectAction");
    recentMenu_ = file->addMenu(QString());
    texts_.Add("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "Open &recent"),
               [menu = recentMenu_](const QString& t) { menu->setTitle(t); });
    recentMenu_->setObjectName(QStringLiteral("recentMenu"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::FillRecentMenu);
    add(file, "saveProjectAction");
    add(file, "saveProjectAsAction");
    file->addSeparator();
    add(file, "importAction");
    add(file, "addTextAction");
    add(file, "addGlyphsAction");
    add(file, "convertAction");
    file->addSeparator();
    add(file, "quitAction");

    QMenu* edit = addMenu(QT_TRANSLATE_NOOP("MainWindow", "&Edit"), "editMenu");
    add(edit, "undoAction");
    add(edit, "redoAction");
    edit->addSeparator();
    for (const char* name : {"deleteAction", "removeAllAction", "sortAction", "moveUpAction",
                             "moveDownAction", "pictureOperationsAction", "editItemAction"}) {
        add(edit, name);
    }

    QMenu* device = addMenu(QT_TRANSLATE_NOOP("MainWindow", "&Device"), "deviceMenu");
    for (const char* name :
         {"openPortAction", "closePortAction", "connectAction", "downloadBinAction",
          "resourceDownloadAction", "lcdSettingsAction", "cancelJobAction"}) {
        add(device, name);
    }
    device->addSeparator();
    for (const char* name : {"eraseImageAction", "changesOnlyAction", "autoDownloadAction"}) {
        add(device, name);
    }

    QMenu* view = addMenu(QT_TRANSLATE_NOOP("MainWindow", "&View"), "viewMenu");
    auto* styles = new QActionGroup(this);
    const std::pair<const char*, const char*> styleNames[] = {
        {QT_TRANSLATE_NOOP("MainWindow", "&Icons"), "listIconAction"},
        {QT_TRANSLATE_NOOP("MainWindow", "&List"), "listRowsAction"},
        {QT_TRANSLATE_NOOP("MainWindow", "&Report"), "listReportAction"}};
    int styleIndex = 0;
    for (const auto& [text, name] : styleNames) {
        auto* action = view->addAction(QString());
        texts_.Add("MainWindow", text, [action](const QString& t) { action->setText(t); });
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setActionGroup(styles);
        actions_[action->objectName()] = action;
        connect(action, &QAction::triggered, this, [this, index = styleIndex] {
            styleBox_->setCurrentIndex(index);
            OnViewStyleChange();
            userState_.SetListStyle(viewStyleIndex_);
        });
        ++styleIndex;
    }
    QMenu* thumbnails = view->addMenu(QString());
    thumbnails->setObjectName(QStringLiteral("thumbnailMenu"));
    texts_.Add("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "&Thumbnail size"),
               [thumbnails](const QString& t) { thumbnails->setTitle(t); });
    auto* sizes = new QActionGroup(this);
    const std::pair<int, const char*> thumbnailSizes[] = {
        {48, QT_TRANSLATE_NOOP("MainWindow", "&Small")},
        {64, QT_TRANSLATE_NOOP("MainWindow", "&Medium")},
        {96, QT_TRANSLATE_NOOP("MainWindow", "&Large")}};
    for (const auto& [side, text] : thumbnailSizes) {
        auto* action = thumbnails->addAction(QString());
        texts_.Add("MainWindow", text, [action](const QString& t) { action->setText(t); });
        action->setObjectName(QStringLiteral("thumbnail%1Action").arg(side));
        action->setCheckable(true);
        action->setChecked(side == PictureListModel::kThumbnailSize);
        action->setActionGroup(sizes);
        actions_[action->objectName()] = action;
        connect(action, &QAction::triggered, this, [this, side = side] {
            SetThumbnailSize(side);
            styleBox_->setCurrentIndex(0);  // the size is the Icons view's: show it
            OnViewStyleChange();
            userState_.SetListStyle(viewStyleIndex_);
        });
    }
    view->addSeparator();
    auto* zooms = new QActionGroup(this);
    for (int zoom : {1, 2, 4}) {
        auto* action = view->addAction(QString());
        texts_.Add(
            "MainWindow",
            zoom == 1 ? QT_TRANSLATE_NOOP("MainWindow", "Preview &1x (real pixel size)")
                      : QT_TRANSLATE_NOOP("MainWindow", "Preview &%1x"),
            [action, zoom](const QString& t) { action->setText(zoom == 1 ? t : t.arg(zoom)); });
        action->setObjectName(QStringLiteral("zoom%1Action").arg(zoom));
        action->setCheckable(true);
        action->setChecked(zoom == 1);
        action->setActionGroup(zooms);
        actions_[action->objectName()] = action;
        connect(action, &QAction::triggered, this, [this, zoom] { SetPreviewZoom(zoom); });
    }
    view->addSeparator();
    auto* modes = new QActionGroup(this);
    for (const bool panel : {false, true}) {
        auto* action = view->addAction(QString());
        texts_.Add("MainWindow",
                   panel ? QT_TRANSLATE_NOOP("MainWindow", "As on the panel")
                         : QT_TRANSLATE_NOOP("MainWindow", "Source"),
                   [action](const QString& t) { action->setText(t); });
        action->setObjectName(panel ? QStringLiteral("previewPanelAction")
                                    : QStringLiteral("previewSourceAction"));
        action->setCheckable(true);
        action->setChecked(preview_->PanelTrue() == panel);
        action->setActionGroup(modes);
        actions_[action->objectName()] = action;
        connect(action, &QAction::triggered, this,
                [this, panel] { preview_->SetPanelTrue(panel); });
        connect(preview_, &LcdPreview::panelTrueChanged, action,
                [action, panel](bool on) { action->setChecked(on == panel); });
    }

    view->addSeparator();
    add(view, "memoryMapAction");
    view->addSeparator();
    BuildLanguageMenu(*view);

    QMenu* models = addMenu(QT_TRANSLATE_NOOP("MainWindow", "&Model"), "modelMenu");
    add(models, "configureModelsAction");

    // The model box sits in the menu bar's corner: no extra row of height.
    auto* corner = new QWidget;
    corner->setObjectName(QStringLiteral("modelCorner"));
    auto* cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(4, 0, 4, 0);
    auto* modelLabel = new QLabel;
    texts_.Add("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "型号"),
               [modelLabel](const QString& t) { modelLabel->setText(t); });
    cornerLayout->addWidget(modelLabel);
    modelBox_ = new QComboBox;
    modelBox_->setObjectName(QStringLiteral("modelBox"));
    texts_.Add("MainWindow",
               QT_TRANSLATE_NOOP("MainWindow", "The active model: choosing one applies it at once"),
               [box = modelBox_](const QString& t) { box->setStatusTip(t); });
    modelBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cornerLayout->addWidget(modelBox_);
    bar->setCornerWidget(corner, Qt::TopRightCorner);
    connect(modelBox_, &QComboBox::activated, this, [this](int index) { SwitchModel(index); });
}

void MainWindow::BuildStatusBar() {
    auto label = [this](const char* name) {
        auto* field = new QLabel;
        field->setObjectName(QString::fromLatin1(name));
        field->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        field->setContentsMargins(6, 0, 6, 0);
        statusBar()->addPermanentWidget(field);
        return field;
    };
    statusModel_ = label("statusModel");
    statusPanel_ = label("statusPanel");
    statusPort_ = label("statusPort");
    statusPictures_ = label("statusPictures");
}

void MainWindow::RefreshStatus() {
    if (statusModel_ == nullptr) {
        return;
    }
    statusModel_->setText(Translate("MainWindow", "Model: %1").arg(FromUtf8(profile_.modelName)));
    statusPanel_->setText(QStringLiteral("%1 x %2, %3")
                              .arg(profile_.panelWidth)
                              .arg(profile_.panelHeight)
                              .arg(DepthAndColourType(profile_)));
    QString port =
        Translate("MainWindow", "Port %1: %2")
            .arg(FromUtf8(portText_), link_.HasLine() ? Translate("MainWindow", "open")
                                                      : Translate("MainWindow", "closed"));
    if (link_.HasLine() && !connectionText_.empty()) {
        port += QStringLiteral(", ") + FromUtf8(connectionText_);
    }
    statusPort_->setText(port);
    QString count = pictures_.Size() == 1
                        ? Translate("MainWindow", "1 picture")
                        : Translate("MainWindow", "%1 pictures").arg(pictures_.Size());
    if (const auto* current = pictures_.Current()) {
        count +=
            Translate("MainWindow", ", current %1 x %2").arg(current->width).arg(current->height);
    }
    statusPictures_->setText(count);

    if (auto* style =
            Action(QStringList{QStringLiteral("listIconAction"), QStringLiteral("listRowsAction"),
                               QStringLiteral("listReportAction")}
                       .value(viewStyleIndex_))) {
        style->setChecked(true);
    }
    const QString name = projectPath_.isEmpty() ? Translate("MainWindow", "Untitled")
                                                : QFileInfo(projectPath_).fileName();
    setWindowTitle(QStringLiteral("%1[*] — %2").arg(name, QString::fromLatin1(kApplicationTitle)));
    setWindowModified(ListModified());
}

void MainWindow::FillModelBox() {
    if (modelBox_ == nullptr) {
        return;
    }
    const auto names = settings::ReadModelNames(settings::ProfileFile(settingsPath_));
    modelBox_->clear();
    // Whole names up to a width the menu bar can spare; a longer one is elided in
    // the middle (its start and end tell models apart) with the whole as its tip.
    const QFontMetrics metrics(modelBox_->font());
    const int widest = metrics.averageCharWidth() * kModelNameChars;
    for (const std::string& name : names) {
        const QString whole = FromUtf8(name);
        modelBox_->addItem(metrics.elidedText(whole, Qt::ElideMiddle, widest), whole);
        modelBox_->setItemData(modelBox_->count() - 1, whole, Qt::ToolTipRole);
    }
    modelBox_->setCurrentIndex(settings::FindModel(names, profile_.modelName).value_or(-1));
    modelBox_->setToolTip(modelBox_->currentData().toString());
}

void MainWindow::ApplyProfile() {
    preview_->SetProfile(profile_);
    FillModelBox();
    RefreshStatus();
}

bool MainWindow::SwitchModel(int index) {
    ListState before = CurrentListState();
    if (!ActivateModel(index)) {
        return false;
    }
    RecordListChange(QT_TRANSLATE_NOOP("ListChange", "Switch model"), std::move(before));
    return true;
}

bool MainWindow::ActivateModel(int index) {
    settings::ProfileFile file(settingsPath_);
    const settings::StartupProfile confirmed =
        settings::ConfirmStartupProfile(file, settings::WriteBack::Yes, index);
    if (!confirmed.confirmable) {
        ShowMessage(Translate("MainWindow",
                              "The model cannot be made active: it has no entry "
                              "in the settings file.")
                        .toStdString(),
                    MessageIcon::Exclamation);
        FillModelBox();
        return false;
    }
    profile_ = confirmed.profile;
    ApplyProfile();
    return true;
}

void MainWindow::OnConfigureModels() {
    // The dialog works on a copy: only its OK changes the active profile.
    settings::ModelProfile chosen = profile_;
    ConfigDialog dialog(chosen, settingsPath_, dialogs_, this);
    ListState before = CurrentListState();
    if (dialogs_.RunModal(dialog) == QDialog::Accepted) {
        profile_ = chosen;
    }
    // Models may have been saved or deleted even when the dialog was cancelled.
    ApplyProfile();
    RecordListChange(QT_TRANSLATE_NOOP("ListChange", "Switch model"), std::move(before));
}

void MainWindow::SetPreviewZoom(int zoom) {
    previewZoom_ = zoom;
    preview_->SetZoom(zoom);
    if (auto* action = Action(QStringLiteral("zoom%1Action").arg(preview_->Zoom()))) {
        action->setChecked(true);
    }
}

void MainWindow::SelectCurrentFromView() {
    const QAbstractItemView* view = CurrentView();
    const int row = view != nullptr ? view->currentIndex().row() : -1;
    if (row < 0 || row == pictures_.CurrentIndex()) {
        return;
    }
    SelectPicture(row);
    RefreshStatus();
}

void MainWindow::SelectCurrentFromList() {
    // After a move the view's current row follows the moved picture, so the next
    // arrow key starts from it.
    const int current = pictures_.CurrentIndex();
    if (current < 0) {
        return;
    }
    const QModelIndex index = model_->index(current, 0);
    reportView_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool MainWindow::ConfirmRemoval(int count) {
    const std::string text =
        count == 1 ? Translate("MainWindow", "Remove the picture from the list?").toStdString()
                   : FillPlaceholders(
                         Translate("MainWindow", "Remove %1 pictures from the list?").toStdString(),
                         {std::to_string(count)});
    return dialogs_.Ask(this, Message{text, "", MessageIcon::Exclamation},
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QString MainWindow::ImportFolder() const {
    QString configured = FromUtf8(
        settings::ProfileFile(settingsPath_)
            .GetString(kCommon, "DEFAULT_DIR_PATH", "", settings::ProfileFile::kWholeValue));
    if (!configured.isEmpty() && QFileInfo(configured).isDir()) {
        return configured;
    }
    QString last = userState_.LastFolder(UserState::Folder::Import);
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        return last;
    }
    return QString::fromStdString(startDirectory_.string());
}

void MainWindow::RestoreUserState() {
    const QByteArray geometry = userState_.Geometry();
    if (!geometry.isEmpty()) {
        restoreGeometry(geometry);
    } else {
        // The layout's own wish to start with; once shown, room for the panel.
        resize(sizeHint().expandedTo(minimumSizeHint()).boundedTo(FirstWindowLimit()));
        fitOnFirstShow_ = true;
    }
    for (QSplitter* splitter : findChildren<QSplitter*>()) {
        const QByteArray state = userState_.SplitterState(splitter->objectName());
        if (!splitter->objectName().isEmpty() && !state.isEmpty()) {
            splitter->restoreState(state);
        }
    }
    viewStyleIndex_ = userState_.ListStyle(viewStyleIndex_);
    styleBox_->setCurrentIndex(viewStyleIndex_);
    OnViewStyleChange();
}

QSize MainWindow::FirstWindowLimit() const {
    // The screen less a task bar and a title bar is the most the window takes.
    constexpr int kTitleBar = 30;
    constexpr int kTaskAndTitleBars = 90;
    const QScreen* shown = screen();
    const QRect whole = shown->geometry();
    const QRect available = shown->availableGeometry();
    return {std::min(available.width(), whole.width()),
            std::min(available.height() - kTitleBar, whole.height() - kTaskAndTitleBars)};
}

void MainWindow::FitFirstWindow() {
    // Shown with its layout done: the window grows by what the preview lacks for
    // the whole panel (as far as the screen allows), and the splitter gives the
    // preview's side the width it lacks.
    layout()->activate();
    auto* scroll = findChild<QScrollArea*>(QStringLiteral("lcdScroll"));
    const int frame = 2 * scroll->frameWidth();
    const QSize lacking =
        (preview_->sizeHint() - (scroll->size() - QSize(frame, frame))).expandedTo(QSize(0, 0));
    if (lacking.isNull()) {
        return;
    }
    resize((size() + lacking).boundedTo(FirstWindowLimit()));
    layout()->activate();
    QList<int> sizes = splitter_->sizes();
    if (sizes.size() == 2) {
        const int total = sizes[0] + sizes[1];
        const int shortBy = preview_->sizeHint().width() + frame - scroll->width();
        sizes[1] = std::min(sizes[1] + std::max(shortBy, 0), total);
        sizes[0] = total - sizes[1];
        splitter_->setSizes(sizes);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (fitOnFirstShow_) {
        fitOnFirstShow_ = false;
        FitFirstWindow();
    }
}

void MainWindow::SaveUserState() {
    userState_.SetGeometry(saveGeometry());
    for (QSplitter* splitter : findChildren<QSplitter*>()) {
        if (!splitter->objectName().isEmpty()) {
            userState_.SetSplitterState(splitter->objectName(), splitter->saveState());
        }
    }
    userState_.SetListStyle(viewStyleIndex_);
}

}  // namespace pictor::gui
