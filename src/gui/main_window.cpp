#include "gui/main_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>
#include <array>

#include "core/common/text_format.h"
#include "core/device/port_enumeration.h"
#include "gui/about_dialog.h"
#include "gui/app_icon.h"
#include "gui/config_dialog.h"
#include "gui/control_tags.h"
#include "gui/dialog_service.h"
#include "gui/lcd_preview.h"
#include "gui/memory_map_dialog.h"
#include "gui/message_bar.h"
#include "gui/picture_list_model.h"
#include "gui/port_box.h"
#include "gui/translated_texts.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

// Buttons and labels carry texts of context "MainWindow" that follow the language.
QPushButton* Button(TranslatedTexts& texts, const char* text, int id, const char* name) {
    auto* button = Tag(new QPushButton, id, name);
    texts.Add("MainWindow", text, [button](const QString& t) { button->setText(t); });
    button->setAutoDefault(false);
    return button;
}

QLabel* Label(TranslatedTexts& texts, const char* text, int id, const char* name) {
    auto* label = new QLabel;
    texts.Add("MainWindow", text, [label](const QString& t) { label->setText(t); });
    return id != 0 ? Tag(label, id, name) : Name(label, name);
}

QGroupBox* Group(TranslatedTexts& texts, const char* title) {
    auto* group = new QGroupBox;
    texts.Add("MainWindow", title, [group](const QString& t) { group->setTitle(t); });
    return group;
}

// The preview's scroll area asks for the whole panel at its zoom (a plain scroll
// area caps its wish at a few dozen lines of text); it still shrinks to its
// minimum and scrolls on a small screen.
class PanelScrollArea final : public QScrollArea {
  public:
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget() != nullptr ? widget()->sizeHint() + QSize(frame, frame)
                                   : QScrollArea::sizeHint();
    }
};

// The thumbnails of the Report and List rows, in pixels.
constexpr int kRowThumbnail = 32;

QLineEdit* Edit(int id, const char* name, int width = 64) {
    auto* edit = Tag(new QLineEdit, id, name);
    edit->setMaximumWidth(width);
    return edit;
}

}  // namespace

MainWindow::MainWindow(std::filesystem::path settingsPath, DialogService& dialogs, QWidget* parent,
                       std::unique_ptr<device::Pauser> pauser)
    : QMainWindow(parent),
      settingsPath_(std::move(settingsPath)),
      dialogs_(dialogs),
      scom_(settings::ReadScomSettings(settings::ProfileFile(settingsPath_))),
      messages_(dialogs, this),
      exchange_(dialogs, this),
      progress_([this](int percent) { progressBar_->setValue(percent); },
                [this](std::string text) {
                    jobStatus_ = std::move(text);
                    ShowJobStatus();
                }),
      link_(device::DeviceStateFromSettings(scom_), std::move(pauser)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setWindowIcon(AppIcon());
    portText_ = scom_.portText;
    baudText_ = scom_.baudText;
    BuildLayout();
    BindFields();
    BuildActions();
}

MainWindow::~MainWindow() {
    // The stack is a child: its clearing on the way out must not reach a window
    // that is half gone.
    if (undoStack_ != nullptr) {
        undoStack_->blockSignals(true);
    }
    // A job waiting in a message is released; the link then cancels and waits for it.
    messages_.Close();
    link_.Cancel();
    // Hidden now, while the picture list is alive: QWidget's own destructor hides
    // a visible window after the members are gone, and hiding lets the list views
    // ask the model for sizes, which reads the picture list.
    hide();
}

void MainWindow::BuildLayout() {
    auto* helpMenu = menuBar()->addMenu(QString());
    texts_.Add("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "帮助(&H)"),
               [helpMenu](const QString& t) { helpMenu->setTitle(t); });
    auto* about = helpMenu->addAction(QString());
    texts_.Add("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "关于 Pictor(&A)..."),
               [about](const QString& t) { about->setText(t); });
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, &MainWindow::OnAbout);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &MainWindow::close);

    auto* central = new QWidget;
    // The list and the right-hand side share the width as the user drags the
    // splitter; neither side can be squeezed away.
    splitter_ = Name(new QSplitter(Qt::Horizontal), "mainSplitter");
    splitter_->addWidget(BuildListPane());
    splitter_->addWidget(BuildPreviewPane());
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 2);

    progressBar_ = Tag(new QProgressBar, 1099, "progressBar");
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    percentLabel_ = Tag(new QLabel, 1100, "percentLabel");
    percentLabel_->setMinimumWidth(160);
    ShowJobStatus();
    cancelJobButton_ =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "取消下载"), 1125, "cancelJobButton");
    cancelJobButton_->setEnabled(false);
    connect(cancelJobButton_, &QPushButton::clicked, this, &MainWindow::OnCancelJob);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progressBar_, 1);
    progressRow->addWidget(percentLabel_);
    progressRow->addWidget(cancelJobButton_);

    messageBar_ = new MessageBar;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(messageBar_);
    layout->addWidget(splitter_, 1);
    layout->addLayout(progressRow);
    setCentralWidget(central);
}

