#include "core/common/translatable.h"

#include <array>

#include "core/common/text_format.h"

namespace pictor {

namespace {

// The status texts of the core's jobs that carry a percentage.
constexpr std::array kPercentStatusPatterns = {
    PICTOR_TRANSLATE_NOOP("Core", "擦除Flash...%d %%"),
    PICTOR_TRANSLATE_NOOP("Core", "写数据 %d %%"),
    PICTOR_TRANSLATE_NOOP("Core", "写数据%d %%"),
    PICTOR_TRANSLATE_NOOP("Core", "写数据...%d %%"),
    PICTOR_TRANSLATE_NOOP("Core", "下载 Bin档%d %%"),
    PICTOR_TRANSLATE_NOOP("Core", "读数据%d %%"),
    PICTOR_TRANSLATE_NOOP("Core", "读数据...%d %%"),
};

// The status texts of the core's jobs made of a pattern with numbers.
constexpr std::array kCountStatusPatterns = {
    PICTOR_TRANSLATE_NOOP("Core", "%1 of %2 blocks changed"),
};

}  // namespace

Message LocalizeMessage(const Message& message, const CoreTextLookup& lookup) {
    Message out = message;
    out.text = message.pattern.empty() ? lookup(message.text)
                                       : FillPlaceholders(lookup(message.pattern), message.args);
    if (!message.caption.empty()) {
        out.caption = lookup(message.caption);
    }
    return out;
}

std::string LocalizeStatus(const std::string& text, const CoreTextLookup& lookup) {
    for (const char* pattern : kPercentStatusPatterns) {
        const int value = MatchPercentText(pattern, text);
        if (value >= 0) {
            return FormatPercentText(lookup(pattern), value);
        }
    }
    for (const char* pattern : kCountStatusPatterns) {
        if (const auto values = MatchNumberPlaceholders(pattern, text)) {
            return FillPlaceholders(lookup(pattern), *values);
        }
    }
    return lookup(text);
}

}  // namespace pictor
