#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace pictor::gui {

/// The texts of a window that follow the interface language: each is a source
/// text (marked with QT_TRANSLATE_NOOP) and how to put it on its widget. `Add`
/// puts the current translation on at once; `Apply` again after a language
/// change (QEvent::LanguageChange).
class TranslatedTexts {
  public:
    using Setter = std::function<void(const QString&)>;

    void Add(const char* context, const char* source, Setter setter) {
        setter(QCoreApplication::translate(context, source));
        texts_.push_back({context, source, std::move(setter)});
    }

    void Apply() const {
        for (const Text& text : texts_) {
            text.setter(QCoreApplication::translate(text.context, text.source));
        }
    }

  private:
    struct Text {
        const char* context;
        const char* source;
        Setter setter;
    };
    std::vector<Text> texts_;
};

}  // namespace pictor::gui
