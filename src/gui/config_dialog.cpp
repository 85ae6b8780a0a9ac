#include "gui/config_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/common/text_format.h"
#include "core/settings/model_list.h"
#include "gui/control_tags.h"
#include "gui/dialog_service.h"
#include "gui/model_name_dialog.h"
#include "gui/picture_images.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

constexpr const char* kCommon = "COMMON";
constexpr const char* kNewEntry = "New";

QStringList ToQt(const std::vector<std::string>& texts) {
    QStringList list;
    for (const auto& text : texts) {
        list << QString::fromStdString(text);
    }
    return list;
}

// Texts the core marks for translation, in the interface language.
QStringList CoreTexts(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) {
        list << CoreText(text);
    }
    return list;
}

}  // namespace

ConfigDialog::ConfigDialog(settings::ModelProfile& profile, std::filesystem::path settingsPath,
                           DialogService& dialogs, QWidget* parent)
    : QDialog(parent),
      profile_(profile),
      file_(std::move(settingsPath)),
      dialogs_(dialogs),
      exchange_(dialogs, this) {
    setObjectName(QStringLiteral("ConfigDialog"));
    setWindowTitle(Translate("ConfigDialog", "Models — Pictor"));
    BuildLayout();
    BindFields();
    OnInitDialog();
}