QWidget* MainWindow::BuildListPane() {
    model_ = new PictureListModel(pictures_, this);
    connect(model_, &PictureListModel::shownToggleRequested, this,
            [this](int row) { ToggleShown(row); });

    reportView_ = Tag(new QTreeView, 1000, "pictureList");
    reportView_->setRootIsDecorated(false);
    reportView_->setUniformRowHeights(true);
    // Rows of 32 px in Report and List; the Icons view's size is chosen in View.
    reportView_->setIconSize(QSize(kRowThumbnail, kRowThumbnail));
    reportView_->setModel(model_);
    reportView_->header()->setDefaultAlignment(Qt::AlignCenter);
    reportView_->header()->setStretchLastSection(false);
    reportView_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    reportView_->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    reportView_->header()->resizeSection(1, 80);
    reportView_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    iconView_ = Name(new QListView, "pictureIcons");
    iconView_->setViewMode(QListView::IconMode);
    iconView_->setMovement(QListView::Static);
    iconView_->setResizeMode(QListView::Adjust);
    SetThumbnailSize(PictureListModel::kThumbnailSize);
    // List: compact rows in several columns, unlike Report's one column with a header.
    listView_ = Name(new QListView, "pictureRows");
    listView_->setViewMode(QListView::ListMode);
    listView_->setFlow(QListView::TopToBottom);
    listView_->setWrapping(true);
    listView_->setResizeMode(QListView::Adjust);
    listView_->setUniformItemSizes(true);
    listView_->setIconSize(QSize(kRowThumbnail, kRowThumbnail));
    for (QListView* view : {iconView_, listView_}) {
        view->setModel(model_);
        view->setSelectionModel(reportView_->selectionModel());
    }

    views_ = Name(new QStackedWidget, "pictureViews");
    for (QAbstractItemView* view :
         std::initializer_list<QAbstractItemView*>{iconView_, listView_, reportView_}) {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->viewport()->installEventFilter(this);
        view->installEventFilter(this);  // Space toggles the current picture
        view->viewport()->setAcceptDrops(true);
        connect(view, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex& index) { OnListDoubleClick(index.row()); });
        views_->addWidget(view);
    }
    views_->setCurrentWidget(reportView_);

    styleBox_ = Tag(new QComboBox, 1005, "viewStyleBox");
    styleBox_->addItems({QString(), QString(), QString()});
    const std::array<const char*, 3> styles = {QT_TRANSLATE_NOOP("MainWindow", "图标"),
                                               QT_TRANSLATE_NOOP("MainWindow", "列表"),
                                               QT_TRANSLATE_NOOP("MainWindow", "详细信息")};
    for (int i = 0; i < 3; ++i) {
        texts_.Add("MainWindow", styles[static_cast<std::size_t>(i)],
                   [box = styleBox_, i](const QString& t) { box->setItemText(i, t); });
    }
    connect(styleBox_, &QComboBox::activated, this, [this] { OnViewStyleChange(); });

    auto* styleRow = new QHBoxLayout;
    styleRow->addWidget(
        Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "显示方式"), 0, "viewStyleLabel"));
    styleRow->addWidget(styleBox_);
    styleRow->addStretch(1);

    auto* import =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "导入BMP文件"), 1001, "importButton");
    auto* remove =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "删除BMP文件"), 1002, "deleteButton");
    auto* removeAll =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "全部删除"), 1004, "removeAllButton");
    auto* sort = Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "按名称排序"), 1024, "sortButton");
    auto* up = Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "上移"), 1028, "upButton");
    auto* down = Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "下移"), 1029, "downButton");
    auto* edit =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "编辑图片"), 1064, "editItemButton");
    auto* convert =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "BMP转档"), 1021, "convertButton");
    auto* memoryMap = Name(new QPushButton, "memoryMapButton");
    texts_.Add("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "存储布局"),
               [memoryMap](const QString& t) { memoryMap->setText(t); });
    memoryMap_ = new MemoryMapDialog(this);
    connect(import, &QPushButton::clicked, this, &MainWindow::OnImportPictures);
    connect(remove, &QPushButton::clicked, this, &MainWindow::OnDeletePictures);
    connect(removeAll, &QPushButton::clicked, this, &MainWindow::OnRemoveAll);
    connect(sort, &QPushButton::clicked, this, &MainWindow::OnSortByName);
    connect(up, &QPushButton::clicked, this, &MainWindow::OnMoveUp);
    connect(down, &QPushButton::clicked, this, &MainWindow::OnMoveDown);
    connect(edit, &QPushButton::clicked, this, &MainWindow::OnEditItem);
    connect(convert, &QPushButton::clicked, this, &MainWindow::OnConvert);
    connect(memoryMap, &QPushButton::clicked, this, &MainWindow::OnMemoryMap);

    auto* buttons = new QGridLayout;
    int column = 0;
    for (QPushButton* button : {import, remove, removeAll, sort}) {
        buttons->addWidget(button, 0, column++);
    }
    column = 0;
    for (QPushButton* button : {up, down, edit, convert, memoryMap}) {
        buttons->addWidget(button, 1, column++);
    }

    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(views_, 1);
    layout->addLayout(styleRow);
    layout->addLayout(buttons);
    layout->addWidget(BuildDevicePane());
    return pane;
}

