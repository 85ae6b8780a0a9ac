#include "gui/import_failure.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdlib>

#include "core/common/translatable.h"
#include "core/workspace/picture_loader.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

// Enough for a bitmap's file and info header up to its height, and a PNG's IHDR.
constexpr qint64 kHeaderBytes = 26;

std::int64_t LittleEndian(const QByteArray& bytes, int at, int count, bool isSigned) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    if (isSigned && count == 4) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    return static_cast<std::int64_t>(value);
}

std::int64_t BigEndian32(const QByteArray& bytes, int at) {
    std::uint64_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return static_cast<std::int64_t>(value);
}

bool SideTooLarge(std::int64_t side) {
    return std::llabs(side) > workspace::kMaxPictureSide;
}

}  // namespace

ImportFailureReason ClassifyImportFailure(const QString& path, bool openable) {
    const QFileInfo info(path);
    QFile file(path);
    // Only a regular file is read: a FIFO would block the caller.
    if (!openable || !info.isFile() || !file.open(QIODevice::ReadOnly)) {
        return ImportFailureReason::Unreadable;
    }
    const QByteArray head = file.read(kHeaderBytes);
    if (head.startsWith("BM")) {
        if (head.size() < 18) {
            return ImportFailureReason::Damaged;
        }
        const bool core = LittleEndian(head, 14, 4, false) == 12;  // the OS/2 core header
        if (head.size() < (core ? 22 : 26)) {
            return ImportFailureReason::Damaged;
        }
        const std::int64_t width =
            core ? LittleEndian(head, 18, 2, false) : LittleEndian(head, 18, 4, true);
        const std::int64_t height =
            core ? LittleEndian(head, 20, 2, false) : LittleEndian(head, 22, 4, true);
        return SideTooLarge(width) || SideTooLarge(height) ? ImportFailureReason::TooLarge
                                                           : ImportFailureReason::Damaged;
    }
    static const QByteArray kPngSignature("\x89PNG\r\n\x1A\n", 8);
    if (head.startsWith(kPngSignature)) {
        if (head.size() < 24) {
            return ImportFailureReason::Damaged;
        }
        return SideTooLarge(BigEndian32(head, 16)) || SideTooLarge(BigEndian32(head, 20))
                   ? ImportFailureReason::TooLarge
                   : ImportFailureReason::Damaged;
    }
    return ImportFailureReason::Unsupported;
}

QString ImportFailureText(ImportFailureReason reason) {
    switch (reason) {
        case ImportFailureReason::Unreadable:
            return Translate("ImportFailure", "cannot be opened");
        case ImportFailureReason::Unsupported:
            return Translate("ImportFailure", "unsupported format (not a bitmap or PNG)");
        case ImportFailureReason::TooLarge:
            return Translate("ImportFailure", "too large (more than %1 pixels wide or high)")
                .arg(workspace::kMaxPictureSide);
        case ImportFailureReason::Damaged:
            break;
    }
    return Translate("ImportFailure", "truncated or damaged");
}

QString ImportFailureSummary(const std::vector<ImportFailure>& failures, std::size_t listed) {
    QString text =
        failures.size() == 1
            ? Translate("ImportFailure", "1 picture was not imported:")
            : Translate("ImportFailure", "%1 pictures were not imported:").arg(failures.size());
    for (std::size_t i = 0; i < failures.size(); ++i) {
        if (i == listed) {
            text += QLatin1Char('\n') +
                    Translate("ImportFailure", "… and %1 more").arg(failures.size() - listed);
            break;
        }
        if (failures[i].message) {
            text += QLatin1Char('\n') +
                    QString::fromStdString(
                        LocalizeMessage(*failures[i].message, CoreTextLookUp()).text);
            continue;
        }
        text += QLatin1Char('\n') +
                QStringLiteral("%1: %2").arg(
                    QDir::toNativeSeparators(QString::fromStdString(failures[i].path)),
                    ImportFailureText(failures[i].reason));
    }
    return text;
}

}  // namespace pictor::gui
