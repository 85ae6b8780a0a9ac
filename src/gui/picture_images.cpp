#include "gui/picture_images.h"

#include <QColor>
#include <cstring>

namespace pictor::gui {

QImage ToQImage(const workspace::PixelImage& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() <
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        return {};
    }
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(image.scanLine(y), picture.Row(y),
                    static_cast<std::size_t>(picture.width) * sizeof(std::uint32_t));
    }
    return image;
}

QColor FromWindowsRgb(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t ToWindowsRgb(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

}  // namespace pictor::gui
