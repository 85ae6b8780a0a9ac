#include "gui/ui_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QVariant>
#include <memory>

#include "compiled_translations.h"
#include "core/common/translatable.h"

namespace pictor::gui {

namespace {

constexpr const char* kTranslatorName = "pictorTranslator";
constexpr const char* kQtTranslatorName = "pictorQtTranslator";

std::string LookUpCoreText(std::string_view source) {
    const std::string key(source);
    return QCoreApplication::translate(kCoreTextContext, key.c_str()).toStdString();
}

QTranslator* InstalledTranslator(const char* name = kTranslatorName) {
    QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr
               ? app->findChild<QTranslator*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly)
               : nullptr;
}

void RemoveTranslator(const char* name) {
    if (QTranslator* previous = InstalledTranslator(name)) {
        QCoreApplication::removeTranslator(previous);
        const std::unique_ptr<QTranslator> gone(previous);
    }
}

// Qt's own texts (the buttons of message boxes, the file dialog) follow the
// interface language: the Chinese ones are built in (see src/gui/CMakeLists.txt),
// else taken from Qt's installed translations.
void InstallQtTranslation(UiLanguage language) {
    RemoveTranslator(kQtTranslatorName);
    if (language != UiLanguage::Chinese) {
        return;
    }
    auto translator = std::make_unique<QTranslator>();
    translator->setObjectName(QString::fromLatin1(kQtTranslatorName));
    if (!translator->load(QStringLiteral(":/qt-translations/qtbase_zh_CN.qm")) &&
        !translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return;
    }
    QCoreApplication::installTranslator(translator.get());
    translator.release()->setParent(QCoreApplication::instance());
}

}  // namespace

UiLanguage SystemUiLanguage(const QStringList& uiLanguages) {
    return !uiLanguages.isEmpty() && uiLanguages.front().startsWith(QLatin1String("zh"))
               ? UiLanguage::Chinese
               : UiLanguage::English;
}

QString UiLanguageCode(UiLanguage language) {
    return language == UiLanguage::Chinese ? QStringLiteral("zh") : QStringLiteral("en");
}

std::optional<UiLanguage> UiLanguageFromCode(const QString& code) {
    if (code == QLatin1String("zh")) {
        return UiLanguage::Chinese;
    }
    if (code == QLatin1String("en")) {
        return UiLanguage::English;
    }
    return std::nullopt;
}

void InstallUiLanguage(UiLanguage language) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return;
    }
    RemoveTranslator(kTranslatorName);
    InstallQtTranslation(language);
    auto translator = std::make_unique<QTranslator>();
    translator->setObjectName(QString::fromLatin1(kTranslatorName));
    translator->setProperty("pictorLanguage", UiLanguageCode(language));
    const std::span<const std::uint8_t> bytes =
        CompiledTranslation(UiLanguageCode(language).toStdString());
    if (!bytes.empty() && translator->load(bytes.data(), static_cast<int>(bytes.size()))) {
        QCoreApplication::installTranslator(translator.get());
    }
    // The application owns it from here, so it lives as long as the application.
    translator.release()->setParent(app);
}

UiLanguage InstalledUiLanguage() {
    const QTranslator* translator = InstalledTranslator();
    if (translator == nullptr) {
        return UiLanguage::Chinese;
    }
    return UiLanguageFromCode(translator->property("pictorLanguage").toString())
        .value_or(UiLanguage::Chinese);
}

QString Translate(const char* context, const char* source) {
    return QCoreApplication::translate(context, source);
}

CoreTextLookup CoreTextLookUp() {
    return LookUpCoreText;
}

Message LocalizeCoreMessage(const Message& message) {
    return LocalizeMessage(message, LookUpCoreText);
}

QString CoreText(const std::string& text) {
    return QString::fromStdString(LookUpCoreText(text));
}

QString LocalizeCoreStatus(const std::string& text) {
    return QString::fromStdString(LocalizeStatus(text, LookUpCoreText));
}

}  // namespace pictor::gui
