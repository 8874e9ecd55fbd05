#pragma once

#include <QColor>

namespace norvelle::AaPopupLook {

// The format popup's colours: white on the dark theme, black at 0.9 on the light one.
QColor ink(bool dark);
QColor withOpacity(QColor color, qreal opacity);
// A chip's fill: blue when active, else a faint wash of the ink.
QColor chipFill(bool active, bool dark);
// White or black at `opacity`, by theme.
QColor wash(bool dark, qreal opacity);
QColor blue(qreal opacity = 1.0);
QColor accent();
QColor background(bool dark);
// Section titles and the custom-colour titles.
QColor quietText(bool dark);

} // namespace norvelle::AaPopupLook
