#pragma once

#include <QIcon>

namespace pictor::gui {

/// The application icon, drawn in code (the same design as packaging/pictor.svg,
/// which the desktop entry uses): an LCD module with a picture on its screen.
QIcon AppIcon();

}  // namespace pictor::gui
