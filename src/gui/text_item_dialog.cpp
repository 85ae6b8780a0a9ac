#include "gui/text_item_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>

#include "core/common/regular_file.h"
#include "gui/dialog_service.h"
#include "gui/picture_operations_dialog.h"
#include "gui/ui_language.h"

namespace pictor::gui {

namespace {

constexpr int kPreviewWidth = 360;
constexpr int kPreviewHeight = 160;
constexpr int kGlyphGap = 2;  // pixels between the glyphs of a set in the preview
constexpr int kFontListMs = 5000;

std::uint32_t RgbOf(const QColor& colour) {
    return (static_cast<std::uint32_t>(colour.red()) << 16) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           static_cast<std::uint32_t>(colour.blue());
}

void PaintSwatch(QPushButton* button, std::uint32_t rgb) {
    QPixmap swatch(24, 16);
    swatch.fill(QColor::fromRgb(static_cast<QRgb>(rgb)));
    button->setIcon(swatch);
}

bool IsFontFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("ttf") || suffix == QLatin1String("ttc") ||
           suffix == QLatin1String("otf");
}

}  // namespace

std::vector<std::pair<QString, QString>> SystemFonts() {
    std::vector<std::pair<QString, QString>> fonts;
    QProcess list;
    list.start(QStringLiteral("fc-list"), {QStringLiteral(":outline=true"),
                                           QStringLiteral("--format=%{family[0]}|%{file}\\n")});
    if (list.waitForFinished(kFontListMs) && list.exitStatus() == QProcess::NormalExit) {
        for (const QString& line : QString::fromUtf8(list.readAllStandardOutput()).split('\n')) {
            const qsizetype bar = line.lastIndexOf(QLatin1Char('|'));
            if (bar > 0 && IsFontFile(line.mid(bar + 1))) {
                fonts.emplace_back(line.left(bar), line.mid(bar + 1));
            }
        }
    } else {
        list.kill();
        list.waitForFinished();
        // Without fontconfig: the files of the system's font folders.
        for (const QString& folder :
             QStandardPaths::standardLocations(QStandardPaths::FontsLocation)) {
            for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
                if (IsFontFile(file.filePath())) {
                    fonts.emplace_back(file.completeBaseName(), file.filePath());
                }
            }
        }
    }
    std::sort(fonts.begin(), fonts.end());
    return fonts;
}

TextItemDialog::TextItemDialog(Mode mode, DialogService& dialogs, QWidget* parent)
    : QDialog(parent), mode_(mode), dialogs_(dialogs) {
    setObjectName(QStringLiteral("textItemDialog"));
    setWindowTitle(mode == Mode::Text ? Translate("TextItemDialog", "Add text")
                                      : Translate("TextItemDialog", "Add glyphs"));
    Build();
    FillSystemFonts();
    Update();
}