void ConfigDialog::BuildLayout() {
    auto* title = Name(new QLabel(Translate("ConfigDialog", "彩色LCM图片下载工具")), "titleLabel");
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    auto* maker = Name(
        new QLabel(Translate("ConfigDialog", "Pictor · picture resources for colour LCD modules")),
        "makerLabel");
    maker->setAlignment(Qt::AlignCenter);

    modelList_ = Tag(new QComboBox, 1031, "modelList");
    lcdSize_ = Tag(new QComboBox, 1101, "lcdSizeBox");
    lcdSize_->setEditable(true);
    lcdSize_->addItems(ToQt(settings::LcdSizeListTexts()));
    width_ = Tag(new QLineEdit, 1037, "panelWidthEdit");
    height_ = Tag(new QLineEdit, 1038, "panelHeightEdit");
    depth_ = Tag(new QComboBox, 1069, "depthBox");
    colorType_ = Tag(new QComboBox, 1070, "colorTypeBox");

    auto* outputGroup = Name(new QGroupBox(Translate("ConfigDialog", "Output")), "outputGroup");
    outputBinary_ = Tag(
        new QRadioButton(Translate("ConfigDialog", "Binary file [*.bin] and Header file [*.h]")),
        1044, "outputBinaryRadio");
    outputSource_ =
        Tag(new QRadioButton(
                Translate("ConfigDialog",
                          "Source code with constant \"CBYTE\" array [*.c] and Header file [*.h]")),
            1045, "outputSourceRadio");
    sizeToBin_ =
        Tag(new QCheckBox(Translate(
                "ConfigDialog", "Append width and height info. to output file [*.bin] or [*.c]")),
            1046, "sizeToBinCheck");
    sizeToDefine_ = Tag(new QCheckBox(Translate(
                            "ConfigDialog", "Append width and height info. to Header file [*.h]")),
                        1047, "sizeToDefineCheck");
    leftTop_ = Tag(
        new QCheckBox(Translate("ConfigDialog", "Append left and top info. to Header file [*.h]")),
        1052, "leftTopCheck");
    auto* outputLayout = new QVBoxLayout(outputGroup);
    outputLayout->addWidget(outputBinary_);
    outputLayout->addWidget(outputSource_);
    outputLayout->addWidget(sizeToBin_);
    outputLayout->addWidget(sizeToDefine_);
    outputLayout->addWidget(leftTop_);

    allocationLabel_ = Tag(new QLabel(Translate("ConfigDialog", "Minimum allocate size (BYTE)")),
                           1041, "allocationLabel");
    allocation_ = Tag(new QComboBox, 1063, "allocationBox");
    avoidSector_ = Tag(new QCheckBox(Translate("ConfigDialog", "Avoid across sector")), 1043,
                       "avoidSectorCheck");
    block_ = Tag(new QComboBox, 1071, "blockBox");
    block_->addItems(ToQt(settings::BlockListTexts()));

    auto* directionGroup =
        Name(new QGroupBox(Translate("ConfigDialog", "Direction")), "directionGroup");
    horizontal_ = Tag(new QRadioButton(Translate("ConfigDialog", "Horizontal first")), 1077,
                      "horizontalRadio");
    vertical_ =
        Tag(new QRadioButton(Translate("ConfigDialog", "Vertical first")), 1078, "verticalRadio");
    auto* directionLayout = new QHBoxLayout(directionGroup);
    directionLayout->addWidget(horizontal_);
    directionLayout->addWidget(vertical_);

    editorPath_ = Tag(new QLineEdit, 1048, "editorPathEdit");
    editorPath_->setReadOnly(true);
    browseEditor_ = Tag(new QPushButton(QStringLiteral("..")), 1050, "browseEditorButton");
    swatch_ = Tag(new QLabel, 1067, "colorSwatch");
    swatch_->setMinimumSize(48, 22);
    swatch_->setFrameShape(QFrame::Box);
    swatch_->setAutoFillBackground(true);
    colorButton_ = Tag(new QPushButton(Translate("ConfigDialog", "Color")), 1068, "colorButton");
    dither_ = Name(new QComboBox, "ditherBox");
    dither_->addItems(CoreTexts(settings::DitherListTexts()));
    dither_->setToolTip(
        Translate("ConfigDialog",
                  "How grey levels and 565 colours are mixed to render shades between "
                  "them (24-bit keeps every colour)"));
    browseEditor_->setToolTip(Translate("ConfigDialog", "Choose the program that edits pictures"));
    colorButton_->setToolTip(
        Translate("ConfigDialog", "Choose the background colour of the preview"));

    saveButton_ = Tag(new QPushButton(Translate("ConfigDialog", "Save")), 1056, "saveButton");
    // Deletes the selected model after a confirmation (never the last one).
    deleteButton_ = Tag(new QPushButton(Translate("ConfigDialog", "Delete")), 1057, "deleteButton");
    deleteButton_->setToolTip(
        Translate("ConfigDialog", "Remove the selected model from the model list"));
    saveButton_->setToolTip(
        Translate("ConfigDialog", "Write the shown values into the selected model"));
    okButton_ = Tag(new QPushButton(Translate("ConfigDialog", "确定")), 1, "okButton");
    cancelButton_ = Tag(new QPushButton(Translate("ConfigDialog", "取消")), 1061, "cancelButton");
    okButton_->setToolTip(
        Translate("ConfigDialog", "Make the selected model active (its values are saved)"));
    cancelButton_->setToolTip(Translate("ConfigDialog", "Close without changing the active model"));
    okButton_->setDefault(true);
    for (QPushButton* button :
         {browseEditor_, colorButton_, saveButton_, deleteButton_, cancelButton_}) {
        button->setAutoDefault(false);
    }

    auto* form = new QGridLayout;
    int row = 0;
    form->addWidget(Name(new QLabel(Translate("ConfigDialog", "Model")), "modelLabel"), row, 0);
    form->addWidget(modelList_, row, 1, 1, 3);
    form->addWidget(saveButton_, row++, 4);
    form->addWidget(Tag(new QLabel(Translate("ConfigDialog", "LCD尺寸")), 1032, "lcdSizeLabel"),
                    row, 0);
    form->addWidget(lcdSize_, row, 1);
    form->addWidget(Name(new QLabel(Translate("ConfigDialog", "Width")), "widthLabel"), row, 2,
                    Qt::AlignRight);
    form->addWidget(width_, row++, 3);
    form->addWidget(Name(new QLabel(Translate("ConfigDialog", "Color depth")), "depthLabel"), row,
                    0);
    form->addWidget(depth_, row, 1);
    form->addWidget(Name(new QLabel(Translate("ConfigDialog", "Height")), "heightLabel"), row, 2,
                    Qt::AlignRight);
    form->addWidget(height_, row++, 3);
    form->addWidget(Name(new QLabel(Translate("ConfigDialog", "Color type")), "colorTypeLabel"),
                    row, 0);
    form->addWidget(colorType_, row++, 1);
    form->addWidget(outputGroup, row++, 0, 1, 5);
    form->addWidget(allocationLabel_, row, 0);
    form->addWidget(allocation_, row, 1);
    form->addWidget(avoidSector_, row++, 2, 1, 2);
    form->addWidget(
        Tag(new QLabel(Translate("ConfigDialog", "Block Column Number")), 1055, "blockLabel"), row,
        0);
    form->addWidget(block_, row, 1);
    form->addWidget(directionGroup, row++, 2, 1, 3);
    form->addWidget(
        Tag(new QLabel(Translate("ConfigDialog", "Editor Application:")), 1049, "editorLabel"), row,
        0);
    form->addWidget(editorPath_, row, 1, 1, 3);
    form->addWidget(browseEditor_, row++, 4);
    form->addWidget(Name(new QLabel(Translate("ConfigDialog", "Background")), "backgroundLabel"),
                    row, 0);
    form->addWidget(swatch_, row, 1);
    form->addWidget(colorButton_, row++, 2);
    form->addWidget(Name(new QLabel(Translate("ConfigDialog", "Dither")), "ditherLabel"), row, 0);
    form->addWidget(dither_, row++, 1);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(deleteButton_);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(maker);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(modelList_, &QComboBox::activated, this, [this] { OnModelChanged(); });
    connect(depth_, &QComboBox::activated, this, [this] { OnDepthChanged(); });
    connect(outputBinary_, &QRadioButton::clicked, this,
            [this] { EnableAllocationControls(true); });
    connect(outputSource_, &QRadioButton::clicked, this,
            [this] { EnableAllocationControls(false); });
    connect(browseEditor_, &QPushButton::clicked, this, &ConfigDialog::OnBrowseEditor);
    connect(colorButton_, &QPushButton::clicked, this, &ConfigDialog::OnChooseColor);
    connect(saveButton_, &QPushButton::clicked, this, &ConfigDialog::SaveProfile);
    connect(deleteButton_, &QPushButton::clicked, this, &ConfigDialog::OnDeleteModel);
    connect(okButton_, &QPushButton::clicked, this, &ConfigDialog::OnOk);
    // Width and Height show the panel the chosen "LCD尺寸" stands for, the size
    // the output and the preview use.
    connect(lcdSize_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        const settings::PanelSize panel = settings::PanelSizeFromLcdType(text.toStdString());
        form_.widthValue = static_cast<unsigned>(panel.width);
        form_.heightValue = static_cast<unsigned>(panel.height);
        exchange_.Push({width_, height_});
    });
    connect(cancelButton_, &QPushButton::clicked, this, &ConfigDialog::reject);
}

