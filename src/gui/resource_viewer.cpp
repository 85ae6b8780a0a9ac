#include "gui/resource_viewer.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string_view>

#include "core/conversion/resource_image.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

QString RowText(const StoredPicture& picture) {
    QString text = QStringLiteral("%1: ").arg(picture.index);
    if (!picture.symbol.empty()) {
        text += QString::fromStdString(picture.symbol) + QStringLiteral(", ");
    }
    if (picture.size) {
        text += QStringLiteral("%1 x %2, ").arg(picture.size->width).arg(picture.size->height);
    }
    text += Translate("ResourceViewer", "%1 bytes at %2").arg(picture.bytes).arg(picture.offset);
    if (!picture.error.empty()) {
        text += Translate("ResourceViewer", " (unreadable: %1)")
                    .arg(QString::fromStdString(picture.error));
    }
    return text;
}

}  // namespace

void AddHeaderSymbols(std::vector<StoredPicture>& pictures, const std::string& headerText,
                      int colorDepth) {
    std::map<std::string, std::size_t> indexOf;
    std::map<std::string, std::pair<int, int>> sizes;  // symbol: width, height
    std::istringstream lines(headerText);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        // "#define SYMBOL  VALUE": the symbol may hold blanks; two separate the value.
        constexpr std::string_view kDefine = "#define ";
        const std::size_t gap = line.rfind("  ");
        if (line.rfind(kDefine, 0) != 0 || gap == std::string::npos || gap < kDefine.size()) {
            continue;
        }
        const std::string symbol = line.substr(kDefine.size(), gap - kDefine.size());
        const std::string value = line.substr(gap + 2);
        char* end = nullptr;
        if (value.rfind("0x", 0) == 0) {
            const unsigned long index = std::strtoul(value.c_str() + 2, &end, 16);
            if (end != value.c_str() + 2 && *end == '\0') {
                indexOf[symbol] = index;
            }
            continue;
        }
        const long number = std::strtol(value.c_str(), &end, 10);
        const bool isNumber = end != value.c_str() && *end == '\0' && number > 0;
        if (isNumber && symbol.size() > 2 && symbol[symbol.size() - 2] == '_') {
            auto& size = sizes[symbol.substr(0, symbol.size() - 2)];
            (symbol.back() == 'W' ? size.first : size.second) = static_cast<int>(number);
        }
    }
    for (const auto& [symbol, index] : indexOf) {
        if (index >= pictures.size()) {
            continue;
        }
        pictures[index].symbol = symbol;
        const auto size = sizes.find(symbol);
        // Below 8 bits a line's pixels share bytes and the header counts bytes.
        if (colorDepth >= 8 && size != sizes.end() && size->second.first > 0 &&
            size->second.second > 0) {
            pictures[index].headerSize =
                conversion::PictureSize{size->second.first, size->second.second};
        }
    }
}

std::vector<StoredPicture> ListStoredPictures(std::span<const std::uint8_t> image,
                                              const settings::ModelProfile& profile) {
    std::vector<StoredPicture> pictures;
    if (image.size() < conversion::kTableBytes) {
        return pictures;
    }
    const auto unit = static_cast<std::uint64_t>(std::max(profile.minAllocateSize, 1));
    for (std::size_t index = 0; index < conversion::kTableEntries; ++index) {
        const std::uint64_t entry = conversion::TableEntry(image, index);
        if (entry == 0) {
            break;
        }
        StoredPicture picture;
        picture.index = index;
        picture.offset = entry * unit;
        const std::uint64_t next =
            index + 1 < conversion::kTableEntries
                ? std::uint64_t{conversion::TableEntry(image, index + 1)} * unit
                : 0;
        const std::uint64_t end = next > picture.offset ? next : image.size();
        picture.bytes = end > picture.offset ? end - picture.offset : 0;
        if (profile.saveWidthHeightToBin != 0) {
            const conversion::DecodeResult decoded =
                conversion::DecodeStoredPicture(image, index, profile);
            if (decoded.ok) {
                picture.size = conversion::PictureSize{decoded.image.width, decoded.image.height};
            } else {
                picture.error = decoded.error;
            }
        }
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

StoredPictureDialog::StoredPictureDialog(const std::vector<StoredPicture>& pictures,
                                         bool sizePrefix, conversion::PictureSize size,
                                         QWidget* parent)
    : QDialog(parent),
      list_(new QListWidget),
      index_(new QSpinBox),
      width_(new QSpinBox),
      height_(new QSpinBox) {
    setObjectName(QStringLiteral("StoredPictureDialog"));
    setWindowTitle(Translate("ResourceViewer", "View from binary — Pictor"));
    list_->setObjectName(QStringLiteral("storedPictureList"));
    for (const StoredPicture& picture : pictures) {
        list_->addItem(RowText(picture));
    }
    index_->setObjectName(QStringLiteral("storedPictureIndex"));
    // Any index the table can hold; one past its pictures is refused when viewing.
    index_->setRange(0, static_cast<int>(conversion::kTableEntries) - 1);
    width_->setObjectName(QStringLiteral("storedPictureWidth"));
    height_->setObjectName(QStringLiteral("storedPictureHeight"));
    for (QSpinBox* box : {width_, height_}) {
        box->setRange(0, 65535);
        box->setEnabled(!sizePrefix);
        box->setToolTip(sizePrefix
                            ? Translate("ResourceViewer", "The image stores each picture's size")
                            : Translate("ResourceViewer",
                                        "The image stores no sizes: give the "
                                        "picture's size as it was converted"));
    }
    width_->setValue(size.width);
    height_->setValue(size.height);

    // Choosing a picture whose size is known (stored or from Icon.h) fills it in.
    connect(list_, &QListWidget::currentRowChanged, index_, [this, pictures](int row) {
        if (row < 0) {
            return;
        }
        index_->setValue(row);
        const StoredPicture& picture = pictures[static_cast<std::size_t>(row)];
        if (const auto known = picture.size ? picture.size : picture.headerSize) {
            width_->setValue(known->width);
            height_->setValue(known->height);
        }
    });
    connect(index_, &QSpinBox::valueChanged, list_,
            [this](int value) { list_->setCurrentRow(value < list_->count() ? value : -1); });
    list_->setCurrentRow(pictures.empty() ? -1 : 0);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(Translate("ResourceViewer", "Picture"), index_);
    fields->addRow(Translate("ResourceViewer", "Width"), width_);
    fields->addRow(Translate("ResourceViewer", "Height"), height_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

std::size_t StoredPictureDialog::Index() const {
    return static_cast<std::size_t>(index_->value());
}

conversion::PictureSize StoredPictureDialog::Size() const {
    return {width_->value(), height_->value()};
}

}  // namespace pictor::gui
