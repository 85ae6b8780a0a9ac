#include "core/workspace/project_item_keys.h"

#include <array>
#include <optional>

#include "core/text/text_values.h"
#include "core/workspace/operation_values.h"

namespace pictor::workspace {

namespace {

template <class Target>
struct KeyReader {
    std::string_view key;
    const char* refusal;  // the reason for a bad value (a core text)
    bool (*read)(std::string_view value, Target& target);
};

template <class Value, class Target, class Field>
bool Store(std::optional<Value> parsed, Target& target, Field field) {
    if (!parsed) {
        return false;
    }
    target.*field = *parsed;
    return true;
}

const std::array<KeyReader<PictureOperations>, 7> kOperationKeys{{
    {"crop",
     PICTOR_TRANSLATE_NOOP("Core", "\"crop\" must be X,Y,W,H: whole numbers, W and H at least 1"),
     [](std::string_view v, PictureOperations& o) {
         return Store(ParseCrop(v), o, &PictureOperations::crop);
     }},
    {"rotate", PICTOR_TRANSLATE_NOOP("Core", "\"rotate\" must be 0, 90, 180 or 270"),
     [](std::string_view v, PictureOperations& o) {
         return Store(ParseRotate(v), o, &PictureOperations::rotate);
     }},
    {"flip", PICTOR_TRANSLATE_NOOP("Core", "\"flip\" must be none, horizontal, vertical or both"),
     [](std::string_view v, PictureOperations& o) {
         return Store(ParseFlip(v), o, &PictureOperations::flip);
     }},
    {"scale", PICTOR_TRANSLATE_NOOP("Core", "\"scale\" must be W x H or fit W x H, each 1 to 8192"),
     [](std::string_view v, PictureOperations& o) {
         return Store(ParseScale(v), o, &PictureOperations::scale);
     }},
    {"filter", PICTOR_TRANSLATE_NOOP("Core", "\"filter\" must be nearest, area or bilinear"),
     [](std::string_view v, PictureOperations& o) {
         return Store(ParseFilter(v), o, &PictureOperations::filter);
     }},
    {"invert", PICTOR_TRANSLATE_NOOP("Core", "\"invert\" must be yes or no"),
     [](std::string_view v, PictureOperations& o) {
         return Store(ParseYesNo(v), o, &PictureOperations::invert);
     }},
    {"threshold", PICTOR_TRANSLATE_NOOP("Core", "\"threshold\" must be a whole number 0 to 255"),
     [](std::string_view v, PictureOperations& o) {
         return Store(ParseThreshold(v), o, &PictureOperations::threshold);
     }},
}};

std::optional<std::optional<std::uint32_t>> ParseBackground(std::string_view text) {
    using Background = std::optional<std::uint32_t>;
    if (text == "transparent") {
        return std::optional<Background>(std::in_place, std::nullopt);
    }
    if (const Background color = text::ParseColor(text)) {
        return std::optional<Background>(std::in_place, color);
    }
    return std::nullopt;
}

const std::array<KeyReader<text::TextPicture>, 6> kTextKeys{{
    {"text", PICTOR_TRANSLATE_NOOP("Core", "\"text\" must not be empty"),
     [](std::string_view v, text::TextPicture& t) {
         t.text = std::string(v);
         return !v.empty();
     }},
    {"size", PICTOR_TRANSLATE_NOOP("Core", "\"size\" must be a whole number of pixels, 1 to 1024"),
     [](std::string_view v, text::TextPicture& t) {
         return Store(text::ParseTextSize(v), t, &text::TextPicture::size);
     }},
    {"color", PICTOR_TRANSLATE_NOOP("Core", "\"color\" must be #RRGGBB"),
     [](std::string_view v, text::TextPicture& t) {
         return Store(text::ParseColor(v), t, &text::TextPicture::color);
     }},
    {"background", PICTOR_TRANSLATE_NOOP("Core", "\"background\" must be #RRGGBB or transparent"),
     [](std::string_view v, text::TextPicture& t) {
         return Store(ParseBackground(v), t, &text::TextPicture::background);
     }},
    {"align", PICTOR_TRANSLATE_NOOP("Core", "\"align\" must be left, center or right"),
     [](std::string_view v, text::TextPicture& t) {
         return Store(text::ParseAlign(v), t, &text::TextPicture::align);
     }},
    {"antialias", PICTOR_TRANSLATE_NOOP("Core", "\"antialias\" must be on or off"),
     [](std::string_view v, text::TextPicture& t) {
         return Store(ParseYesNo(v), t, &text::TextPicture::antialias);
     }},
}};

template <class Target, std::size_t N>
ItemKeyRead ReadKey(const std::array<KeyReader<Target>, N>& table, std::string_view key,
                    std::string_view value, Target& target, std::string& reason,
                    const CoreTextLookup& lookup) {
    for (const KeyReader<Target>& reader : table) {
        if (reader.key != key) {
            continue;
        }
        if (reader.read(value, target)) {
            return ItemKeyRead::Read;
        }
        reason = LookUp(lookup, reader.refusal);
        return ItemKeyRead::Refused;
    }
    return ItemKeyRead::Unknown;
}

}  // namespace

ItemKeyRead ReadOperationKey(std::string_view key, std::string_view value,
                             PictureOperations& operations, std::string& reason,
                             const CoreTextLookup& lookup) {
    return ReadKey(kOperationKeys, key, value, operations, reason, lookup);
}

ItemKeyRead ReadTextKey(std::string_view key, const std::string& value, text::TextPicture& text,
                        std::string& reason, const CoreTextLookup& lookup) {
    return ReadKey(kTextKeys, key, value, text, reason, lookup);
}

std::vector<ItemKeyValue> OperationKeys(const PictureOperations& operations) {
    std::vector<ItemKeyValue> keys;
    if (operations.crop) {
        keys.emplace_back("crop", CropText(*operations.crop));
    }
    if (operations.rotate != 0) {
        keys.emplace_back("rotate", std::to_string(operations.rotate));
    }
    if (operations.flip != Flip::None) {
        keys.emplace_back("flip", FlipText(operations.flip));
    }
    if (operations.scale.mode != ScaleMode::None) {
        keys.emplace_back("scale", ScaleText(operations.scale));
    }
    if (operations.filter) {
        keys.emplace_back("filter", FilterText(*operations.filter));
    }
    if (operations.invert) {
        keys.emplace_back("invert", "yes");
    }
    if (operations.threshold) {
        keys.emplace_back("threshold", std::to_string(*operations.threshold));
    }
    return keys;
}

std::vector<ItemKeyValue> TextKeys(const text::TextPicture& text) {
    return {
        {"text", text.text},
        {"size", std::to_string(text.size)},
        {"color", text::ColorText(text.color)},
        {"background", text.background ? text::ColorText(*text.background) : "transparent"},
        {"align", text::AlignText(text.align)},
        {"antialias", text.antialias ? "on" : "off"},
    };
}

}  // namespace pictor::workspace