void ConfigDialog::BindFields() {
    exchange_.Text(editorPath_, form_.editorPath);
    exchange_.Unsigned(height_, form_.heightValue);
    exchange_.Unsigned(width_, form_.widthValue);
    exchange_.Check(sizeToBin_, form_.sizeToBinCheck);
    exchange_.Check(sizeToDefine_, form_.sizeToDefineCheck);
    exchange_.Check(avoidSector_, form_.avoidSectorCheck);
    exchange_.Check(leftTop_, form_.leftTopCheck);
    exchange_.Radio({outputBinary_, outputSource_}, form_.outputTypeIndex);
    exchange_.ComboIndex(allocation_, form_.allocationIndex);
    exchange_.ComboIndex(depth_, form_.depthIndex);
    exchange_.ComboIndex(colorType_, form_.colorTypeIndex);
    exchange_.Radio({horizontal_, vertical_}, form_.directionIndex);
    exchange_.ComboIndex(block_, form_.blockIndex);
    exchange_.ComboIndex(dither_, form_.ditherIndex);
    exchange_.ComboText(lcdSize_, form_.lcdSizeText);
}

void ConfigDialog::OnInitDialog() {
    exchange_.Push();
    depth_->addItems(ToQt(settings::DepthListTexts()));
    allocation_->addItems(CoreTexts(settings::AllocationListTexts()));

    profile_.settingsPath = file_.Path();
    if (!file_.Exists()) {
        dialogs_.ShowMessage(
            this, Message{Translate("ConfigDialog", "没有找到配置文件! ").toStdString(), "",
                          MessageIcon::Information});
    }
    form_.lcdSizeText =
        file_.GetString(kCommon, "LCD_TYPE", "", settings::ProfileFile::kWholeValue);

    const int count = file_.GetInt(kCommon, "MODEL_COUNT", 0);
    for (int i = 0; i < count; ++i) {
        modelList_->addItem(QString::fromStdString(
            file_.GetString(kCommon, "MODEL_NAME" + std::to_string(i), "Load Error",
                            settings::ProfileFile::kWholeValue)));
    }
    modelList_->addItem(QString::fromLatin1(kNewEntry));

    int current = file_.GetInt(kCommon, "CURRENT_MODE", 0);
    if (current < 0 || current >= modelList_->count()) {
        // An index that names no entry cannot be confirmed: start with "New".
        current = modelList_->count() - 1;
    }
    modelList_->setCurrentIndex(current);
    EnableEditing(NewSelected());
    LoadProfile(current);
    ShowProfile();
    exchange_.Push();
}

