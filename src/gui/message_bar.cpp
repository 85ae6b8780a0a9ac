#include "gui/message_bar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

constexpr const char* kStyle =
    "QFrame#messageBar { background: %1; border: 1px solid %2; border-radius: 4px; } "
    "QFrame#messageBar > QLabel { color: black; }";

// Background and frame of each kind: light enough for black text at any scale.
struct Colours {
    const char* background;
    const char* frame;
};

Colours ColoursOf(MessageBar::Kind kind) {
    switch (kind) {
        case MessageBar::Kind::Positive:
            return {"#dff2d8", "#4a9a3a"};
        case MessageBar::Kind::Warning:
            return {"#fdf0c8", "#c99400"};
        case MessageBar::Kind::Error:
            return {"#f8dcdc", "#c0392b"};
        case MessageBar::Kind::Information:
            break;
    }
    return {"#dcebf8", "#3d7cc9"};
}

}  // namespace

MessageBar::MessageBar(QWidget* parent)
    : QFrame(parent), text_(new QLabel), actions_(new QHBoxLayout), close_(new QToolButton) {
    setObjectName(QStringLiteral("messageBar"));
    text_->setObjectName(QStringLiteral("messageBarText"));
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    close_->setObjectName(QStringLiteral("messageBarClose"));
    close_->setText(QStringLiteral("\u2715"));
    close_->setAutoRaise(true);
    ShowCloseTip();
    connect(close_, &QToolButton::clicked, this, &MessageBar::Dismiss);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 4, 4);
    layout->addWidget(text_, 1);
    layout->addLayout(actions_);
    layout->addWidget(close_, 0, Qt::AlignTop);
    hide();
}

void MessageBar::Post(Kind kind, const QString& text, std::vector<Action> actions) {
    kind_ = kind;
    const Colours colours = ColoursOf(kind);
    setStyleSheet(QString::fromLatin1(kStyle).arg(QLatin1String(colours.background),
                                                  QLatin1String(colours.frame)));
    text_->setText(text);
    while (QLayoutItem* item = actions_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (Action& action : actions) {
        auto* button = new QPushButton(action.text);
        button->setObjectName(action.name);
        button->setAutoDefault(false);
        button->setToolTip(action.text);
        connect(button, &QPushButton::clicked, this, std::move(action.run));
        actions_->addWidget(button, 0, Qt::AlignTop);
    }
    show();
}

void MessageBar::Dismiss() {
    hide();
    text_->clear();
}

QString MessageBar::Text() const {
    return isHidden() ? QString() : text_->text();
}

void MessageBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ShowCloseTip();
    }
    QFrame::changeEvent(event);
}

void MessageBar::ShowCloseTip() {
    close_->setToolTip(Translate("MessageBar", "Close this message"));
}

}  // namespace pictor::gui
