#pragma once

class QWidget;

namespace norvelle {

// What the window manager may do to a window that has no frame or controls of its own.
namespace WindowManagerFunctions {

// Lets the window manager only move `window`: it offers no close, minimise, maximise or
// resize and draws no frame. Call before each showing: a window manager reads the hints when
// it maps the window. Does nothing without X11.
void moveOnly(QWidget& window);

} // namespace WindowManagerFunctions

} // namespace norvelle