bool ConfigDialog::NewSelected() const {
    return modelList_->currentIndex() == modelList_->count() - 1;
}

void ConfigDialog::LoadProfile(int index) {
    const std::string section = modelList_->itemText(index).toStdString();
    auto settingsPath = profile_.settingsPath;
    profile_ = settings::LoadModelProfile(file_, section, form_.lcdSizeText);
    profile_.settingsPath = std::move(settingsPath);
}

void ConfigDialog::ShowProfile() {
    settings::ShowProfile(profile_, form_);
    EnableAllocationControls(profile_.outDataType == 0);
    PaintSwatch();
    FillColorTypeList(form_.colorTypeIndex);
}

void ConfigDialog::FillColorTypeList(int selection) {
    colorType_->clear();
    colorType_->addItems(ToQt(settings::ColorTypeListTexts(form_.depthIndex)));
    colorType_->setCurrentIndex(selection >= 0 && selection < colorType_->count() ? selection : -1);
}

void ConfigDialog::CollectProfile(settings::WriteBack writeBack) {
    settings::CollectProfile(form_, modelList_->currentText().toStdString(), profile_, file_,
                             writeBack);
}

void ConfigDialog::EnableEditing(bool newSelected) {
    // Every model can be edited and saved; only an existing model can be confirmed,
    // and deleted while another one remains.
    saveButton_->setEnabled(true);
    deleteButton_->setEnabled(!newSelected && modelList_->count() > 2);
    for (QWidget* control : std::initializer_list<QWidget*>{
             browseEditor_, outputBinary_, outputSource_, swatch_, colorButton_, horizontal_,
             vertical_, depth_, colorType_, width_, height_, block_, allocation_, avoidSector_,
             sizeToDefine_, leftTop_, sizeToBin_, allocationLabel_, dither_}) {
        control->setEnabled(true);
    }
    okButton_->setEnabled(!newSelected);
}

void ConfigDialog::EnableAllocationControls(bool on) {
    allocationLabel_->setEnabled(on);
    allocation_->setEnabled(on);
    avoidSector_->setEnabled(on);
}

void ConfigDialog::OnModelChanged() {
    EnableEditing(NewSelected());
    LoadProfile(modelList_->currentIndex());
    ShowProfile();
    exchange_.Push();
}

void ConfigDialog::OnDepthChanged() {
    exchange_.Pull();
    // The refilled list selects its first entry; the member follows, so the
    // refresh below keeps that selection.
    form_.colorTypeIndex = 0;
    FillColorTypeList(0);
    exchange_.Push();
}

void ConfigDialog::OnBrowseEditor() {
    exchange_.Pull();
    const QString path = dialogs_.GetOpenFileName(
        this, FileRequest{Translate("ConfigDialog", "Choose the picture editor"),
                          {},
                          Translate("ConfigDialog", "All Files(*);;Execute file(*.exe)"),
                          {}});
    if (!path.isEmpty()) {
        form_.editorPath = path.toStdString();
        exchange_.Push();
    }
}

void ConfigDialog::OnChooseColor() {
    if (const auto colour = dialogs_.ChooseColor(this)) {
        profile_.bkColor = ToWindowsRgb(*colour);
        PaintSwatch();
    }
}

