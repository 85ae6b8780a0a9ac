#include "gui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pictor::gui {
namespace {

// Drawn on a 64 x 64 grid, scaled to the requested size.
QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    // Module board.
    painter.setPen(QPen(QColor(0x1B, 0x3A, 0x2F), 2));
    painter.setBrush(QColor(0x2E, 0x7D, 0x5B));
    painter.drawRoundedRect(QRectF(4, 8, 56, 48), 6, 6);
    // Screen.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x10, 0x1F, 0x3C));
    painter.drawRect(QRectF(10, 14, 44, 32));
    // A picture on the screen: sun and hills.
    painter.setBrush(QColor(0xFF, 0xC8, 0x3D));
    painter.drawEllipse(QPointF(42, 22), 5, 5);
    QPainterPath hills;
    hills.moveTo(10, 46);
    hills.lineTo(22, 30);
    hills.lineTo(31, 40);
    hills.lineTo(37, 34);
    hills.lineTo(54, 46);
    hills.closeSubpath();
    painter.setBrush(QColor(0x4F, 0xC3, 0xF7));
    painter.drawPath(hills);
    // Connector pins.
    painter.setBrush(QColor(0xD9, 0xD9, 0xD9));
    for (int i = 0; i < 6; ++i) {
        painter.drawRect(QRectF(16 + i * 6, 56, 3, 6));
    }
    return pixmap;
}

}  // namespace

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(DrawIcon(size));
    }
    return icon;
}

}  // namespace pictor::gui
