#pragma once

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QString>
#include <QtEndian>

namespace pictor::gui::testing {

/// A bottom-up 24-bit Windows bitmap of one colour, optionally followed by the
/// position trailer "aVaV" X Y.
inline QByteArray SolidBitmap(int width, int height, QColor colour, int trailerX = -1,
                              int trailerY = -1) {
    const int rowSize = (width * 3 + 3) & ~3;
    QByteArray pixels;
    for (int y = 0; y < height; ++y) {
        QByteArray row;
        for (int x = 0; x < width; ++x) {
            row.append(static_cast<char>(colour.blue()));
            row.append(static_cast<char>(colour.green()));
            row.append(static_cast<char>(colour.red()));
        }
        row.append(QByteArray(rowSize - row.size(), '\0'));
        pixels += row;
    }
    QByteArray file(54, '\0');
    auto put32 = [&](int at, quint32 value) { qToLittleEndian(value, file.data() + at); };
    auto put16 = [&](int at, quint16 value) { qToLittleEndian(value, file.data() + at); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<quint32>(54 + pixels.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<quint32>(width));
    put32(22, static_cast<quint32>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<quint32>(pixels.size()));
    file += pixels;
    if (trailerX >= 0) {
        file += "aVaV";
        file.append(static_cast<char>(trailerX));
        file.append(static_cast<char>(trailerY));
    }
    return file;
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace pictor::gui::testing
