#include "gui/picture_operations_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>
#include <cstring>

#include "core/workspace/operation_values.h"
#include "core/workspace/picture_loader.h"
#include "gui/ui_language.h"

namespace pictor::gui {

namespace {

// The preview shows the picture at most this many screen pixels on a side.
constexpr int kPreviewSide = 256;

QSpinBox* SideBox(const char* name, int minimum) {
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, workspace::kMaxPictureSide);
    return box;
}

QComboBox* ChoiceBox(const char* name, const QStringList& items) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

}  // namespace

QImage ToPreviewImage(const workspace::PixelImage& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() <
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        return {};
    }
    QImage image(picture.width, picture.height,
                 picture.hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(image.scanLine(y), picture.Row(y),
                    static_cast<std::size_t>(picture.width) * sizeof(std::uint32_t));
    }
    return image;
}

QString DescribeOperations(const workspace::PictureOperations& operations) {
    QStringList parts;
    if (operations.crop) {
        parts << Translate("PictureOperationsDialog", "crop %1")
                     .arg(QString::fromStdString(workspace::CropText(*operations.crop)));
    }
    if (operations.rotate != 0) {
        parts << Translate("PictureOperationsDialog", "rotate %1").arg(operations.rotate);
    }
    if (operations.flip != workspace::Flip::None) {
        parts << Translate("PictureOperationsDialog", "flip %1")
                     .arg(QString::fromStdString(workspace::FlipText(operations.flip)));
    }
    if (operations.scale.mode != workspace::ScaleMode::None) {
        parts << Translate("PictureOperationsDialog", "scale %1")
                     .arg(QString::fromStdString(workspace::ScaleText(operations.scale)));
    }
    if (operations.invert) {
        parts << Translate("PictureOperationsDialog", "invert");
    }
    if (operations.threshold) {
        parts << Translate("PictureOperationsDialog", "threshold %1").arg(*operations.threshold);
    }
    return parts.join(QStringLiteral(", "));
}

PictureOperationsDialog::PictureOperationsDialog(
    std::shared_ptr<const workspace::PixelImage> source,
    const workspace::PictureOperations& operations, int count, QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
    setObjectName(QStringLiteral("pictureOperationsDialog"));
    setWindowTitle(Translate("PictureOperationsDialog", "Picture"));
    Build(count);
    SetOperations(operations);
}

