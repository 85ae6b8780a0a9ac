#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/common/message.h"

/// Marks a user-visible text of the core for translation without translating it:
/// it expands to the text itself. `lupdate` collects these (it is told that this
/// macro works like QT_TRANSLATE_NOOP), and the front ends look the text up in
/// their translations under `context` when they show it. The core itself stays
/// free of Qt.
#define PICTOR_TRANSLATE_NOOP(context, text) text

namespace pictor {

/// The context of the core's texts in the translations.
inline constexpr const char* kCoreTextContext = "Core";

/// Looks up one core text in a front end's translation; returns the text itself
/// when there is no translation.
using CoreTextLookup = std::function<std::string(std::string_view source)>;

/// `source` through `lookup`; the source itself when there is no lookup (the
/// core's own language).
inline std::string LookUp(const CoreTextLookup& lookup, const char* source) {
    return lookup ? lookup(source) : std::string(source);
}

/// `message` with its text and caption translated by `lookup`. A text made from
/// a pattern is made again from the translated pattern and the same values.
Message LocalizeMessage(const Message& message, const CoreTextLookup& lookup);

/// A status text of a core job translated by `lookup`; a text with a percentage
/// ("写数据...37 %") is matched to its pattern, which is translated and filled.
std::string LocalizeStatus(const std::string& text, const CoreTextLookup& lookup);

}  // namespace pictor
