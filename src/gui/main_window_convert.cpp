#include "gui/main_window.h"

namespace pictor::gui {

// The conversion is wired here when the core's convert operation is available.
void MainWindow::OnConvert() {}

}  // namespace pictor::gui
