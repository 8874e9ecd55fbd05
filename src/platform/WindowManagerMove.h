#pragma once

class QWidget;

namespace norvelle {

// The window manager's move or resize of a window, asked for through Qt
// (QWindow::startSystemMove, startSystemResize).
namespace WindowManagerMove {

// Ends a move or resize asked for but not yet begun by the window manager, which would
// otherwise begin it and have the window follow the pointer until the next click.
void cancel(const QWidget& window);

} // namespace WindowManagerMove

} // namespace norvelle