void ConfigDialog::PaintSwatch() {
    QPalette palette = swatch_->palette();
    palette.setColor(QPalette::Window, FromWindowsRgb(profile_.bkColor));
    palette.setColor(QPalette::Disabled, QPalette::Window, FromWindowsRgb(profile_.bkColor));
    swatch_->setPalette(palette);
    swatch_->update();
}

void ConfigDialog::SaveProfile() {
    exchange_.Pull();
    // A regenerated level table is written only on OK: a cancelled name prompt
    // leaves the file untouched.
    CollectProfile(settings::WriteBack::No);

    const int selected = modelList_->currentIndex();
    if (NewSelected()) {
        ModelNameDialog nameDialog(dialogs_, this);
        nameDialog.prompt = Translate("ConfigDialog", "Input the new model name");
        nameDialog.fileFilter = Translate("ConfigDialog", "Binary file(*.bin);;All file(*)");
        nameDialog.InitDialog();
        if (dialogs_.RunModal(nameDialog) != QDialog::Accepted) {
            return;
        }
        if (const auto problem =
                settings::ModelNameProblem(nameDialog.inputText, CoreTextLookUp())) {
            dialogs_.ShowMessage(this, Message{*problem, "", MessageIcon::Exclamation});
            return;
        }
        modelList_->insertItem(
            selected, QString::fromStdString(settings::CleanModelName(nameDialog.inputText)));
        modelList_->setCurrentIndex(selected);
        exchange_.Push();
        EnableEditing(false);
    }

    const std::string name = modelList_->itemText(selected).toStdString();
    // A name the file could not give back (edge blanks, brackets) would lose
    // the model's settings: it is refused rather than written.
    if (const auto problem = settings::ModelNameProblem(name, CoreTextLookUp());
        problem || settings::CleanModelName(name) != name) {
        dialogs_.ShowMessage(
            this,
            Message{problem.value_or(Translate("ConfigDialog",
                                               "The model name has blanks at its ends; rename it.")
                                         .toStdString()),
                    "", MessageIcon::Exclamation});
        return;
    }
    file_.WriteInt(kCommon, "MODEL_COUNT", modelList_->count() - 1);
    file_.WriteInt(kCommon, "CURRENT_MODE", selected);
    file_.WriteString(kCommon, "MODEL_NAME" + std::to_string(selected), name);
    file_.WriteString(kCommon, "EXT_EDIT_EXE", profile_.extEditExe);
    settings::WriteModelSection(file_, name, profile_);
}

void ConfigDialog::OnDeleteModel() {
    const int selected = modelList_->currentIndex();
    if (NewSelected() || modelList_->count() <= 2) {
        return;
    }
    const std::string name = modelList_->itemText(selected).toStdString();
    const auto answer = dialogs_.Ask(
        this,
        Message{FillPlaceholders(Translate("ConfigDialog",
                                           "Delete the model \"%1\"? It leaves the model list; "
                                           "its section stays in the settings file.")
                                     .toStdString(),
                                 {name}),
                "", MessageIcon::Exclamation},
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return;
    }
    if (!settings::DeleteModel(file_, selected)) {
        dialogs_.ShowMessage(
            this, Message{FillPlaceholders(Translate("ConfigDialog",
                                                     "The settings file could not be written: %1")
                                               .toStdString(),
                                           {file_.Path().string()}),
                          "", MessageIcon::Exclamation});
        return;
    }
    modelList_->removeItem(selected);
    const int current = file_.GetInt(kCommon, "CURRENT_MODE", 0);
    modelList_->setCurrentIndex(std::clamp(current, 0, modelList_->count() - 1));
    OnModelChanged();
}

void ConfigDialog::OnOk() {
    SaveProfile();
    CollectProfile(settings::WriteBack::Yes);
    file_.WriteInt(kCommon, "CURRENT_MODE", modelList_->currentIndex());
    file_.WriteString(kCommon, "LCD_TYPE", form_.lcdSizeText);
    const settings::PanelSize panel = settings::PanelSizeFromLcdType(form_.lcdSizeText);
    profile_.panelWidth = panel.width;
    profile_.panelHeight = panel.height;
    profile_.pixelsPerByte = settings::PixelsPerByte(profile_.colorDepth);
    if (!exchange_.Pull()) {
        return;
    }
    accept();
}

}  // namespace pictor::gui
