#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace norvelle {

// Where top-level windows go on the desktop.
namespace WindowPlacement {

// The work area (the screen less its panels) of the screen under the pointer, else of the
// primary screen; empty without a screen.
QRect currentWorkArea();

// The origin that centres a frame of `frameSize` in `area`, moved in to keep the frame wholly
// inside it (its top left corner first, when it is larger).
QPoint centredOrigin(QSize frameSize, const QRect& area);

// Moves `window` to `origin` of its frame size. Before its first showing a window's frame is
// only its content, the window manager's title bar and borders not known yet: it is moved again
// once they are, so the placement holds for what the user sees.
void placeFrame(QWidget& window, const std::function<QPoint(QSize frameSize)>& origin);

} // namespace WindowPlacement

} // namespace norvelle
