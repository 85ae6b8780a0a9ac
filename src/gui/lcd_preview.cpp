#include "gui/lcd_preview.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <cmath>

#include "core/conversion/panel_preview.h"
#include "core/conversion/picture_profile.h"
#include "core/workspace/picture_list.h"
#include "gui/picture_images.h"
#include "gui/ui_language.h"

namespace pictor::gui {

LcdPreview::LcdPreview(const workspace::PictureList& pictures, QWidget* parent)
    : QWidget(parent), pictures_(pictures) {
    // Moves are reported while no button is held too: a drag ends only at a release.
    setMouseTracking(true);
    SetPanel(panelWidth_, panelHeight_, 0);
}

void LcdPreview::SetPanel(int width, int height, std::uint32_t bkColor) {
    panelWidth_ = std::max(width, 1);
    panelHeight_ = std::max(height, 1);
    background_ = FromWindowsRgb(bkColor);
    setFixedSize(panelWidth_ * zoom_, panelHeight_ * zoom_);
    Redraw();
}

void LcdPreview::SetProfile(const settings::ModelProfile& profile) {
    if (profile != profile_) {
        profile_ = profile;
        for (auto& [picture, copies] : copies_) {
            copies.panel.reset();
        }
        const std::uint32_t shown = conversion::PanelBackground(profile_);
        panelBackground_ = QColor::fromRgb(shown);
    }
    if (!modeChosen_) {
        ApplyMode(profile_.colorDepth < 16);
    }
    SetPanel(profile_.panelWidth, profile_.panelHeight, profile_.bkColor);
}

void LcdPreview::SetPanelTrue(bool on) {
    modeChosen_ = true;
    ApplyMode(on);
}

void LcdPreview::ApplyMode(bool on) {
    if (on == panelTrue_) {
        return;
    }
    panelTrue_ = on;
    update();
    emit panelTrueChanged(on);
}

QWidget* LcdPreview::CreateModeSwitch() {
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("previewModeSwitch"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* source = new QRadioButton;
    source->setObjectName(QStringLiteral("previewSourceButton"));
    auto* panel = new QRadioButton;
    panel->setObjectName(QStringLiteral("previewPanelButton"));
    // The buttons live in the window next to the surface; QPointer guards them.
    const auto text = [this](QRadioButton* button, const char* label, const char* tip) {
        texts_.Add("LcdPreview", label, [b = QPointer<QRadioButton>(button)](const QString& t) {
            if (b) {
                b->setText(t);
            }
        });
        texts_.Add("LcdPreview", tip, [b = QPointer<QRadioButton>(button)](const QString& t) {
            if (b) {
                b->setToolTip(t);
            }
        });
    };
    text(source, QT_TRANSLATE_NOOP("LcdPreview", "Source"),
         QT_TRANSLATE_NOOP("LcdPreview", "Draw the pictures as they were loaded"));
    text(panel, QT_TRANSLATE_NOOP("LcdPreview", "As on the panel"),
         QT_TRANSLATE_NOOP("LcdPreview",
                           "Draw the pictures as the module shows them with the active model"));
    auto* group = new QButtonGroup(row);
    group->addButton(source);
    group->addButton(panel);
    (panelTrue_ ? panel : source)->setChecked(true);
    layout->addWidget(source);
    layout->addWidget(panel);
    layout->addStretch(1);
    // Clicks are the user's choice; a mode that follows the profile only moves the check.
    connect(source, &QRadioButton::clicked, this, [this] { SetPanelTrue(false); });
    connect(panel, &QRadioButton::clicked, this, [this] { SetPanelTrue(true); });
    connect(this, &LcdPreview::panelTrueChanged, row,
            [source, panel](bool on) { (on ? panel : source)->setChecked(true); });
    return row;
}

void LcdPreview::SetZoom(int zoom) {
    zoom_ = zoom == 2 || zoom == 4 ? zoom : 1;
    setFixedSize(panelWidth_ * zoom_, panelHeight_ * zoom_);
    update();
}

QPoint LcdPreview::PanelPoint(QPointF position) const {
    // Whole panel pixels: a point inside a zoomed pixel belongs to that pixel.
    return {static_cast<int>(std::floor(position.x() / zoom_)),
            static_cast<int>(std::floor(position.y() / zoom_))};
}

void LcdPreview::Redraw() {
    viewerLayer_ = QImage();
    update();
}

void LcdPreview::ForgetPictures() {
    std::erase_if(copies_, [](const auto& item) { return item.second.source.expired(); });
}

void LcdPreview::DrawViewerImage(QPoint at, const QImage& image) {
    if (viewerLayer_.isNull()) {
        viewerLayer_ = QImage(panelWidth_, panelHeight_, QImage::Format_ARGB32);
        viewerLayer_.fill(Qt::transparent);
    }
    QPainter painter(&viewerLayer_);
    painter.drawImage(at, image);
    update();
}

QImage LcdPreview::Render() const {
    QImage image(panelWidth_, panelHeight_, QImage::Format_RGB32);
    QPainter painter(&image);
    Paint(painter);
    return image;
}

QSize LcdPreview::sizeHint() const {
    return {panelWidth_ * zoom_, panelHeight_ * zoom_};
}

LcdPreview::Copies& LcdPreview::CopiesOf(
    const std::shared_ptr<const workspace::PixelImage>& picture) const {
    Copies& copies = copies_[picture.get()];
    if (copies.source.expired()) {
        // New here, or a released picture's address taken by another one.
        copies = Copies{picture, {}, std::nullopt};
    }
    return copies;
}

void LcdPreview::Paint(QPainter& painter) const {
    painter.fillRect(QRect(0, 0, panelWidth_, panelHeight_),
                     panelTrue_ ? panelBackground_ : background_);
    painter.setClipRect(QRect(0, 0, panelWidth_, panelHeight_));
    // Copies of pictures the cache has let go are dropped with them.
    std::erase_if(copies_, [](const auto& item) { return item.second.source.expired(); });
    for (std::size_t i = 0; i < pictures_.Size(); ++i) {
        const auto& entry = pictures_.At(i);
        if (!entry.shown) {
            continue;
        }
        // List entries keep only thumbnails: the full picture comes from the cache.
        const std::shared_ptr<const workspace::PixelImage> bitmap = pictureCache_.Picture(entry);
        if (!bitmap) {
            continue;
        }
        Copies& copies = CopiesOf(bitmap);
        if (panelTrue_) {
            if (!copies.panel) {
                // A picture with its own 1-bit threshold is encoded with it.
                copies.panel = ToQImage(conversion::PanelTruePicture(
                    *bitmap, conversion::PictureProfile(profile_, entry.operations)));
                ++panelConversions_;
            }
            // The panel copy may be narrower: grey depths keep whole byte groups.
            painter.drawImage(QPoint(entry.left, entry.top), *copies.panel);
            continue;
        }
        if (copies.plain.isNull()) {
            copies.plain = ToQImage(*bitmap);
        }
        // Same size, no scaling: the source rectangle is the picture's own size.
        painter.drawImage(QPoint(entry.left, entry.top), copies.plain,
                          QRect(0, 0, entry.width, entry.height));
    }
    if (!viewerLayer_.isNull()) {
        painter.drawImage(QPoint(0, 0), viewerLayer_);
    }
}

void LcdPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.scale(zoom_, zoom_);
    Paint(painter);
}

void LcdPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit pressed(PanelPoint(event->position()));
    }
    QWidget::mousePressEvent(event);
}

void LcdPreview::mouseMoveEvent(QMouseEvent* event) {
    emit moved(PanelPoint(event->position()));
    QWidget::mouseMoveEvent(event);
}

void LcdPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit released(PanelPoint(event->position()));
    }
    QWidget::mouseReleaseEvent(event);
}

void LcdPreview::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        texts_.Apply();
    }
    QWidget::changeEvent(event);
}

}  // namespace pictor::gui
