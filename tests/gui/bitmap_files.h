#pragma once

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QString>

#include "support/bitmap_files.h"

namespace pictor::gui::testing {

/// A bottom-up 24-bit Windows bitmap of one colour, optionally followed by the
/// position trailer "aVaV" X Y.
inline QByteArray SolidBitmap(int width, int height, QColor colour, int trailerX = -1,
                              int trailerY = -1) {
    const test::Bytes bytes = test::SolidBitmap(width, height, colour.rgb() & 0xFFFFFFU);
    QByteArray file(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
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
