#pragma once

#include <QDialog>
#include <QImage>
#include <optional>
#include <vector>

#include "core/text/glyph_set.h"
#include "core/text/text_picture.h"
#include "core/text/text_renderer.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace pictor::gui {

class DialogService;

/// "Add text..." and "Add glyphs...": a text picture (its name, text, font, size,
/// colours, alignment and anti-aliasing) or a glyph set (a name prefix and the
/// characters, one picture each), with a live preview drawn by the core's text
/// renderer. The font is a file, typed, chosen with "...", or one of the fonts the
/// system lists. OK is enabled only when the text draws; characters the font
/// lacks are named below the preview.
class TextItemDialog final : public QDialog {
    Q_OBJECT
  public:
    enum class Mode { Text, Glyphs };

    TextItemDialog(Mode mode, DialogService& dialogs, QWidget* parent = nullptr);

    /// The text (glyph set: the characters) and style the controls describe.
    [[nodiscard]] text::TextPicture Style() const;
    /// The picture's name (glyph set: the prefix of the names).
    [[nodiscard]] std::string Name() const;
    /// The glyph set the controls describe (Glyphs mode).
    [[nodiscard]] std::vector<text::GlyphPicture> GlyphSet() const;
    /// Uses the font file at `path` (as if typed).
    void SetFontPath(const QString& path);
    /// The preview as drawn (null when the text does not draw).
    [[nodiscard]] const QImage& PreviewImage() const { return preview_; }

  private:
    void Build();
    void FillSystemFonts();
    void ChooseFontFile();
    void ChooseColour(bool background);
    void Update();
    [[nodiscard]] std::optional<text::RenderedText> Render(const text::TextPicture& style);

    Mode mode_;
    DialogService& dialogs_;
    QImage preview_;
    std::uint32_t colour_ = 0xFFFFFF;
    std::uint32_t background_ = 0x000000;
    // The font last loaded, kept while its path stays the same.
    std::optional<text::Font> font_;
    QString fontPath_;
    Message fontError_;

    QLineEdit* nameEdit_ = nullptr;
    QPlainTextEdit* textEdit_ = nullptr;
    QComboBox* fontBox_ = nullptr;
    QSpinBox* sizeBox_ = nullptr;
    QPushButton* colourButton_ = nullptr;
    QCheckBox* transparentBox_ = nullptr;
    QPushButton* backgroundButton_ = nullptr;
    QComboBox* alignBox_ = nullptr;
    QCheckBox* antialiasBox_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

/// The outline fonts the system has, as (family, file) pairs sorted by family:
/// what `fc-list` lists on Linux, else the files of the system's font folder.
std::vector<std::pair<QString, QString>> SystemFonts();

}  // namespace pictor::gui
