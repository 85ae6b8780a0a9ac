#include "gui/resource_viewer.h"

#include <QColor>
#include <algorithm>

namespace pictor::gui {
namespace {

int Channel(std::uint16_t word, std::uint16_t mask, int shift, int bits) {
    if (bits <= 0 || bits > 8 || shift < 0 || shift > 15) {
        return 0;
    }
    return (((word & mask) >> shift) << (8 - bits)) & 0xFF;
}

}  // namespace

QColor DecodeColorWord(std::uint16_t word, const settings::ChannelLayout& layout) {
    return QColor(Channel(word, layout.redMask, layout.redShift, layout.redBits),
                  Channel(word, layout.greenMask, layout.greenShift, layout.greenBits),
                  Channel(word, layout.blueMask, layout.blueShift, layout.blueBits));
}

QImage DecodeResourcePicture(QIODevice& file, const ViewerRequest& request) {
    const qint64 start =
        static_cast<qint64>(request.address) * std::max(request.minAllocateSize, 1);
    if (start < 0 || start > file.size() || !file.seek(start)) {
        return {};
    }
    int rows = request.rows;
    int columns = request.columns;
    if (request.sizePrefix) {
        // Prefix bytes: height low, width low, height high, width high, then
        // padding up to 6 bytes or the allocation unit, whichever is larger.
        const QByteArray prefix = file.read(4);
        if (prefix.size() < 4) {
            return {};
        }
        const auto byte = [&](int i) { return static_cast<std::uint8_t>(prefix[i]); };
        rows = byte(0) + 256 * byte(2);
        columns = byte(1) + 256 * byte(3);
        const qint64 prefixLength = std::max(6, request.minAllocateSize);
        if (!file.seek(start + prefixLength)) {
            return {};
        }
    }
    if (rows <= 0 || columns <= 0) {
        return {};
    }
    const qint64 wordsLeft = (file.size() - file.pos()) / 2;
    const qint64 rowsWithData = (wordsLeft + columns - 1) / columns;
    const int shownRows = static_cast<int>(std::min<qint64>(rows, rowsWithData));
    if (shownRows <= 0) {
        return {};
    }
    QImage image(columns, shownRows, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QByteArray data = file.read(static_cast<qint64>(columns) * shownRows * 2);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const qint64 words = data.size() / 2;
    for (qint64 i = 0; i < words; ++i) {
        const auto word = static_cast<std::uint16_t>((bytes[2 * i] << 8) | bytes[2 * i + 1]);
        image.setPixelColor(static_cast<int>(i % columns), static_cast<int>(i / columns),
                            DecodeColorWord(word, request.layout));
    }
    return image;
}

}  // namespace pictor::gui
