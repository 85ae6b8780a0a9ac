#include "gui/memory_map_dialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "core/conversion/memory_map.h"
#include "gui/control_tags.h"
#include "gui/ui_language.h"

namespace pictor::gui {

namespace {

const std::array<const char*, 11> kColumns = {
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Index"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Symbol"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Source file"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Width"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Height"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Offset"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Stored size"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Padding after"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "First sector"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Last sector"),
    QT_TRANSLATE_NOOP("MemoryMapDialog", "Crosses sector")};

QString Bytes(std::uint64_t value) {
    return Translate("MemoryMapDialog", "%1 bytes").arg(value);
}

// The x where `bytes` of `scale` ends on a bar `width` pixels wide.
int XOf(std::uint64_t bytes, std::uint64_t scale, int width) {
    if (scale == 0) {
        return 0;
    }
    const long double share = static_cast<long double>(bytes) / static_cast<long double>(scale);
    return static_cast<int>(share * width);
}

QTableWidgetItem* Cell(const QString& text, bool number) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return item;
}

QTableWidgetItem* Number(std::uint64_t value) {
    return Cell(QString::number(value), true);
}

}  // namespace

FlashUsageBar::FlashUsageBar(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void FlashUsageBar::SetParts(std::uint64_t used, std::uint64_t padding, std::uint64_t capacity) {
    used_ = used;
    padding_ = padding;
    capacity_ = capacity;
    update();
}

std::uint64_t FlashUsageBar::Free() const {
    const std::uint64_t taken = used_ + padding_;
    return capacity_ > taken ? capacity_ - taken : 0;
}

QSize FlashUsageBar::sizeHint() const {
    return {400, 22};
}

QColor FlashUsageBar::UsedColor() {
    return {0x2F, 0x6F, 0xB7};
}
QColor FlashUsageBar::PaddingColor() {
    return {0xE8, 0xA3, 0x3D};
}
QColor FlashUsageBar::FreeColor() {
    return {0xDD, 0xDD, 0xDD};
}
QColor FlashUsageBar::OverflowColor() {
    return {0xC6, 0x28, 0x28};
}

void FlashUsageBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    const int width = area.width();
    const std::uint64_t taken = used_ + padding_;
    const std::uint64_t scale = std::max(taken, capacity_);
    painter.fillRect(area, FreeColor());
    // A part that is not empty gets at least one pixel, so a little padding in a
    // large flash still shows.
    const auto span = [&](std::uint64_t bytes) {
        return bytes == 0 ? 0 : std::max(1, XOf(bytes, scale, width));
    };
    const int usedEnd = span(used_);
    const int paddingEnd = std::min(width, usedEnd + span(padding_));
    painter.fillRect(QRect(area.left(), area.top(), usedEnd, area.height()), UsedColor());
    painter.fillRect(QRect(area.left() + usedEnd, area.top(), paddingEnd - usedEnd, area.height()),
                     PaddingColor());
    if (taken > capacity_) {
        // The part beyond the flash's end.
        const int end = XOf(capacity_, scale, width);
        painter.fillRect(QRect(area.left() + end, area.top(), width - end, area.height()),
                         OverflowColor());
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(area);
}

void MemoryMapDialog::ApplyTexts() {
    setWindowTitle(Translate("MemoryMapDialog", "Memory map — Pictor"));
    QStringList headers;
    for (const char* column : kColumns) {
        headers << Translate("MemoryMapDialog", column);
    }
    table_->setHorizontalHeaderLabels(headers);
}

void MemoryMapDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && table_ != nullptr) {
        ApplyTexts();
        Refresh();
    }
    QDialog::changeEvent(event);
}

void MemoryMapDialog::showEvent(QShowEvent* event) {
    // The last column is visible without scrolling when the screen is wide enough.
    const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
    const int wanted = table_->horizontalHeader()->length() + 2 * table_->frameWidth() +
                       table_->verticalScrollBar()->sizeHint().width() + margins;
    const int room = screen() != nullptr ? screen()->availableGeometry().width() : wanted;
    if (width() < wanted) {
        resize(std::min(wanted, room), height());
    }
    QDialog::showEvent(event);
}

MemoryMapDialog::MemoryMapDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MemoryMapDialog"));

    notice_ = Name(new QLabel, "memoryMapNotice");
    notice_->setWordWrap(true);

    table_ = Name(new QTableWidget(0, static_cast<int>(kColumns.size())), "memoryMapTable");
    ApplyTexts();
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    totals_ = Name(new QLabel, "memoryMapTotals");
    totals_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar_ = Name(new FlashUsageBar, "flashUsageBar");
    barText_ = Name(new QLabel, "flashUsageText");
    barText_->setWordWrap(true);
    barText_->setTextFormat(Qt::RichText);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notice_);
    layout->addWidget(table_, 1);
    layout->addWidget(totals_);
    layout->addWidget(bar_);
    layout->addWidget(barText_);
    layout->addWidget(buttons);
    resize(900, 480);

    noMapText_ = Translate("MemoryMapDialog",
                           "No conversion yet: the map shows where the pictures of the "
                           "last conversion sit in Icon.bin.");
    Refresh();
}

