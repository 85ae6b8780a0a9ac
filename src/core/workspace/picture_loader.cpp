#include "core/workspace/picture_loader.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <cstring>
#include <limits>
#include <string_view>

namespace pictor::workspace {

namespace {

QString ToQtPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

enum class PictureFormat { Unknown, Bitmap, Png };

// Recognises the format by the file's first bytes, so that only the two formats we
// promise are decoded, whatever other image plugins are installed.
PictureFormat SniffFormat(QFile& file) {
    constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);
    const QByteArray head = file.peek(static_cast<qint64>(kPngSignature.size()));
    if (head.startsWith("BM")) {
        return PictureFormat::Bitmap;
    }
    if (head.size() == static_cast<qsizetype>(kPngSignature.size()) &&
        std::string_view(head.constData(), kPngSignature.size()) == kPngSignature) {
        return PictureFormat::Png;
    }
    return PictureFormat::Unknown;
}

bool IsAcceptedSize(const QSize& size) {
    return size.isValid() && size.width() > 0 && size.height() > 0 &&
           size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide;
}

PixelImage ToPixelImage(const QImage& decoded, bool keepAlpha) {
    // Format_ARGB32 holds unpremultiplied 0xAARRGGBB words, the layout of PixelImage.
    const QImage image =
        decoded.format() == QImage::Format_ARGB32 || decoded.format() == QImage::Format_RGB32
            ? decoded
            : decoded.convertToFormat(QImage::Format_ARGB32);
    PixelImage picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.hasAlpha = keepAlpha;
    const auto width = static_cast<std::size_t>(picture.width);
    picture.pixels.resize(width * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        std::uint32_t* row = picture.pixels.data() + static_cast<std::size_t>(y) * width;
        std::memcpy(row, image.constScanLine(y), width * sizeof(std::uint32_t));
        if (!keepAlpha) {
            for (std::size_t x = 0; x < width; ++x) {
                row[x] |= 0xFF000000U;
            }
        }
    }
    return picture;
}

}  // namespace

std::optional<PixelImage> LoadPicture(const std::filesystem::path& path) {
    QFile file(ToQtPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const PictureFormat format = SniffFormat(file);
    if (format == PictureFormat::Unknown) {
        return std::nullopt;
    }
    QImageReader reader(&file, format == PictureFormat::Bitmap ? "bmp" : "png");
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);

    // The header's size decides before anything is allocated for the pixels. The bitmap
    // decoder reports a top-down bitmap's height as stored, negative.
    QSize size = reader.size();
    if (size.height() < 0 && size.height() != std::numeric_limits<int>::min()) {
        size.setHeight(-size.height());
    }
    if (!IsAcceptedSize(size)) {
        return std::nullopt;
    }
    // Qt refuses to allocate images above its process-wide limit (128 MiB by default),
    // which a legal 8192 x 8192 picture at 32 bits exceeds. A decoder reuses a target
    // image of the right size and format without consulting that limit, so the image is
    // allocated here, bounded by the size check above, instead of changing the global.
    QImage image;
    const QImage::Format decodedFormat = reader.imageFormat();
    if (decodedFormat != QImage::Format_Invalid) {
        image = QImage(size, decodedFormat);
        if (image.isNull()) {
            return std::nullopt;
        }
    }
    if (!reader.read(&image) || image.isNull() || image.size() != size) {
        return std::nullopt;
    }
    const bool keepAlpha = format == PictureFormat::Png && image.hasAlphaChannel();
    return ToPixelImage(image, keepAlpha);
}

PixelImage MakeThumbnail(const PixelImage& picture) {
    PixelImage thumbnail;
    thumbnail.width = kThumbnailSide;
    thumbnail.height = kThumbnailSide;
    thumbnail.hasAlpha = picture.hasAlpha;
    constexpr auto kSide = static_cast<std::size_t>(kThumbnailSide);
    thumbnail.pixels.assign(kSide * kSide, 0xFF000000U);
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() <
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        return thumbnail;
    }
    const auto sourceWidth = static_cast<std::size_t>(picture.width);
    const auto sourceHeight = static_cast<std::size_t>(picture.height);
    for (std::size_t y = 0; y < kSide; ++y) {
        // The source pixel under the centre of each thumbnail pixel.
        const std::size_t sourceY = (2 * y + 1) * sourceHeight / (2 * kSide);
        const std::uint32_t* sourceRow = picture.pixels.data() + sourceY * sourceWidth;
        for (std::size_t x = 0; x < kSide; ++x) {
            const std::size_t sourceX = (2 * x + 1) * sourceWidth / (2 * kSide);
            thumbnail.pixels[y * kSide + x] = sourceRow[sourceX];
        }
    }
    return thumbnail;
}

}  // namespace pictor::workspace
