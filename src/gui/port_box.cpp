#include "gui/port_box.h"

#include <QStyledItemDelegate>

namespace pictor::gui {
namespace {

constexpr int kDescriptionRole = Qt::UserRole + 1;

// Shows "port — description" in the drop-down list only.
class PortDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString description = index.data(kDescriptionRole).toString();
        if (!description.isEmpty()) {
            option->text += QStringLiteral("  —  ") + description;
        }
    }
};

}  // namespace

PortBox::PortBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setItemDelegate(new PortDelegate(this));
}

void PortBox::SetPorts(const std::vector<std::pair<std::string, std::string>>& ports) {
    const QString text = currentText();
    clear();
    for (const auto& [path, description] : ports) {
        addItem(QString::fromStdString(path));
        setItemData(count() - 1, QString::fromStdString(description), kDescriptionRole);
        setItemData(count() - 1, QString::fromStdString(description), Qt::ToolTipRole);
    }
    setCurrentIndex(-1);
    setEditText(text);
}

}  // namespace pictor::gui
