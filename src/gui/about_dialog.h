#pragma once

#include <QDialog>

namespace pictor::gui {

/// The About box: caption "Pictor", the version and a revision note; OK and
/// Escape close it.
class AboutDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace pictor::gui
