#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/common/translatable.h"
#include "core/text/text_picture.h"
#include "core/workspace/picture_operations.h"

namespace pictor::workspace {

// The keys of a project's `[picture]` and `[text]` sections beyond the file,
// name, shown flag and position: a picture's operations and a text's style.

/// How a key was read.
enum class ItemKeyRead { Unknown, Read, Refused };

/// A key with its value as written (before escaping).
using ItemKeyValue = std::pair<std::string, std::string>;

/// Reads one operation key ("crop", "rotate", "flip", "scale", "filter", "invert",
/// "threshold") into `operations`. A bad value gives `Refused` with the reason in
/// `reason` (through `lookup`); a key of another kind gives `Unknown`.
ItemKeyRead ReadOperationKey(std::string_view key, std::string_view value,
                             PictureOperations& operations, std::string& reason,
                             const CoreTextLookup& lookup = {});

/// Reads one text key ("text", "size", "color", "background", "align",
/// "antialias") into `text`, as ReadOperationKey does; `value` is unescaped.
ItemKeyRead ReadTextKey(std::string_view key, const std::string& value, text::TextPicture& text,
                        std::string& reason, const CoreTextLookup& lookup = {});

/// The operation keys to write, in the order the operations apply; only those
/// that are set.
std::vector<ItemKeyValue> OperationKeys(const PictureOperations& operations);

/// The text keys to write ("font" and "name" are the project's): all of them.
std::vector<ItemKeyValue> TextKeys(const text::TextPicture& text);

}  // namespace pictor::workspace
