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
#include "core/common/text_format.h"
#include "core/conversion/picture_decoder.h"
#include "gui/dialog_service.h"
#include "gui/lcd_preview.h"
#include "gui/main_window.h"
#include "gui/picture_images.h"
#include "gui/resource_viewer.h"
#include "gui/ui_language.h"

namespace pictor::gui {

void MainWindow::OnViewFromImageFile() {
    exchange_.Pull({fileNameEdit_});
    if (fileNameText_.empty()) {
        ShowMessage(Translate("MainWindow", " 请选择图片数据文件(*.bin)").toStdString(),
                    MessageIcon::Exclamation);
        return;
    }
    // Only a regular file is read, so a path naming a FIFO cannot block the window.
    const std::optional<RegularFile> file =
        RegularFile::Open(std::filesystem::path(fileNameText_), FileAccess::Read);
    if (!file) {
        ShowMessage(FillPlaceholders(Translate("MainWindow", "文件 %1不存在..").toStdString(),
                                     {fileNameText_}),
                    MessageIcon::Exclamation);
        return;
    }
    // Empty fields (no current picture) count as unknown: drawn at 0, 0, with the
    // size from the image or its Icon.h.
    for (const auto& [edit, value] :
         {std::pair{heightEdit_, &heightValue_}, std::pair{leftEdit_, &leftValue_},
          std::pair{topEdit_, &topValue_}, std::pair{widthEdit_, &widthValue_}}) {
        if (edit->text().trimmed().isEmpty()) {
            *value = 0;
        } else if (!exchange_.Pull({edit})) {
            return;
        }
    }
    // No module carries a flash this large: such a file is no resource image, and
    // reading it whole would only cost memory.
    constexpr std::uint64_t kLargestImage = std::uint64_t{256} << 20;
    if (file->Size() > kLargestImage) {
        ShowMessage(
            FillPlaceholders(
                Translate("MainWindow", "%1 is too large for a resource image.").toStdString(),
                {fileNameText_}),
            MessageIcon::Exclamation);
        return;
    }
    const std::optional<std::vector<std::uint8_t>> contents = file->ReadAll(kLargestImage);
    if (!contents) {
        ShowMessage(FillPlaceholders(Translate("MainWindow", "%1 could not be read.").toStdString(),
                                     {fileNameText_}),
                    MessageIcon::Exclamation);
        return;
    }
    const std::span<const std::uint8_t> image(*contents);
    std::vector<StoredPicture> stored = ListStoredPictures(image, profile_);
    // The symbols (and sizes) of an Icon.h beside the image name its pictures.
    const std::filesystem::path header =
        std::filesystem::path(fileNameText_).parent_path() / "Icon.h";
    if (const std::optional<RegularFile> headerFile = RegularFile::Open(header, FileAccess::Read)) {
        constexpr std::uint64_t kLargestHeader = std::uint64_t{16} << 20;
        if (const auto text = headerFile->ReadAll(kLargestHeader)) {
            AddHeaderSymbols(stored, std::string(text->begin(), text->end()), profile_.colorDepth);
        }
    }
    if (stored.empty()) {
        ShowMessage(FillPlaceholders(Translate("MainWindow",
                                               "%1 holds no pictures: it is shorter than its "
                                               "2048-byte table or the table is empty.")
                                         .toStdString(),
                                     {fileNameText_}),
                    MessageIcon::Exclamation);
        return;
    }
    // Without a known size the boxes start from the picture fields, else the panel.
    const conversion::PictureSize start =
        widthValue_ > 0 && heightValue_ > 0
            ? conversion::PictureSize{widthValue_, heightValue_}
            : conversion::PictureSize{profile_.panelWidth, profile_.panelHeight};
    StoredPictureDialog dialog(stored, profile_.saveWidthHeightToBin != 0, start, this);
    if (dialogs_.RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    const std::size_t index = dialog.Index();
    if (index >= stored.size()) {
        const std::string listed =
            stored.size() == 1
                ? Translate("MainWindow", "only picture 0").toStdString()
                : FillPlaceholders(Translate("MainWindow", "pictures 0 to %1").toStdString(),
                                   {std::to_string(stored.size() - 1)});
        ShowMessage(FillPlaceholders(
                        Translate("MainWindow", "There is no picture %1 in %2: its table lists %3.")
                            .toStdString(),
                        {std::to_string(index), fileNameText_, listed}),
                    MessageIcon::Exclamation);
        return;
    }
    std::optional<conversion::PictureSize> size;
    if (profile_.saveWidthHeightToBin == 0) {
        size = dialog.Size();
    }
    const conversion::DecodeResult decoded =
        conversion::DecodeStoredPicture(image, index, profile_, size, CoreTextLookUp());
    if (!decoded.ok) {
        ShowMessage(FillPlaceholders(
                        Translate("MainWindow",
                                  "Picture %1 of %2 cannot be shown with the active model: %3.")
                            .toStdString(),
                        {std::to_string(index), fileNameText_, decoded.error}),
                    MessageIcon::Exclamation);
        return;
    }
    preview_->DrawViewerImage(QPoint(leftValue_, topValue_), ToQImage(decoded.image));
}

}  // namespace pictor::gui
