#pragma once

#include <QDialog>
#include <QImage>
#include <memory>
#include <optional>

#include "core/workspace/picture_operations.h"
#include "core/workspace/pixel_image.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QSpinBox;

namespace pictor::gui {

/// The "Picture" dialog: the operations of the current picture (and of the other
/// selected pictures, which get the same ones) with a live preview of the current
/// picture after them, its final size, and Reset. OK is disabled while the
/// operations do not apply to the current picture (a crop outside it).
class PictureOperationsDialog final : public QDialog {
    Q_OBJECT
  public:
    /// `source`: the current picture before its operations (null: no preview and
    /// no size check); `count`: how many pictures the operations go to.
    PictureOperationsDialog(std::shared_ptr<const workspace::PixelImage> source,
                            const workspace::PictureOperations& operations, int count,
                            QWidget* parent = nullptr);

    /// The operations the controls describe.
    [[nodiscard]] workspace::PictureOperations Operations() const;
    /// Puts `operations` into the controls.
    void SetOperations(const workspace::PictureOperations& operations);
    /// The current picture after the operations (null when they do not apply).
    [[nodiscard]] const QImage& PreviewImage() const { return preview_; }

  private:
    void Build(int count);
    void Update();

    std::shared_ptr<const workspace::PixelImage> source_;
    QImage preview_;
    bool filling_ = false;

    QGroupBox* cropBox_ = nullptr;
    QSpinBox* cropX_ = nullptr;
    QSpinBox* cropY_ = nullptr;
    QSpinBox* cropWidth_ = nullptr;
    QSpinBox* cropHeight_ = nullptr;
    QComboBox* rotateBox_ = nullptr;
    QComboBox* flipBox_ = nullptr;
    QComboBox* scaleModeBox_ = nullptr;
    QSpinBox* scaleWidth_ = nullptr;
    QSpinBox* scaleHeight_ = nullptr;
    QComboBox* filterBox_ = nullptr;
    QCheckBox* invertBox_ = nullptr;
    QCheckBox* thresholdBox_ = nullptr;
    QSpinBox* thresholdLevel_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

/// A short description of `operations` for a tooltip ("rotate 90, flip
/// horizontal, scale fit 64 x 64"); empty when there are none.
QString DescribeOperations(const workspace::PictureOperations& operations);

/// `picture` as a QImage that keeps its alpha when it has transparency.
QImage ToPreviewImage(const workspace::PixelImage& picture);

}  // namespace pictor::gui
