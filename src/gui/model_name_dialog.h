#pragma once

#include <QDialog>
#include <string>

#include "gui/field_exchange.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pictor::gui {

class DialogService;

/// The small prompt for a new model's name (or a file path, with "..."). The
/// caller sets the members before running it; on OK `inputText` is not empty.
class ModelNameDialog final : public QDialog {
    Q_OBJECT
  public:
    ModelNameDialog(DialogService& dialogs, QWidget* parent = nullptr);

    std::string inputText;
    int optionChecked = 0;
    QString fileFilter;
    QString prompt;
    int optionEnabled = 0;
    QString optionCaption;
    int browseEnabled = 0;

    /// Applies the members to the controls; `RunModal` callers run it first.
    void InitDialog();
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void OnBrowse();

    DialogService& dialogs_;
    FieldExchange exchange_;
    QLabel* promptLabel_;
    QLineEdit* inputEdit_;
    QPushButton* browseButton_;
    QCheckBox* optionBox_;
    bool initialised_ = false;
};

}  // namespace pictor::gui
