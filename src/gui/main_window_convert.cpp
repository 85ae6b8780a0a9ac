#include "core/conversion/convert_operation.h"
#include "gui/main_window.h"

namespace pictor::gui {

// The convert button: the core conversion writes Icon.bin (or Icon.c) and Icon.h
// into the project's output folder (the directory current at start-up without one), sorts the list
// and shows its outcome.
void MainWindow::OnConvert() {
    if (pictures_.Empty()) {
        return;
    }
    conversion::ConvertOptions options;
    options.outputDir = OutputDirectory();
    conversion::Convert(pictures_, profile_, options, messages_);
    RebuildList();
    SelectPicture(pictures_.Empty() ? -1 : 0);
    Push();
}

}  // namespace pictor::gui
