#pragma once

// Qt's picture readers as the reference the core's own decoders are checked against:
// the same file gives the same pixels through both. Only the tests link Qt.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <cstdint>
#include <cstring>
#include <optional>

#include "core/workspace/pixel_image.h"
#include "support/bitmap_files.h"

namespace pictor::workspace::testing {

/// What Qt decodes from `file` ("bmp" or "png"), in the core's pixel layout: a bitmap
/// reads opaque, a PNG keeps its alpha when Qt reports an alpha channel. The target
/// image is allocated and cleared first, as pixels a decoder skips are otherwise
/// undefined.
inline std::optional<PixelImage> QtDecode(const test::Bytes& file, const char* format) {
    QByteArray data(reinterpret_cast<const char*>(file.data()),
                    static_cast<qsizetype>(file.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    QSize size = reader.size();
    if (size.height() < 0) {
        size.setHeight(-size.height());
    }
    QImage image;
    if (reader.imageFormat() != QImage::Format_Invalid && size.isValid()) {
        image = QImage(size, reader.imageFormat());
        image.fill(0);
    }
    if (!reader.read(&image) || image.isNull()) {
        return std::nullopt;
    }
    const bool keepAlpha = std::strcmp(format, "png") == 0 && image.hasAlphaChannel();
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    PixelImage picture;
    picture.width = argb.width();
    picture.height = argb.height();
    picture.hasAlpha = keepAlpha;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            picture.pixels.push_back(keepAlpha ? row[x] : row[x] | 0xFF000000U);
        }
    }
    return picture;
}

}  // namespace pictor::workspace::testing
