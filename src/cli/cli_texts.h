#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/qm_catalog.h"
#include "core/common/message.h"

namespace pictor::cli {

/// The languages of the tool's texts.
enum class Language { Chinese, English };

/// The language a locale or language variable names: zh... is Chinese, every
/// other non-empty text (C and POSIX too) is English; nothing for an empty text.
std::optional<Language> LanguageOfVariable(std::string_view value);

/// The language `--lang` names ("zh" or "en"); nothing for any other text.
std::optional<Language> LanguageOfOption(std::string_view value);

/// The language of a run: `--lang` when given, else PICTOR_LANG, LC_ALL,
/// LC_MESSAGES, LANG (the first that is set and not empty), else English.
/// `getenv` reads one environment variable (null when unset).
Language ChooseLanguage(std::optional<Language> option,
                        const std::function<const char*(const char*)>& getenv);

/// The value of `--lang` in `argv` ("--lang zh" or "--lang=zh"), read before the
/// command line is parsed so that the help is already in that language.
std::optional<Language> LanguageInArguments(int argc, const char* const* argv);

/// The tool's texts in one language: the compiled translation built into the
/// binary, looked up without Qt. A text without a translation stays as written.
class Texts {
  public:
    explicit Texts(Language language);

    [[nodiscard]] Language Lang() const { return language_; }

    /// `source` of `context` in this language.
    [[nodiscard]] std::string Translate(const char* context, const char* source) const;
    [[nodiscard]] std::string Translate(std::string_view context, std::string_view source) const;

    /// A core message in this language (its pattern translated and filled again).
    [[nodiscard]] Message Localize(const Message& message) const;

    /// A core status text ("写数据...37 %") in this language.
    [[nodiscard]] std::string LocalizeStatus(const std::string& text) const;

  private:
    Language language_;
    std::optional<QmCatalog> catalog_;
};

}  // namespace pictor::cli
