#include "cli/cli_texts.h"

#include <cstring>

#include "compiled_translations.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"

namespace pictor::cli {

std::optional<Language> LanguageOfVariable(std::string_view value) {
    if (value.empty()) {
        return std::nullopt;
    }
    return value.starts_with("zh") ? Language::Chinese : Language::English;
}

std::optional<Language> LanguageOfOption(std::string_view value) {
    if (value == "zh") {
        return Language::Chinese;
    }
    if (value == "en") {
        return Language::English;
    }
    return std::nullopt;
}

Language ChooseLanguage(std::optional<Language> option,
                        const std::function<const char*(const char*)>& getenv) {
    if (option) {
        return *option;
    }
    for (const char* name : {"PICTOR_LANG", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (const std::optional<Language> language =
                LanguageOfVariable(value != nullptr ? value : "")) {
            return *language;
        }
    }
    return Language::English;
}

std::optional<Language> LanguageInArguments(int argc, const char* const* argv) {
    std::optional<Language> found;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            break;
        }
        if (arg == "--lang" && i + 1 < argc) {
            found = LanguageOfOption(argv[++i]);
        } else if (arg.starts_with("--lang=")) {
            found = LanguageOfOption(arg.substr(std::strlen("--lang=")));
        }
    }
    return found;
}

Texts::Texts(Language language)
    : language_(language),
      catalog_(QmCatalog::Parse(CompiledTranslation(language == Language::Chinese ? "zh" : "en"))) {
}

std::string Texts::Translate(const char* context, const char* source) const {
    return Translate(std::string_view(context), std::string_view(source));
}

std::string Texts::Translate(std::string_view context, std::string_view source) const {
    if (catalog_) {
        if (std::optional<std::string> found = catalog_->Find(context, source)) {
            return std::move(*found);
        }
    }
    return std::string(source);
}

Message Texts::Localize(const Message& message) const {
    return LocalizeMessage(
        message, [this](std::string_view source) { return Translate(kCoreTextContext, source); });
}

std::string Texts::LocalizeStatus(const std::string& text) const {
    return pictor::LocalizeStatus(
        text, [this](std::string_view source) { return Translate(kCoreTextContext, source); });
}

}  // namespace pictor::cli
