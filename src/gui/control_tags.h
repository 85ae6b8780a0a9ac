#pragma once

#include <QWidget>

namespace pictor::gui {

/// Name of the dynamic property that carries a control's numeric identifier.
inline constexpr const char* kControlIdProperty = "controlId";

/// Gives a control its numeric identifier (as the "controlId" property) and a
/// descriptive object name, so tests and automation can find it either way.
/// Returns the widget for chaining.
template <typename Widget>
Widget* Tag(Widget* widget, int controlId, const char* objectName) {
    widget->setProperty(kControlIdProperty, controlId);
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

/// Gives a control without identifier a descriptive object name.
template <typename Widget>
Widget* Name(Widget* widget, const char* objectName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

/// The first descendant of `root` of type `Widget` whose "controlId" is `controlId`,
/// or nullptr.
template <typename Widget = QWidget>
Widget* FindControl(const QObject* root, int controlId) {
    for (Widget* child : root->findChildren<Widget*>()) {
        if (child->property(kControlIdProperty).toInt() == controlId &&
            child->property(kControlIdProperty).isValid()) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace pictor::gui
