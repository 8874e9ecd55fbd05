#pragma once

class QWidget;

namespace norvelle {

// What the window manager is told of a floating panel beyond Qt's own hints.
class PanelWindowHints {
public:
    // Keeps `window` out of the task bar and the pager (and so out of most Alt+Tab lists).
    // Call before each showing: the state is read by the window manager when it maps the window.
    // Does nothing without X11.
    static void skipTaskbarAndPager(QWidget& window);
};

} // namespace norvelle
