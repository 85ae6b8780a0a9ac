#pragma once

#include <QComboBox>
#include <string>
#include <utility>
#include <vector>

namespace pictor::gui {

/// The editable serial-port box: its entries are the ports present, shown with
/// their descriptions in the drop-down list, while the box's text is the port
/// alone. Any text can be typed ("COM3", "/dev/ttyUSB0").
class PortBox final : public QComboBox {
    Q_OBJECT
  public:
    explicit PortBox(QWidget* parent = nullptr);

    /// Replaces the entries with `ports` (path, description); the text is kept.
    void SetPorts(const std::vector<std::pair<std::string, std::string>>& ports);
};

}  // namespace pictor::gui