QWidget* MainWindow::BuildPreviewPane() {
    preview_ = Tag(new LcdPreview(pictures_), 1003, "lcdSurface");
    connect(preview_, &LcdPreview::pressed, this, &MainWindow::OnPreviewMouseDown);
    connect(preview_, &LcdPreview::moved, this, &MainWindow::OnPreviewMouseMove);
    connect(preview_, &LcdPreview::released, this, &MainWindow::OnPreviewMouseUp);
    auto* scroll = Name(new PanelScrollArea, "lcdScroll");
    scroll->setWidget(preview_);
    scroll->setAlignment(Qt::AlignCenter);
    // Small enough for a laptop screen; the panel scrolls inside it.
    scroll->setMinimumSize(200, 120);

    indexEdit_ = Edit(1022, "indexEdit");
    indexEdit_->setReadOnly(true);
    widthEdit_ = Edit(1010, "widthEdit");
    heightEdit_ = Edit(1011, "heightEdit");
    leftEdit_ = Edit(1012, "leftEdit");
    topEdit_ = Edit(1013, "topEdit");
    auto* refresh =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "刷新显示"), 1014, "refreshButton");
    connect(refresh, &QPushButton::clicked, this, &MainWindow::OnRefreshDisplay);
    // Enter in X or Y applies them, as the refresh button does.
    connect(leftEdit_, &QLineEdit::returnPressed, this, &MainWindow::OnRefreshDisplay);
    connect(topEdit_, &QLineEdit::returnPressed, this, &MainWindow::OnRefreshDisplay);

    auto* fields = new QGridLayout;
    fields->addWidget(
        Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "图片索引"), 1023, "indexLabel"), 0, 0);
    fields->addWidget(indexEdit_, 0, 1);
    fields->addWidget(
        Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "图片宽度"), 1017, "widthLabel"), 0, 2);
    fields->addWidget(widthEdit_, 0, 3);
    fields->addWidget(
        Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "图片高度"), 1018, "heightLabel"), 0, 4);
    fields->addWidget(heightEdit_, 0, 5);
    fields->addWidget(Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "X坐标"), 1020, "leftLabel"), 1,
                      0);
    fields->addWidget(leftEdit_, 1, 1);
    fields->addWidget(Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "Y坐标"), 1019, "topLabel"), 1,
                      2);
    fields->addWidget(topEdit_, 1, 3);
    fields->addWidget(refresh, 1, 4, 1, 2);

    auto* previewGroup =
        Tag(Group(texts_, QT_TRANSLATE_NOOP("MainWindow", "模拟LCD屏幕")), 1030, "lcdGroup");
    auto* previewLayout = new QVBoxLayout(previewGroup);
    previewLayout->addWidget(scroll, 1);
    previewLayout->addWidget(preview_->CreateModeSwitch());
    previewLayout->addLayout(fields);

    // The viewer: one picture of a resource image, picked from its table, drawn
    // onto the surface.
    fileNameEdit_ = Tag(new QLineEdit, 1015, "fileNameEdit");
    auto* choose =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "..."), 1075, "chooseImageFileButton");
    auto* view = Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "从bin文件查看图片"), 1072,
                        "viewImageButton");
    connect(choose, &QPushButton::clicked, this, &MainWindow::OnChooseImageFile);
    connect(view, &QPushButton::clicked, this, &MainWindow::OnViewFromImageFile);
    auto* viewerGroup =
        Name(Group(texts_, QT_TRANSLATE_NOOP("MainWindow", "从bin文件查看")), "viewerGroup");
    auto* viewer = new QGridLayout(viewerGroup);
    viewer->addWidget(
        Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "文件名"), 1016, "fileNameLabel"), 0, 0);
    viewer->addWidget(fileNameEdit_, 0, 1);
    viewer->addWidget(choose, 0, 2);
    viewer->addWidget(view, 0, 3);
    viewer->setColumnStretch(1, 1);

    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(previewGroup, 1);
    layout->addWidget(viewerGroup);
    return pane;
}

