#pragma once

#include <QDialog>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

#include "core/conversion/convert_operation.h"

class QLabel;
class QTableWidget;

namespace pictor::gui {

/// A horizontal bar of the flash: the bytes the image uses for data (table,
/// prefixes, pixels), its padding, and what is left free. An image larger than
/// the flash fills the bar and is marked as not fitting.
class FlashUsageBar final : public QWidget {
    Q_OBJECT
  public:
    explicit FlashUsageBar(QWidget* parent = nullptr);

    void SetParts(std::uint64_t used, std::uint64_t padding, std::uint64_t capacity);
    [[nodiscard]] std::uint64_t Used() const { return used_; }
    [[nodiscard]] std::uint64_t Padding() const { return padding_; }
    [[nodiscard]] std::uint64_t Capacity() const { return capacity_; }
    /// Bytes left in the flash; 0 when the image does not fit.
    [[nodiscard]] std::uint64_t Free() const;

    [[nodiscard]] QSize sizeHint() const override;

    static QColor UsedColor();
    static QColor PaddingColor();
    static QColor FreeColor();
    static QColor OverflowColor();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::uint64_t used_ = 0;
    std::uint64_t padding_ = 0;
    std::uint64_t capacity_ = 0;
};

/// The "Memory map" window: where every picture of the last conversion sits in
/// Icon.bin (one table row per picture), the totals, and a bar of the chosen
/// flash. Modeless; the main window keeps one and refills it after each
/// conversion.
class MemoryMapDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit MemoryMapDialog(QWidget* parent = nullptr);

    /// Takes the map of a conversion. A failed conversion changes nothing (the
    /// previous outputs, and so their map, stay in place); a successful one
    /// without a map (C source output) shows why there is none.
    void SetConversion(const conversion::ConvertResult& result);
    /// The flash the totals and the bar are measured against: the capacity of a
    /// flash-type text such as "64Mbit" (the largest flash when it names none).
    void SetFlashType(const std::string& flashTypeText);

    [[nodiscard]] const std::optional<conversion::MemoryMap>& Map() const { return map_; }

  protected:
    /// Puts the window's texts into the new language.
    void changeEvent(QEvent* event) override;
    /// Widens the window to every column of the table, as far as the screen allows.
    void showEvent(QShowEvent* event) override;

  private:
    void Refresh();
    void ApplyTexts();

    std::optional<conversion::MemoryMap> map_;
    QString noMapText_;
    std::string flashType_;
    std::uint64_t capacity_ = conversion::kLargestFlashBytes;
    QLabel* notice_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* totals_ = nullptr;
    FlashUsageBar* bar_ = nullptr;
    QLabel* barText_ = nullptr;
};

}  // namespace pictor::gui