void MemoryMapDialog::SetConversion(const conversion::ConvertResult& result) {
    if (!result.success) {
        return;
    }
    map_ = result.map;
    if (!map_) {
        noMapText_ = Translate("MemoryMapDialog",
                               "The last conversion wrote C source (Icon.c), which has no "
                               "binary layout: there is no memory map.");
    }
    Refresh();
}

void MemoryMapDialog::SetFlashType(const std::string& flashTypeText) {
    flashType_ = flashTypeText;
    capacity_ =
        conversion::FlashTypeCapacity(flashTypeText).value_or(conversion::kLargestFlashBytes);
    Refresh();
}

void MemoryMapDialog::Refresh() {
    notice_->setVisible(!map_);
    notice_->setText(noMapText_);
    table_->setRowCount(0);
    if (!map_) {
        totals_->clear();
        bar_->SetParts(0, 0, capacity_);
        barText_->clear();
        return;
    }
    const auto& rows = map_->rows;
    table_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const conversion::MemoryMapRow& row = rows[i];
        const int r = static_cast<int>(i);
        table_->setItem(r, 0, Number(row.index));
        table_->setItem(r, 1, Cell(QString::fromStdString(row.symbol), false));
        table_->setItem(r, 2, Cell(QString::fromStdString(row.sourceFile), false));
        table_->setItem(r, 3, Number(static_cast<std::uint64_t>(std::max(row.width, 0))));
        table_->setItem(r, 4, Number(static_cast<std::uint64_t>(std::max(row.height, 0))));
        QTableWidgetItem* offset = Number(row.offset);
        offset->setToolTip(QStringLiteral("0x%1").arg(row.offset, 0, 16));
        table_->setItem(r, 5, offset);
        table_->setItem(r, 6, Number(row.storedSize));
        table_->setItem(r, 7, Number(row.paddingAfter));
        table_->setItem(r, 8, Number(row.firstSector));
        table_->setItem(r, 9, Number(row.lastSector));
        table_->setItem(r, 10,
                        Cell(row.crossesSector ? Translate("MemoryMapDialog", "yes")
                                               : Translate("MemoryMapDialog", "no"),
                             false));
    }

    // The totals against the flash chosen now, not the one of the conversion.
    conversion::MemoryMapTotals totals = map_->totals;
    totals.flashCapacity = capacity_;
    QStringList lines;
    for (const std::string& line : conversion::MemoryMapSummary(totals, CoreTextLookUp())) {
        lines << QString::fromStdString(line);
    }
    totals_->setText(lines.join(QLatin1Char('\n')));

    const std::uint64_t padding = totals.alignmentPadding + totals.sectorPadding;
    const std::uint64_t used = totals.imageBytes - padding;
    bar_->SetParts(used, padding, capacity_);
    const QString flash =
        (flashType_.empty() ? Translate("MemoryMapDialog", "flash")
                            : Translate("MemoryMapDialog", "%1 flash")
                                  .arg(QString::fromStdString(flashType_).toHtmlEscaped())) +
        QStringLiteral(" (%1)").arg(Bytes(capacity_));
    // Each part's name follows a square of its colour on the bar.
    const auto swatch = [](const QColor& colour) {
        return QStringLiteral("<span style=\"color:%1\">&#9632;</span> ").arg(colour.name());
    };
    const QString parts = swatch(FlashUsageBar::UsedColor()) +
                          Translate("MemoryMapDialog", "Used %1, ").arg(Bytes(used)) +
                          swatch(FlashUsageBar::PaddingColor()) +
                          Translate("MemoryMapDialog", "padding %1").arg(Bytes(padding));
    if (totals.imageBytes > capacity_) {
        barText_->setText(
            parts + QStringLiteral(": ") + swatch(FlashUsageBar::OverflowColor()) +
            Translate("MemoryMapDialog", "the image is %1 larger than the %2; it does not fit.")
                .arg(Bytes(totals.imageBytes - capacity_), flash));
    } else {
        barText_->setText(
            parts + QStringLiteral(", ") + swatch(FlashUsageBar::FreeColor()) +
            Translate("MemoryMapDialog", "free %1 of the %2.").arg(Bytes(bar_->Free()), flash));
    }
}

}  // namespace pictor::gui