// The serial line, the module and the downloads: below the list, so the right
// side's height goes to the preview.
QWidget* MainWindow::BuildDevicePane() {
    baudBox_ = Tag(new QComboBox, 1090, "baudBox");
    baudBox_->setEditable(true);
    baudBox_->addItem(QStringLiteral("256000"));
    portBox_ = Tag(new PortBox, 1091, "portBox");
    portBox_->setMinimumContentsLength(12);
    openPortButton_ =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "打开串口"), 1087, "openPortButton");
    closePortButton_ =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "关闭串口"), 1088, "closePortButton");
    connectButton_ =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "连接设备"), 1086, "connectButton");
    connectionEdit_ = Edit(1094, "connectionEdit", 96);
    connectionEdit_->setReadOnly(true);
    flashTypeBox_ = Tag(new QComboBox, 1103, "flashTypeBox");
    for (std::string_view text : settings::kFlashTypeTexts) {
        flashTypeBox_->addItem(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    }
    auto* serialGroup = Name(Group(texts_, QT_TRANSLATE_NOOP("MainWindow", "串口")), "serialGroup");
    auto* serial = new QGridLayout(serialGroup);
    serial->addWidget(Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "波特率"), 0, "baudLabel"), 0,
                      0);
    serial->addWidget(baudBox_, 0, 1);
    serial->addWidget(openPortButton_, 0, 2);
    serial->addWidget(Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "串口号"), 0, "portLabel"), 1,
                      0);
    serial->addWidget(portBox_, 1, 1);
    serial->addWidget(closePortButton_, 1, 2);
    serial->addWidget(connectButton_, 2, 0);
    serial->addWidget(connectionEdit_, 2, 1);
    serial->addWidget(
        Label(texts_, QT_TRANSLATE_NOOP("MainWindow", "Flash 容量"), 0, "flashTypeLabel"), 3, 0);
    serial->addWidget(flashTypeBox_, 3, 1);
    serial->setColumnStretch(1, 1);

    connect(openPortButton_, &QPushButton::clicked, this, &MainWindow::OnOpenPort);
    connect(closePortButton_, &QPushButton::clicked, this, &MainWindow::OnClosePort);
    connect(connectButton_, &QPushButton::clicked, this, &MainWindow::OnConnect);
    connect(flashTypeBox_, &QComboBox::activated, this, [this] { OnFlashTypeChanged(); });

    resourceButton_ =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "资源下载"), 1117, "resourceDownloadButton");
    downloadBinButton_ =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "下载bin档"), 1098, "downloadBinButton");
    lcdSettingsButton_ =
        Button(texts_, QT_TRANSLATE_NOOP("MainWindow", "LCD设置"), 1105, "lcdSettingsButton");
    connect(resourceButton_, &QPushButton::clicked, this, &MainWindow::OnResourceDownload);
    connect(downloadBinButton_, &QPushButton::clicked, this, &MainWindow::OnDownloadBin);
    connect(lcdSettingsButton_, &QPushButton::clicked, this, &MainWindow::OnLcdSettings);
    auto* downloads = new QHBoxLayout;
    downloads->addWidget(resourceButton_);
    downloads->addWidget(downloadBinButton_);
    downloads->addWidget(lcdSettingsButton_);

    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(serialGroup);
    layout->addLayout(downloads);
    return pane;
}

