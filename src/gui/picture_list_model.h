#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

namespace pictor::workspace {
class PictureList;
}

namespace pictor::gui {

/// The list view's model: row i is the picture at list position i (rows are kept
/// in list order, never sorted by the view). Column 0 shows the name with the
/// thumbnail (an icon each view draws at its own size, in the picture's
/// proportions and never more than twice its pixel size) and a tick when the
/// picture is drawn on the preview, column 1 the order number, column 2 the size
/// as converted (after the picture's operations, marked with "*" when it has any;
/// its tooltip lists them). The hot row (the current picture) is shown in bold. A
/// click on the tick does not change the list: it asks for the change through
/// `shownToggleRequested`, and the owner calls `RowChanged` once it is done.
class PictureListModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kThumbnailSize = 96;

    explicit PictureListModel(const workspace::PictureList& pictures, QObject* parent = nullptr);

    /// Refills every row from the picture list (thumbnails included).
    void Rebuild();
    /// Marks `row` as the hot item (-1: none). The selection is not touched.
    void SetHotRow(int row);
    [[nodiscard]] int HotRow() const { return hotRow_; }
    /// The picture at `row` changed (its shown flag): its cells are redrawn.
    void RowChanged(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  signals:
    void shownToggleRequested(int row);

  private:
    const workspace::PictureList& pictures_;
    std::vector<QIcon> thumbnails_;
    int rowCount_ = 0;
    int hotRow_ = -1;
};

}  // namespace pictor::gui