void PictureOperationsDialog::Build(int count) {
    auto* form = new QFormLayout;

    cropBox_ = new QGroupBox(Translate("PictureOperationsDialog", "Crop (in source pixels)"));
    cropBox_->setObjectName(QStringLiteral("cropBox"));
    cropBox_->setCheckable(true);
    auto* crop = new QHBoxLayout(cropBox_);
    cropX_ = SideBox("cropX", 0);
    cropY_ = SideBox("cropY", 0);
    cropWidth_ = SideBox("cropWidth", 1);
    cropHeight_ = SideBox("cropHeight", 1);
    for (auto [label, box] : {std::pair{"X", cropX_}, std::pair{"Y", cropY_},
                              std::pair{"W", cropWidth_}, std::pair{"H", cropHeight_}}) {
        crop->addWidget(new QLabel(QString::fromLatin1(label)));
        crop->addWidget(box);
    }
    form->addRow(cropBox_);

    rotateBox_ = ChoiceBox("rotateBox", {QStringLiteral("0°"), QStringLiteral("90°"),
                                         QStringLiteral("180°"), QStringLiteral("270°")});
    form->addRow(Translate("PictureOperationsDialog", "Rotate clockwise"), rotateBox_);
    flipBox_ =
        ChoiceBox("flipBox", {Translate("PictureOperationsDialog", "None"),
                              Translate("PictureOperationsDialog", "Horizontal (left and right)"),
                              Translate("PictureOperationsDialog", "Vertical (top and bottom)"),
                              Translate("PictureOperationsDialog", "Both")});
    form->addRow(Translate("PictureOperationsDialog", "Flip"), flipBox_);

    scaleModeBox_ =
        ChoiceBox("scaleModeBox",
                  {Translate("PictureOperationsDialog", "No scaling"),
                   Translate("PictureOperationsDialog", "To W x H"),
                   Translate("PictureOperationsDialog", "To fit inside W x H, keeping the shape")});
    scaleWidth_ = SideBox("scaleWidth", 1);
    scaleHeight_ = SideBox("scaleHeight", 1);
    auto* scale = new QHBoxLayout;
    scale->addWidget(scaleModeBox_);
    scale->addWidget(scaleWidth_);
    scale->addWidget(new QLabel(QStringLiteral("x")));
    scale->addWidget(scaleHeight_);
    form->addRow(Translate("PictureOperationsDialog", "Scale"), scale);
    filterBox_ = ChoiceBox(
        "filterBox",
        {Translate("PictureOperationsDialog", "Automatic (nearest for whole factors, else area)"),
         Translate("PictureOperationsDialog", "Nearest (pixel art)"),
         Translate("PictureOperationsDialog", "Area average (photos)"),
         Translate("PictureOperationsDialog", "Bilinear (photos)")});
    form->addRow(Translate("PictureOperationsDialog", "Filter"), filterBox_);

    invertBox_ =
        new QCheckBox(Translate("PictureOperationsDialog", "Invert the colours (alpha kept)"));
    invertBox_->setObjectName(QStringLiteral("invertBox"));
    form->addRow(invertBox_);
    thresholdBox_ =
        new QCheckBox(Translate("PictureOperationsDialog", "Own threshold on 1-bit models"));
    thresholdBox_->setObjectName(QStringLiteral("thresholdBox"));
    thresholdLevel_ = new QSpinBox;
    thresholdLevel_->setObjectName(QStringLiteral("thresholdLevel"));
    thresholdLevel_->setRange(0, 255);
    thresholdLevel_->setValue(128);
    auto* threshold = new QHBoxLayout;
    threshold->addWidget(thresholdBox_);
    threshold->addWidget(thresholdLevel_);
    form->addRow(threshold);

    previewLabel_ = new QLabel;
    previewLabel_->setObjectName(QStringLiteral("previewLabel"));
    previewLabel_->setMinimumSize(kPreviewSide, kPreviewSide);
    previewLabel_->setAlignment(Qt::AlignCenter);
    sizeLabel_ = new QLabel;
    sizeLabel_->setObjectName(QStringLiteral("sizeLabel"));
    sizeLabel_->setWordWrap(true);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                    QDialogButtonBox::Reset);
    buttons_->button(QDialogButtonBox::Reset)->setObjectName(QStringLiteral("resetButton"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons_->button(QDialogButtonBox::Reset), &QPushButton::clicked, this,
            [this] { SetOperations({}); });

    auto* columns = new QHBoxLayout;
    columns->addLayout(form);
    auto* right = new QVBoxLayout;
    right->addWidget(previewLabel_);
    right->addWidget(sizeLabel_);
    if (count > 1) {
        auto* note =
            new QLabel(Translate("PictureOperationsDialog",
                                 "The operations go to all %1 selected pictures; the preview "
                                 "shows the current one.")
                           .arg(count));
        note->setWordWrap(true);
        right->addWidget(note);
    }
    right->addStretch();
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons_);

    const auto update = [this] { Update(); };
    for (QSpinBox* box :
         {cropX_, cropY_, cropWidth_, cropHeight_, scaleWidth_, scaleHeight_, thresholdLevel_}) {
        connect(box, &QSpinBox::valueChanged, this, update);
    }
    for (QComboBox* box : {rotateBox_, flipBox_, scaleModeBox_, filterBox_}) {
        connect(box, &QComboBox::currentIndexChanged, this, update);
    }
    connect(cropBox_, &QGroupBox::toggled, this, update);
    connect(invertBox_, &QCheckBox::toggled, this, update);
    connect(thresholdBox_, &QCheckBox::toggled, this, update);
}

