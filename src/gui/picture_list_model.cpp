#include "gui/picture_list_model.h"

#include <QFont>
#include <QPixmap>
#include <algorithm>

#include "core/common/regular_file.h"
#include "core/workspace/picture_list.h"
#include "gui/picture_images.h"
#include "gui/picture_operations_dialog.h"
#include "gui/ui_language.h"

namespace pictor::gui {

namespace {

// The stored thumbnail is square whatever the picture: it is drawn back in the
// picture's proportions, at most kThumbnailSize and at most twice the picture's
// own size (a 16 x 16 icon is not blown up to a blur). An icon never draws larger
// than its pixmap, so each view's icon size only shrinks it.
QIcon Thumbnail(const workspace::ImageEntry& entry) {
    if (!entry.thumbnail || entry.width <= 0 || entry.height <= 0) {
        return {};
    }
    const int side =
        std::min(PictureListModel::kThumbnailSize, 2 * std::max(entry.width, entry.height));
    const QSize size = QSize(entry.width, entry.height).scaled(side, side, Qt::KeepAspectRatio);
    const QImage image =
        ToQImage(*entry.thumbnail)
            .scaled(size.expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace

PictureListModel::PictureListModel(const workspace::PictureList& pictures, QObject* parent)
    : QAbstractTableModel(parent), pictures_(pictures) {}

void PictureListModel::Rebuild() {
    beginResetModel();
    thumbnails_.clear();
    rowCount_ = static_cast<int>(pictures_.Size());
    for (int i = 0; i < rowCount_; ++i) {
        const auto& entry = pictures_.At(static_cast<std::size_t>(i));
        thumbnails_.push_back(Thumbnail(entry));
    }
    if (hotRow_ >= rowCount_) {
        hotRow_ = -1;
    }
    endResetModel();
}

void PictureListModel::SetHotRow(int row) {
    const int old = hotRow_;
    hotRow_ = row >= 0 && row < rowCount_ ? row : -1;
    for (int changed : {old, hotRow_}) {
        if (changed >= 0 && changed < rowCount_) {
            emit dataChanged(index(changed, 0), index(changed, 1), {Qt::FontRole});
        }
    }
}

int PictureListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int PictureListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

namespace {

// The picture's size as converted; a mark when operations change it.
QString SizeText(const workspace::ImageEntry& entry) {
    QString text = QStringLiteral("%1 x %2").arg(entry.width).arg(entry.height);
    if (!entry.operations.IsEmpty()) {
        text += QStringLiteral(" *");
    }
    return text;
}

QString ToolTipOf(const workspace::ImageEntry& entry, int column) {
    if (column == 2) {
        return DescribeOperations(entry.operations);
    }
    if (entry.text) {
        return Translate("PictureListModel", "Text \"%1\" in %2")
            .arg(QString::fromStdString(entry.text->text),
                 QString::fromStdString(Utf8FromPath(entry.text->font)));
    }
    return QString::fromStdString(entry.path);
}

}  // namespace

QVariant PictureListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount_ ||
        static_cast<std::size_t>(index.row()) >= pictures_.Size()) {
        return {};
    }
    const auto& entry = pictures_.At(static_cast<std::size_t>(index.row()));
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case 0:
                    return QString::fromStdString(entry.name);
                case 1:
                    return QString::number(index.row());
                default:
                    return SizeText(entry);
            }
        case Qt::DecorationRole:
            if (index.column() == 0) {
                return thumbnails_[static_cast<std::size_t>(index.row())];
            }
            return {};
        case Qt::ToolTipRole:
            return ToolTipOf(entry, index.column());
        case Qt::TextAlignmentRole:
            return index.column() == 0 ? QVariant() : QVariant(Qt::AlignCenter);
        case Qt::CheckStateRole:
            if (index.column() == 0) {
                return entry.shown ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        case Qt::FontRole:
            if (index.row() == hotRow_) {
                QFont font;
                font.setBold(true);
                return font;
            }
            return {};
        default:
            return {};
    }
}

QVariant PictureListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        switch (section) {
            case 0:
                return Translate("PictureListModel", "名称");
            case 1:
                return Translate("PictureListModel", "排列序号");
            default:
                return Translate("PictureListModel", "Size");
        }
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant(Qt::AlignCenter);
    }
    return {};
}

Qt::ItemFlags PictureListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == 0 ? flags | Qt::ItemIsUserCheckable : flags;
}

bool PictureListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
        index.row() >= rowCount_ || static_cast<std::size_t>(index.row()) >= pictures_.Size()) {
        return false;
    }
    const bool wanted = static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked;
    if (wanted != pictures_.At(static_cast<std::size_t>(index.row())).shown) {
        emit shownToggleRequested(index.row());
    }
    return true;
}

void PictureListModel::RowChanged(int row) {
    if (row >= 0 && row < rowCount_) {
        emit dataChanged(index(row, 0), index(row, 2));
    }
}

}  // namespace pictor::gui
