#pragma once

#include <QDialog>
#include <filesystem>

#include "core/settings/model_profile.h"
#include "core/settings/profile_file.h"
#include "core/settings/startup_profile.h"
#include "gui/field_exchange.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace pictor::gui {

class DialogService;

/// The configuration dialog: chooses, shows, edits, creates, deletes and
/// activates a model profile. Ends with OK after writing the settings and completing
/// `profile`; ends with cancel without writing anything.
class ConfigDialog final : public QDialog {
    Q_OBJECT
  public:
    ConfigDialog(settings::ModelProfile& profile, std::filesystem::path settingsPath,
                 DialogService& dialogs, QWidget* parent = nullptr);

    /// The form's current values (what the controls were last pulled into).
    [[nodiscard]] const settings::ProfileForm& Form() const { return form_; }

    void OnModelChanged();
    void OnDepthChanged();
    void OnBrowseEditor();
    void OnChooseColor();
    void SaveProfile();
    /// Deletes the selected model after a confirmation; the last model stays.
    void OnDeleteModel();
    void OnOk();

  private:
    void BuildLayout();
    void BindFields();
    void OnInitDialog();
    void LoadProfile(int index);
    void ShowProfile();
    void FillColorTypeList(int selection);
    void CollectProfile(settings::WriteBack writeBack);
    void EnableEditing(bool newSelected);
    void EnableAllocationControls(bool on);
    void PaintSwatch();
    [[nodiscard]] bool NewSelected() const;

    settings::ModelProfile& profile_;
    settings::ProfileFile file_;
    DialogService& dialogs_;
    FieldExchange exchange_;
    settings::ProfileForm form_;

    QComboBox* modelList_;
    QComboBox* lcdSize_;
    QLineEdit* width_;
    QLineEdit* height_;
    QComboBox* depth_;
    QComboBox* colorType_;
    QRadioButton* outputBinary_;
    QRadioButton* outputSource_;
    QCheckBox* sizeToBin_;
    QCheckBox* sizeToDefine_;
    QCheckBox* leftTop_;
    QLabel* allocationLabel_;
    QComboBox* allocation_;
    QCheckBox* avoidSector_;
    QComboBox* block_;
    QRadioButton* horizontal_;
    QRadioButton* vertical_;
    QLineEdit* editorPath_;
    QPushButton* browseEditor_;
    QLabel* swatch_;
    QPushButton* colorButton_;
    QComboBox* dither_;
    QPushButton* saveButton_;
    QPushButton* deleteButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

}  // namespace pictor::gui