workspace::PictureOperations PictureOperationsDialog::Operations() const {
    workspace::PictureOperations operations;
    if (cropBox_->isChecked()) {
        operations.crop = workspace::PixelRect{cropX_->value(), cropY_->value(),
                                               cropWidth_->value(), cropHeight_->value()};
    }
    operations.rotate = 90 * rotateBox_->currentIndex();
    operations.flip = static_cast<workspace::Flip>(flipBox_->currentIndex());
    const auto mode = static_cast<workspace::ScaleMode>(scaleModeBox_->currentIndex());
    if (mode != workspace::ScaleMode::None) {
        operations.scale = {mode, scaleWidth_->value(), scaleHeight_->value()};
    }
    if (filterBox_->currentIndex() > 0) {
        operations.filter = static_cast<workspace::ScaleFilter>(filterBox_->currentIndex() - 1);
    }
    operations.invert = invertBox_->isChecked();
    if (thresholdBox_->isChecked()) {
        operations.threshold = thresholdLevel_->value();
    }
    return operations;
}

void PictureOperationsDialog::SetOperations(const workspace::PictureOperations& operations) {
    filling_ = true;
    const int width = source_ ? source_->width : 1;
    const int height = source_ ? source_->height : 1;
    const workspace::PixelRect crop =
        operations.crop.value_or(workspace::PixelRect{0, 0, width, height});
    cropBox_->setChecked(operations.crop.has_value());
    cropX_->setValue(crop.x);
    cropY_->setValue(crop.y);
    cropWidth_->setValue(crop.width);
    cropHeight_->setValue(crop.height);
    rotateBox_->setCurrentIndex(operations.rotate / 90);
    flipBox_->setCurrentIndex(static_cast<int>(operations.flip));
    scaleModeBox_->setCurrentIndex(static_cast<int>(operations.scale.mode));
    const bool scales = operations.scale.mode != workspace::ScaleMode::None;
    scaleWidth_->setValue(scales ? operations.scale.width : width);
    scaleHeight_->setValue(scales ? operations.scale.height : height);
    filterBox_->setCurrentIndex(operations.filter ? static_cast<int>(*operations.filter) + 1 : 0);
    invertBox_->setChecked(operations.invert);
    thresholdBox_->setChecked(operations.threshold.has_value());
    thresholdLevel_->setValue(operations.threshold.value_or(128));
    filling_ = false;
    Update();
}

void PictureOperationsDialog::Update() {
    if (filling_) {
        return;
    }
    const workspace::PictureOperations operations = Operations();
    const bool scales = operations.scale.mode != workspace::ScaleMode::None;
    scaleWidth_->setEnabled(scales);
    scaleHeight_->setEnabled(scales);
    filterBox_->setEnabled(scales);
    thresholdLevel_->setEnabled(operations.threshold.has_value());
    preview_ = QImage();
    bool applies = true;
    if (source_) {
        const workspace::PictureSize sourceSize{source_->width, source_->height};
        const std::optional<workspace::PictureSize> size =
            workspace::OperatedSize(sourceSize, operations);
        applies = size.has_value();
        if (size) {
            preview_ = ToPreviewImage(workspace::ApplyOperations(*source_, operations));
            sizeLabel_->setText(
                Translate("PictureOperationsDialog", "%1 x %2 pixels, after the operations")
                    .arg(size->width)
                    .arg(size->height));
        } else {
            sizeLabel_->setText(
                Translate("PictureOperationsDialog",
                          "The operations do not apply: the crop reaches outside the "
                          "picture (%1 x %2).")
                    .arg(sourceSize.width)
                    .arg(sourceSize.height));
        }
    }
    QPixmap shown = QPixmap::fromImage(preview_);
    if (!shown.isNull() && (shown.width() > kPreviewSide || shown.height() > kPreviewSide)) {
        shown =
            shown.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    previewLabel_->setPixmap(shown);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(applies);
}

}  // namespace pictor::gui
