#pragma once

#include <QDialog>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/conversion/picture_decoder.h"
#include "core/settings/model_profile.h"

class QListWidget;
class QSpinBox;

namespace pictor::gui {

/// One picture that the table of a resource image (`Icon.bin`) lists.
struct StoredPicture {
    std::size_t index = 0;
    std::uint64_t offset = 0;  // block start in bytes: table entry x allocation unit
    std::uint64_t bytes = 0;   // up to the next picture's block, or to the end of the image
    // Read through the decoder: the size from the block's size prefix, or why the
    // block cannot be read. Neither when the image has no size prefix.
    std::optional<conversion::PictureSize> size;
    std::string error;
    // From an Icon.h beside the image: the picture's symbol, and its size when
    // the header defines it in pixels.
    std::string symbol;
    std::optional<conversion::PictureSize> headerSize;
};

/// Takes the symbols ("#define NAME  0x<index>") and the pixel sizes ("NAME_W",
/// "NAME_H", written for depths of 8 bits and more) of `headerText` (an Icon.h)
/// into the pictures of the same index. Lines it does not know are passed over.
void AddHeaderSymbols(std::vector<StoredPicture>& pictures, const std::string& headerText,
                      int colorDepth);

/// The pictures the table of `image` lists under `profile` (its allocation unit
/// and size prefix): entries 0, 1, ... up to the first empty one. Empty when the
/// image is shorter than its table or the table lists nothing.
std::vector<StoredPicture> ListStoredPictures(std::span<const std::uint8_t> image,
                                              const settings::ModelProfile& profile);

/// Picks the picture the viewer draws: a list of the table's pictures with
/// their sizes, an index box kept in step with it, and, for an image without
/// size prefix, the width and height to read the picture with.
class StoredPictureDialog final : public QDialog {
    Q_OBJECT
  public:
    /// `size` is what the width and height boxes start with (an image without
    /// size prefix) until a picture with a known size is chosen; with a prefix
    /// they are disabled.
    StoredPictureDialog(const std::vector<StoredPicture>& pictures, bool sizePrefix,
                        conversion::PictureSize size, QWidget* parent = nullptr);

    /// The index typed or chosen; it may lie past the table's last picture.
    [[nodiscard]] std::size_t Index() const;
    [[nodiscard]] conversion::PictureSize Size() const;

  private:
    QListWidget* list_ = nullptr;
    QSpinBox* index_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
};

}  // namespace pictor::gui
