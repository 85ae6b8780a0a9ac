#include "gui/lcd_preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "core/workspace/picture_list.h"
#include "gui/picture_images.h"

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
    images_.clear();
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

const QImage& LcdPreview::ImageOf(const workspace::PixelImage& picture) const {
    auto found = images_.find(&picture);
    if (found == images_.end()) {
        found = images_.emplace(&picture, ToQImage(picture)).first;
    }
    return found->second;
}

void LcdPreview::Paint(QPainter& painter) const {
    painter.fillRect(QRect(0, 0, panelWidth_, panelHeight_), background_);
    painter.setClipRect(QRect(0, 0, panelWidth_, panelHeight_));
    for (std::size_t i = 0; i < pictures_.Size(); ++i) {
        const auto& entry = pictures_.At(i);
        if (!entry.shown || !entry.bitmap) {
            continue;
        }
        // Same size, no scaling: the source rectangle is the picture's own size.
        painter.drawImage(QPoint(entry.left, entry.top), ImageOf(*entry.bitmap),
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

}  // namespace pictor::gui
