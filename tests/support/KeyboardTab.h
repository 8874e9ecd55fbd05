#pragma once

class QWidget;

namespace norvelle::test {

// Where Tab, pressed through xdotool in a window that has the keyboard, took the focus.
struct TabStep {
    QWidget* control = nullptr; // null when the focus did not move
    bool marked = false; // the window's look around that control changed with it
};

TabStep pressTab(QWidget& window);

} // namespace norvelle::test
