#include "platform/WindowPlacement.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace norvelle {

namespace {

class FramePlacementRefiner : public QObject {
public:
    FramePlacementRefiner(QWidget& window, std::function<QPoint(QSize)> origin)
        : QObject(&window)
        , m_window(window)
        , m_origin(std::move(origin))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (watched == &m_window && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)) {
            const QSize frameSize = m_window.frameGeometry().size();
            if (frameSize != m_window.size()) {
                m_window.removeEventFilter(this);
                m_window.move(m_origin(frameSize));
                deleteLater();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& m_window;
    std::function<QPoint(QSize)> m_origin;
};

} // namespace

QRect WindowPlacement::currentWorkArea()
{
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->availableGeometry() : QRect();
}

QPoint WindowPlacement::centredOrigin(QSize frameSize, const QRect& area)
{
    QRect frame(QPoint(0, 0), frameSize);
    frame.moveCenter(area.center());
    const int left = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    return {left, top};
}

void WindowPlacement::placeFrame(QWidget& window, const std::function<QPoint(QSize frameSize)>& origin)
{
    window.move(origin(window.frameGeometry().size()));
    if (!window.isVisible()) {
        new FramePlacementRefiner(window, origin);
    }
}

} // namespace norvelle