void MainWindow::BindFields() {
    exchange_.ComboIndex(styleBox_, viewStyleIndex_);
    exchange_.Int(indexEdit_, indexValue_, std::pair{0, 65535});
    exchange_.Text(fileNameEdit_, fileNameText_);
    exchange_.Int(heightEdit_, heightValue_, std::pair{0, 1280});
    exchange_.Int(leftEdit_, leftValue_, std::pair{-1280, 1280});
    exchange_.Int(topEdit_, topValue_, std::pair{-1280, 1280});
    exchange_.Int(widthEdit_, widthValue_, std::pair{0, 1280});
    exchange_.Text(connectionEdit_, connectionText_);
    exchange_.ComboText(portBox_, portText_);
    exchange_.ComboText(baudBox_, baudText_);
}

void MainWindow::Push() {
    exchange_.Push();
    // Without a current picture its fields show nothing, not zeros.
    if (pictures_.CurrentIndex() < 0) {
        ClearPictureFields();
    }
    RefreshStatus();
}

bool MainWindow::Pull() {
    return exchange_.Pull();
}

bool MainWindow::Start() {
    ConfigDialog dialog(profile_, settingsPath_, dialogs_, this);
    if (dialogs_.RunModal(dialog) != QDialog::Accepted) {
        return false;
    }
    InitDialog();
    RestoreUserState();
    ApplyProfile();
    MarkSaved();
    return true;
}

void MainWindow::InitDialog() {
    std::vector<std::pair<std::string, std::string>> ports;
    for (const device::PortInfo& port : device::ListSerialPorts()) {
        ports.emplace_back(port.path, port.description);
    }
    portBox_->SetPorts(ports);
    startDirectory_ = std::filesystem::current_path();
    RebuildList();
    viewStyleIndex_ = 2;
    views_->setCurrentWidget(reportView_);
    dragging_ = false;
    preview_->SetPanel(profile_.panelWidth, profile_.panelHeight, profile_.bkColor);
    closePortButton_->setEnabled(false);
    ShowFlashType();
    Push();
    // The saved port is shown as it is: the list's first entry that merely begins
    // with it ("/dev/ttyUSB10" for a vanished "/dev/ttyUSB1") is another device.
    if (portBox_->currentText() != QString::fromStdString(portText_)) {
        portBox_->setCurrentIndex(-1);
        portBox_->setEditText(QString::fromStdString(portText_));
    }
    // No current picture yet: its fields start empty.
    SelectPicture(-1);
}

void MainWindow::SetThumbnailSize(int side) {
    iconView_->setIconSize(QSize(side, side));
    iconView_->setGridSize(QSize(side + 24, side + 28));
    if (auto* action = Action(QStringLiteral("thumbnail%1Action").arg(side))) {
        action->setChecked(true);
    }
}

void MainWindow::OnViewStyleChange() {
    exchange_.Pull({styleBox_});
    switch (viewStyleIndex_) {
        case 0:
            views_->setCurrentWidget(iconView_);
            break;
        case 1:
            views_->setCurrentWidget(listView_);
            break;
        case 2:
            views_->setCurrentWidget(reportView_);
            break;
        default:
            break;
    }
}

void MainWindow::OnAbout() {
    AboutDialog dialog(this);
    dialogs_.RunModal(dialog);
}

