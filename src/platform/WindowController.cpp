#include "platform/WindowController.h"

#include <QEvent>

namespace norvelle {

WindowController::WindowController(std::unique_ptr<QWidget> window, QObject* parent)
    : QObject(parent)
    , m_window(std::move(window))
{
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    m_window->installEventFilter(this);
}

WindowController::~WindowController() = default;

std::unique_ptr<QWidget> WindowController::makeWindow(const QString& title, QSize size, QSize minimumSize,
    Qt::WindowFlags flags)
{
    auto window = std::make_unique<QWidget>(nullptr, flags);
    window->setWindowTitle(title);
    if (minimumSize.isValid()) {
        window->setMinimumSize(minimumSize);
        window->resize(size);
    } else {
        window->setFixedSize(size);
    }
    return window;
}

void WindowController::showWindow()
{
    // Showing a minimised window again leaves it minimised, and Qt asks the window manager to
    // activate only a mapped window: it is brought back from its minimised state first.
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void WindowController::close()
{
    m_window->close();
}

bool WindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window.get() && event->type() == QEvent::Close && m_window->isVisible()) {
        emit windowWillClose();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace norvelle
