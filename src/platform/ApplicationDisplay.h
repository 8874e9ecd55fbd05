#pragma once

// Xlib's Display, declared without Xlib's macros (which clash with Qt's headers).
struct _XDisplay;

namespace norvelle {

// A new connection of our own to the X display the application runs on; null when it runs on
// none (offscreen, Wayland without XWayland). The caller closes it with XCloseDisplay.
_XDisplay* openApplicationDisplay();

} // namespace norvelle
