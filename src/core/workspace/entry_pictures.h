#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/message.h"
#include "core/text/text_picture.h"
#include "core/workspace/image_entry.h"
#include "core/workspace/picture_loader.h"
#include "core/workspace/picture_operations.h"

namespace pictor::workspace {

// How a list entry's pixels are made: read from its file or drawn from its text,
// then put through its operations. All functions are thread-safe.

/// The picture file at `path` opened for encoding after `operations`. The rows of
/// a 24-bit bitmap are picked from the file's bytes as they are asked for when the
/// operations scale with the nearest filter or not at all (one pass, no whole
/// copy); any other picture is decoded whole and then operated on. Nothing when the
/// file does not load or the operations do not apply to its size.
std::optional<PictureRows> OpenOperatedRows(const std::filesystem::path& path,
                                            const PictureOperations& operations,
                                            std::vector<std::uint8_t> buffer = {});

/// The picture of `entry` before its operations: its file decoded or its text
/// drawn. Nothing when it does not load.
std::optional<PixelImage> LoadEntrySource(const ImageEntry& entry);

/// Whether a picture must still have the size its entry was listed with.
enum class ListedSize { Required, Any };

/// The picture of `entry` as the conversion and the preview see it: its kept
/// bitmap, or its source loaded now and operated on. Nothing when that fails or,
/// with `ListedSize::Required`, when the result is not of the entry's size (its
/// file changed since it was listed); the preview takes the file as it now is.
std::optional<PixelImage> LoadEntryPicture(const ImageEntry& entry,
                                           ListedSize size = ListedSize::Required);

/// Rows of `entry` for encoding, as LoadEntryPicture gives its pixels; for a file
/// without a kept bitmap see OpenOperatedRows.
std::optional<PictureRows> OpenEntryRows(const ImageEntry& entry,
                                         std::vector<std::uint8_t> buffer = {});

/// Gives `entry` (listed, with its source size) `operations`: sets its size after
/// them and, when it keeps its bitmap or its thumbnail, makes them again from
/// `source` (its picture before operations; loaded from the file or text when
/// null). When the operations do not apply to the source's size, or the source no
/// longer loads, returns false, leaves the entry as it was and sets `why` (when
/// given) to the message.
bool SetEntryOperations(ImageEntry& entry, const PictureOperations& operations,
                        Message* why = nullptr, const PixelImage* source = nullptr);

/// A list entry for a text item named `name`: the text is drawn (its size is the
/// entry's source size), `operations` are applied and, with `keepPixels`, the
/// picture and its thumbnail are kept. Characters the font lacks are reported
/// through `messages` (the entry is still made); a text that cannot be drawn and
/// operations that do not apply are reported there and give nothing.
std::optional<ImageEntry> MakeTextEntry(const text::TextPicture& text, const std::string& name,
                                        const PictureOperations& operations, bool keepPixels,
                                        MessageSink& messages);

}  // namespace pictor::workspace