void TextItemDialog::Build() {
    auto* form = new QFormLayout;
    nameEdit_ =
        new QLineEdit(mode_ == Mode::Text ? QStringLiteral("text") : QStringLiteral("digit"));
    nameEdit_->setObjectName(QStringLiteral("nameEdit"));
    form->addRow(mode_ == Mode::Text
                     ? Translate("TextItemDialog", "Name (its symbol in Icon.h)")
                     : Translate("TextItemDialog", "Name prefix (prefix_<code point>)"),
                 nameEdit_);
    textEdit_ =
        new QPlainTextEdit(mode_ == Mode::Text ? QString() : QStringLiteral("0123456789:.-"));
    textEdit_->setObjectName(QStringLiteral("textEdit"));
    textEdit_->setMaximumHeight(80);
    form->addRow(mode_ == Mode::Text ? Translate("TextItemDialog", "Text")
                                     : Translate("TextItemDialog", "Characters (one picture each)"),
                 textEdit_);

    fontBox_ = new QComboBox;
    fontBox_->setObjectName(QStringLiteral("fontBox"));
    fontBox_->setEditable(true);
    fontBox_->setMinimumContentsLength(30);
    auto* chooseFont = new QPushButton(QStringLiteral("..."));
    chooseFont->setObjectName(QStringLiteral("fontFileButton"));
    chooseFont->setToolTip(Translate("TextItemDialog", "Choose a font file"));
    auto* font = new QHBoxLayout;
    font->addWidget(fontBox_, 1);
    font->addWidget(chooseFont);
    form->addRow(Translate("TextItemDialog", "Font"), font);

    sizeBox_ = new QSpinBox;
    sizeBox_->setObjectName(QStringLiteral("sizeBox"));
    sizeBox_->setRange(text::kMinTextSize, text::kMaxTextSize);
    sizeBox_->setValue(16);
    sizeBox_->setSuffix(Translate("TextItemDialog", " pixels"));
    form->addRow(Translate("TextItemDialog", "Size (line height)"), sizeBox_);

    colourButton_ = new QPushButton(Translate("TextItemDialog", "Colour..."));
    colourButton_->setObjectName(QStringLiteral("colorButton"));
    transparentBox_ = new QCheckBox(Translate("TextItemDialog", "Transparent background"));
    transparentBox_->setObjectName(QStringLiteral("transparentBox"));
    transparentBox_->setChecked(true);
    backgroundButton_ = new QPushButton(Translate("TextItemDialog", "Background..."));
    backgroundButton_->setObjectName(QStringLiteral("backgroundButton"));
    auto* colours = new QHBoxLayout;
    colours->addWidget(colourButton_);
    colours->addWidget(transparentBox_);
    colours->addWidget(backgroundButton_);
    form->addRow(Translate("TextItemDialog", "Colours"), colours);

    alignBox_ = new QComboBox;
    alignBox_->setObjectName(QStringLiteral("alignBox"));
    alignBox_->addItems({Translate("TextItemDialog", "Left"), Translate("TextItemDialog", "Centre"),
                         Translate("TextItemDialog", "Right")});
    form->addRow(Translate("TextItemDialog", "Alignment of the lines"), alignBox_);
    antialiasBox_ =
        new QCheckBox(Translate("TextItemDialog", "Anti-aliasing (off: crisp 1-bit glyphs)"));
    antialiasBox_->setObjectName(QStringLiteral("antialiasBox"));
    antialiasBox_->setChecked(true);
    form->addRow(antialiasBox_);

    previewLabel_ = new QLabel;
    previewLabel_->setObjectName(QStringLiteral("previewLabel"));
    previewLabel_->setMinimumSize(kPreviewWidth, kPreviewHeight);
    previewLabel_->setAlignment(Qt::AlignCenter);
    statusLabel_ = new QLabel;
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setWordWrap(true);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(previewLabel_);
    layout->addWidget(statusLabel_);
    layout->addWidget(buttons_);

    PaintSwatch(colourButton_, colour_);
    PaintSwatch(backgroundButton_, background_);
    const auto update = [this] { Update(); };
    connect(nameEdit_, &QLineEdit::textChanged, this, update);
    connect(textEdit_, &QPlainTextEdit::textChanged, this, update);
    connect(fontBox_, &QComboBox::currentTextChanged, this, update);
    connect(sizeBox_, &QSpinBox::valueChanged, this, update);
    connect(transparentBox_, &QCheckBox::toggled, this, update);
    connect(alignBox_, &QComboBox::currentIndexChanged, this, update);
    connect(antialiasBox_, &QCheckBox::toggled, this, update);
    connect(chooseFont, &QPushButton::clicked, this, [this] { ChooseFontFile(); });
    connect(colourButton_, &QPushButton::clicked, this, [this] { ChooseColour(false); });
    connect(backgroundButton_, &QPushButton::clicked, this, [this] { ChooseColour(true); });
}

void TextItemDialog::FillSystemFonts() {
    for (const auto& [family, file] : SystemFonts()) {
        fontBox_->addItem(QStringLiteral("%1 — %2").arg(family, file), file);
    }
}

void TextItemDialog::SetFontPath(const QString& path) {
    fontBox_->setEditText(path);
    Update();
}

void TextItemDialog::ChooseFontFile() {
    const QString path = dialogs_.GetOpenFileName(
        this, FileRequest{Translate("TextItemDialog", "Choose a font"),
                          QFileInfo(fontPath_).absolutePath(),
                          Translate("TextItemDialog", "Fonts (*.ttf *.ttc *.otf);;All files (*)"),
                          QStringLiteral("ttf")});
    if (!path.isEmpty()) {
        SetFontPath(path);
    }
}

