// The main window's picture operations and text items: the "Picture" dialog for
// the current and the selected pictures, "Add text..." and "Add glyphs...". Each
// is one undoable change of the list; what went wrong is told in the message bar.
#include <QDialog>
#include <QStringList>
#include <algorithm>
#include <memory>

#include "core/text/glyph_set.h"
#include "core/workspace/entry_pictures.h"
#include "gui/dialog_service.h"
#include "gui/main_window.h"
#include "gui/picture_operations_dialog.h"
#include "gui/text_item_dialog.h"
#include "gui/ui_language.h"

namespace pictor::gui {

namespace {

// Keeps the messages of a change to tell them once it is done.
class CollectingSink final : public MessageSink {
  public:
    void Show(const Message& message) override {
        lines << QString::fromStdString(LocalizeMessage(message, CoreTextLookUp()).text);
    }
    QStringList lines;
};

}  // namespace

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
    CollectingSink refused;
    ChangeList(QT_TRANSLATE_NOOP("ListChange", "Picture operations"),
               [&](workspace::PictureList& list) {
                   for (const int row : rows) {
                       Message why;
                       const workspace::PixelImage* own = row == current ? source.get() : nullptr;
                       if (!workspace::SetEntryOperations(list.At(static_cast<std::size_t>(row)),
                                                          operations, &why, own)) {
                           refused.Show(why);
                       }
                   }
               });
    if (!refused.lines.isEmpty()) {
        PostResult(MessageBar::Kind::Warning, refused.lines.join(QLatin1Char('\n')),
                   refused.lines.front());
    }
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
    CollectingSink notes;
    ChangeList(QT_TRANSLATE_NOOP("ListChange", "Add text"), [&](workspace::PictureList& list) {
        for (const text::GlyphPicture& item : items) {
            std::optional<workspace::ImageEntry> entry =
                workspace::MakeTextEntry(item.text, item.name, {}, true, notes);
            if (entry) {
                entry->bitmap.reset();  // the list keeps thumbnails; the preview draws the text
                list.Append(std::move(*entry));
            }
        }
        // As after an import: the list in name order, its last picture current.
        list.SortByName();
        list.Select(static_cast<int>(list.Size()) - 1);
    });
    if (!notes.lines.isEmpty()) {
        // Characters the font lacks, or a text that did not draw.
        PostResult(MessageBar::Kind::Warning, notes.lines.join(QLatin1Char('\n')),
                   notes.lines.front());
    }
}

}  // namespace pictor::gui
