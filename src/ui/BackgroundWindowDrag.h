#pragma once

class QMouseEvent;
class QWidget;

namespace norvelle {

// Moves a window by a press on its background, through the window manager.
class BackgroundWindowDrag {
public:
    explicit BackgroundWindowDrag(QWidget& window);

    // From the window's mousePressEvent, for presses no child took: whether a move began.
    bool press(const QMouseEvent& event);
    // From its mouseReleaseEvent. The release of a quick click can come before the window
    // manager has begun the move; it then must not begin it, or the window would follow the
    // pointer until the next click.
    void release();

private:
    QWidget& m_window;
    bool m_moveAsked = false;
};

} // namespace norvelle