void TextItemDialog::ChooseColour(bool background) {
    if (const std::optional<QColor> chosen = dialogs_.ChooseColor(this)) {
        (background ? background_ : colour_) = RgbOf(*chosen);
        if (background) {
            transparentBox_->setChecked(false);
        }
        PaintSwatch(background ? backgroundButton_ : colourButton_, RgbOf(*chosen));
        Update();
    }
}

text::TextPicture TextItemDialog::Style() const {
    text::TextPicture style;
    style.text = textEdit_->toPlainText().toStdString();
    // A system font's entry holds its file; anything typed is a file name.
    const int index = fontBox_->findText(fontBox_->currentText());
    const QString file =
        index >= 0 ? fontBox_->itemData(index).toString() : fontBox_->currentText().trimmed();
    style.font = PathFromUtf8(file.toStdString());
    style.size = sizeBox_->value();
    style.color = colour_;
    if (!transparentBox_->isChecked()) {
        style.background = background_;
    }
    style.align = static_cast<text::TextAlign>(alignBox_->currentIndex());
    style.antialias = antialiasBox_->isChecked();
    return style;
}

std::string TextItemDialog::Name() const {
    return nameEdit_->text().trimmed().toStdString();
}

std::vector<text::GlyphPicture> TextItemDialog::GlyphSet() const {
    const text::TextPicture style = Style();
    return text::MakeGlyphSet(style, style.text, Name());
}

std::optional<text::RenderedText> TextItemDialog::Render(const text::TextPicture& style) {
    const QString path = QString::fromStdString(Utf8FromPath(style.font));
    if (path != fontPath_) {
        fontPath_ = path;
        font_ = text::Font::Load(style.font, &fontError_);
    }
    if (!font_) {
        return std::nullopt;
    }
    return text::RenderText(style, *font_);
}

void TextItemDialog::Update() {
    backgroundButton_->setEnabled(!transparentBox_->isChecked());
    const text::TextPicture style = Style();
    preview_ = QImage();
    QString status;
    std::vector<char32_t> missing;
    bool draws = !Name().empty();
    std::vector<text::TextPicture> texts;
    if (mode_ == Mode::Text) {
        texts.push_back(style);
    } else {
        for (const text::GlyphPicture& glyph : GlyphSet()) {
            texts.push_back(glyph.text);
        }
        draws = draws && !texts.empty();
    }
    std::vector<QImage> images;
    for (const text::TextPicture& one : texts) {
        const std::optional<text::RenderedText> rendered = Render(one);
        if (!rendered) {
            status = QString::fromStdString(LocalizeMessage(fontError_, CoreTextLookUp()).text);
            draws = false;
            break;
        }
        if (!rendered->ok) {
            status =
                QString::fromStdString(LocalizeMessage(rendered->error, CoreTextLookUp()).text);
            draws = false;
            break;
        }
        for (const char32_t c : rendered->missing) {
            if (std::find(missing.begin(), missing.end(), c) == missing.end()) {
                missing.push_back(c);
            }
        }
        images.push_back(ToPreviewImage(rendered->image));
    }
    if (draws && !images.empty()) {
        // A glyph set side by side: their common height shows.
        int width = -kGlyphGap;
        for (const QImage& image : images) {
            width += image.width() + kGlyphGap;
        }
        preview_ = QImage(width, images.front().height(), QImage::Format_ARGB32);
        preview_.fill(Qt::transparent);
        QPainter painter(&preview_);
        int x = 0;
        for (const QImage& image : images) {
            painter.drawImage(x, 0, image);
            x += image.width() + kGlyphGap;
        }
        painter.end();
        status = Translate("TextItemDialog", "%1 x %2 pixels")
                     .arg(images.front().width())
                     .arg(images.front().height());
        if (mode_ == Mode::Glyphs) {
            status = Translate("TextItemDialog", "%1 pictures, %2 pixels high")
                         .arg(images.size())
                         .arg(preview_.height());
        }
        if (!missing.empty()) {
            status +=
                QLatin1Char('\n') +
                QString::fromStdString(
                    LocalizeMessage(text::MissingGlyphsMessage(style, missing), CoreTextLookUp())
                        .text);
        }
    }
    QPixmap shown = QPixmap::fromImage(preview_);
    if (!shown.isNull() && (shown.width() > kPreviewWidth || shown.height() > kPreviewHeight)) {
        shown = shown.scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    }
    previewLabel_->setPixmap(shown);
    statusLabel_->setText(status);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(draws);
}

}  // namespace pictor::gui
