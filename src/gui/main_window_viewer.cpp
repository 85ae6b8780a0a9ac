// The resource image viewer: draws one picture of an `Icon.bin`, picked from the
// image's table and decoded with the active model, onto the LCD preview.
#include <QLineEdit>
#include <QPoint>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/common/regular_file.h"
#include "core/conversion/picture_decoder.h"
#include "gui/dialog_service.h"
#include "gui/lcd_preview.h"
#include "gui/main_window.h"
#include "gui/picture_images.h"
#include "gui/resource_viewer.h"

namespace pictor::gui {

void MainWindow::OnViewFromImageFile() {
    exchange_.Pull({fileNameEdit_});
    if (fileNameText_.empty()) {
        ShowMessage(" 请选择图片数据文件(*.bin)", MessageIcon::Exclamation);
        return;
    }
    // Only a regular file is read, so a path naming a FIFO cannot block the window.
    const std::optional<RegularFile> file =
        RegularFile::Open(std::filesystem::path(fileNameText_), FileAccess::Read);
    if (!file) {
        ShowMessage("文件 " + fileNameText_ + "不存在..", MessageIcon::Exclamation);
        return;
    }
    if (!exchange_.Pull({heightEdit_, leftEdit_, topEdit_, widthEdit_})) {
        return;
    }
    // No module carries a flash this large: such a file is no resource image, and
    // reading it whole would only cost memory.
    constexpr std::uint64_t kLargestImage = std::uint64_t{256} << 20;
    if (file->Size() > kLargestImage) {
        ShowMessage(fileNameText_ + " is too large for a resource image.",
                    MessageIcon::Exclamation);
        return;
    }
    const std::optional<std::vector<std::uint8_t>> contents = file->ReadAll(kLargestImage);
    if (!contents) {
        ShowMessage(fileNameText_ + " could not be read.", MessageIcon::Exclamation);
        return;
    }
    const std::span<const std::uint8_t> image(*contents);
    const std::vector<StoredPicture> stored = ListStoredPictures(image, profile_);
    if (stored.empty()) {
        ShowMessage(fileNameText_ +
                        " holds no pictures: it is shorter than its 2048-byte table or the "
                        "table is empty.",
                    MessageIcon::Exclamation);
        return;
    }
    StoredPictureDialog dialog(stored, profile_.saveWidthHeightToBin != 0,
                               conversion::PictureSize{widthValue_, heightValue_}, this);
    if (dialogs_.RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    const std::size_t index = dialog.Index();
    if (index >= stored.size()) {
        const std::string listed = stored.size() == 1
                                       ? std::string("only picture 0")
                                       : "pictures 0 to " + std::to_string(stored.size() - 1);
        ShowMessage("There is no picture " + std::to_string(index) + " in " + fileNameText_ +
                        ": its table lists " + listed + ".",
                    MessageIcon::Exclamation);
        return;
    }
    std::optional<conversion::PictureSize> size;
    if (profile_.saveWidthHeightToBin == 0) {
        size = dialog.Size();
    }
    const conversion::DecodeResult decoded =
        conversion::DecodeStoredPicture(image, index, profile_, size);
    if (!decoded.ok) {
        ShowMessage("Picture " + std::to_string(index) + " of " + fileNameText_ +
                        " cannot be shown with the active model: " + decoded.error + ".",
                    MessageIcon::Exclamation);
        return;
    }
    preview_->DrawViewerImage(QPoint(leftValue_, topValue_), ToQImage(decoded.image));
}

}  // namespace pictor::gui
