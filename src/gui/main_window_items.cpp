// The main window's picture operations and text items: the "Picture" dialog for
// the current and the selected pictures, "Add text..." and "Add glyphs...".
#include <QDialog>
#include <algorithm>
#include <memory>

#include "core/text/glyph_set.h"
#include "core/workspace/entry_pictures.h"
#include "gui/dialog_service.h"
#include "gui/lcd_preview.h"
#include "gui/main_window.h"
#include "gui/picture_operations_dialog.h"
#include "gui/text_item_dialog.h"
#include "gui/ui_language.h"

namespace pictor::gui {

void MainWindow::OnPictureOperations() {
    const int current = pictures_.CurrentIndex();
    if (current < 0) {
        ShowMessage(Translate("MainWindow", "请选择编辑对象...").toStdString(),
                    MessageIcon::Exclamation);
        return;
    }
    std::vector<int> rows = SelectedRows();
    if (std::find(rows.begin(), rows.end(), current) == rows.end()) {
        rows = {current};
    }
    const workspace::ImageEntry& entry = pictures_.At(static_cast<std::size_t>(current));
    std::shared_ptr<const workspace::PixelImage> source;
    if (std::optional<workspace::PixelImage> loaded = workspace::LoadEntrySource(entry)) {
        source = std::make_shared<const workspace::PixelImage>(std::move(*loaded));
    }
    PictureOperationsDialog dialog(source, entry.operations, static_cast<int>(rows.size()), this);
    if (dialogs_.RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    const workspace::PictureOperations operations = dialog.Operations();
    for (const int row : rows) {
        workspace::ImageEntry& picture = pictures_.At(static_cast<std::size_t>(row));
        Message why;
        const workspace::PixelImage* own = row == current ? source.get() : nullptr;
        if (!workspace::SetEntryOperations(picture, operations, &why, own)) {
            ShowMessage(LocalizeMessage(why, CoreTextLookUp()).text, MessageIcon::Exclamation);
        }
    }
    RebuildList();
    preview_->Redraw();
    SelectPicture(current);
    Push();
}

void MainWindow::OnAddText() {
    TextItemDialog dialog(TextItemDialog::Mode::Text, dialogs_, this);
    if (dialogs_.RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    AddTextItems({text::GlyphPicture{dialog.Name(), dialog.Style()}});
}

void MainWindow::OnAddGlyphs() {
    TextItemDialog dialog(TextItemDialog::Mode::Glyphs, dialogs_, this);
    if (dialogs_.RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    AddTextItems(dialog.GlyphSet());
}

void MainWindow::AddTextItems(const std::vector<text::GlyphPicture>& items) {
    for (const text::GlyphPicture& item : items) {
        std::optional<workspace::ImageEntry> entry =
            workspace::MakeTextEntry(item.text, item.name, {}, true, messages_);
        if (entry) {
            entry->bitmap.reset();  // the list keeps thumbnails; the preview draws the text
            pictures_.Append(std::move(*entry));
        }
    }
    // As after an import: the list in name order, its last picture current.
    pictures_.SortByName();
    RebuildList();
    preview_->Redraw();
    SelectPicture(pictures_.Empty() ? -1 : static_cast<int>(pictures_.Size()) - 1);
    Push();
}

}  // namespace pictor::gui
