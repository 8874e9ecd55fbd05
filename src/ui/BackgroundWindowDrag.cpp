#include "ui/BackgroundWindowDrag.h"

#include "platform/WindowManagerMove.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace norvelle {

BackgroundWindowDrag::BackgroundWindowDrag(QWidget& window)
    : m_window(window)
{
}

bool BackgroundWindowDrag::press(const QMouseEvent& event)
{
    QWindow* window = m_window.windowHandle();
    if (event.button() != Qt::LeftButton || !window) {
        return false;
    }
    // The window manager can place the window without Qt hearing of it, and the move is asked
    // from where Qt believes the pointer to be: tell Qt where the window really is.
    const QPoint origin = (event.globalPosition() - event.position()).toPoint();
    if (window->position() != origin) {
        window->setPosition(origin);
    }
    m_moveAsked = window->startSystemMove();
    return m_moveAsked;
}

void BackgroundWindowDrag::release()
{
    if (std::exchange(m_moveAsked, false)) {
        WindowManagerMove::cancel(m_window);
    }
}

} // namespace norvelle