QAbstractItemView* MainWindow::CurrentView() const {
    return qobject_cast<QAbstractItemView*>(views_->currentWidget());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Space in the list draws or hides the current picture, wherever the view's
    // cursor cell is (only the first column holds the tick).
    if (event->type() == QEvent::KeyPress && watched == CurrentView() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        const QModelIndex current = CurrentView()->currentIndex();
        if (current.isValid()) {
            SelectPicture(current.row());
            ToggleShown(current.row());
        }
        return true;
    }
    // A click anywhere in the list, also on empty space, takes the first selected
    // row as the current picture once the view has updated its selection.
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QMetaObject::invokeMethod(
            this, [this] { OnListClick(); }, Qt::QueuedConnection);
        return QMainWindow::eventFilter(watched, event);
    }
    // Picture files dropped onto the list are imported like chosen ones.
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData()->hasUrls()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        QStringList paths;
        for (const QUrl& url : drop->mimeData()->urls()) {
            if (url.isLocalFile()) {
                paths << url.toLocalFile();
            }
        }
        if (!paths.isEmpty()) {
            drop->acceptProposedAction();
            // Imported once the drop has been answered: the import runs the event
            // loop while it loads, which must not happen inside the drag and drop.
            QMetaObject::invokeMethod(
                this, [this, paths] { ImportPaths(paths); }, Qt::QueuedConnection);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // An import in progress is ended with its own Cancel; the list it fills is
    // not asked about half-built.
    if (importRunning_) {
        event->ignore();
        return;
    }
    if (!ConfirmCloseWhileJobRuns()) {
        event->ignore();
        return;
    }
    // A changed list is saved, dropped or kept open as the user says.
    if (!ConfirmDiscardList()) {
        event->ignore();
        return;
    }
    SaveUserState();
    // A job waiting in a message must not hold the window's end.
    messages_.Close();
    QMainWindow::closeEvent(event);
}

bool MainWindow::ConfirmCloseWhileJobRuns() {
    if (!link_.IsRunning()) {
        return true;
    }
    const auto answer = dialogs_.Ask(
        this,
        Message{Translate("MainWindow", "A download is running. Cancel it and quit?").toStdString(),
                "", MessageIcon::Exclamation},
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return false;
    }
    link_.Cancel();
    WaitForJobEnd();
    return true;
}

void MainWindow::WaitForJobEnd() {
    // The job may wait in one of its messages, which is shown on this thread: keep
    // the events flowing (without user input) until it has ended. Cancelled, it
    // stops at its next exchange, each of which has a bounded time-out.
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [this, &loop] {
        if (!link_.IsRunning()) {
            loop.quit();
        }
    });
    poll.start(20);
    if (link_.IsRunning()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    link_.Wait();
    // The job's end report was queued before it let go of the line: show it now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

void MainWindow::ShowMessage(const std::string& text, MessageIcon icon,
                             const std::string& caption) {
    dialogs_.ShowMessage(this, Message{text, caption, icon});
}

void MainWindow::PostResult(MessageBar::Kind kind, const QString& text, const QString& status,
                            std::vector<MessageBar::Action> actions) {
    messageBar_->Post(kind, text, std::move(actions));
    statusBar()->showMessage(status);
}

void MainWindow::ShowJobStatus() {
    // The core's status text in the language of the moment; "Ready" between jobs.
    percentLabel_->setText(jobStatus_.empty() ? Translate("MainWindow", "Ready")
                                              : LocalizeCoreStatus(jobStatus_));
}

void MainWindow::BuildLanguageMenu(QMenu& viewMenu) {
    QMenu* languageMenu = viewMenu.addMenu(QString());
    languageMenu->setObjectName(QStringLiteral("languageMenu"));
    texts_.Add("MainWindow", QT_TRANSLATE_NOOP("MainWindow", "语言(&L)"),
               [languageMenu](const QString& t) { languageMenu->setTitle(t); });
    auto* group = new QActionGroup(languageMenu);
    // Each language is named in its own language, so it can be found in either.
    const std::array<std::pair<UiLanguage, const char*>, 2> languages = {
        std::pair{UiLanguage::Chinese, "中文"}, std::pair{UiLanguage::English, "English"}};
    for (const auto& [language, name] : languages) {
        QAction* action = languageMenu->addAction(QString::fromUtf8(name));
        action->setObjectName(QStringLiteral("language_") + UiLanguageCode(language));
        action->setCheckable(true);
        action->setChecked(language == InstalledUiLanguage());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, language = language] {
            userState_.SetLanguage(UiLanguageCode(language));
            InstallUiLanguage(language);
            // At once, not only when Qt delivers its language-change event.
            texts_.Apply();
        });
    }
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        texts_.Apply();
        ShowUndoTexts();
        ShowJobStatus();
        ShowConnectionState();
        RefreshStatus();  // the status bar and the title are made of texts too
        emit model_->headerDataChanged(Qt::Horizontal, 0, model_->columnCount() - 1);
    }
    QMainWindow::changeEvent(event);
}

}  // namespace pictor::gui
