#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "core/common/message.h"
#include "core/common/translatable.h"

namespace pictor::gui {

/// The languages of the desktop application.
enum class UiLanguage { Chinese, English };

/// The language the system's UI languages (`QLocale::uiLanguages()`, the
/// preferred first) ask for: Chinese when the first is zh..., otherwise English.
UiLanguage SystemUiLanguage(const QStringList& uiLanguages);

/// "zh" or "en", the name the user state keeps; and back (nothing for others).
QString UiLanguageCode(UiLanguage language);
std::optional<UiLanguage> UiLanguageFromCode(const QString& code);

/// Puts the translation of `language` (built into the program) into the
/// application in place of the previous one. Qt then sends every widget a
/// QEvent::LanguageChange, so open windows retranslate themselves at once.
/// User-interface thread only.
void InstallUiLanguage(UiLanguage language);

/// The language installed last (Chinese, the texts as written, before any).
UiLanguage InstalledUiLanguage();

/// `source` of `context` in the installed language (the source itself when the
/// translation has none). lupdate collects the calls by this name.
QString Translate(const char* context, const char* source);

/// How the core looks its texts up in the installed language.
CoreTextLookup CoreTextLookUp();

/// A core message, a core text and a core status text in the installed language.
Message LocalizeCoreMessage(const Message& message);
QString CoreText(const std::string& text);
QString LocalizeCoreStatus(const std::string& text);

}  // namespace pictor::gui
