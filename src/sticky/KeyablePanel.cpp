#include "sticky/KeyablePanel.h"

#include "platform/Compositor.h"
#include "platform/PanelWindowHints.h"
#include "platform/WindowManagerMove.h"
#include "ui/SchemePalette.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainterPath>
#include <QWindow>

#include <utility>

namespace norvelle {

namespace {

constexpr double cornerRadius = 16.0;

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    return horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

} // namespace

KeyablePanel::KeyablePanel()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_translucent(Compositor::isRunning())
    , m_backgroundDrag(*this)
{
    setAttribute(Qt::WA_TranslucentBackground, m_translucent);
    setMinimumSize(minimumContentSize);
    resize(contentSize);
    menusFollowAppearancePreference(*this);
    // The window exists from here on, so its mouse events can be watched for the edges.
    winId();
    windowHandle()->installEventFilter(this);
}

Qt::Edges KeyablePanel::edgesAt(QPoint pos, QSize size)
{
    Qt::Edges edges;
    if (pos.x() < resizeBand) {
        edges |= Qt::LeftEdge;
    } else if (pos.x() >= size.width() - resizeBand) {
        edges |= Qt::RightEdge;
    }
    if (pos.y() < resizeBand) {
        edges |= Qt::TopEdge;
    } else if (pos.y() >= size.height() - resizeBand) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

bool KeyablePanel::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees every pointer event before the widget under the pointer does, so the
    // edges resize the window even where the editor or a button reaches them.
    if (watched == windowHandle()) {
        if (event->type() == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() == Qt::NoButton) {
                showEdgeCursor(edgesAt(mouse->position().toPoint(), size()));
            }
        } else if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const Qt::Edges edges = edgesAt(mouse->position().toPoint(), size());
            if (mouse->button() == Qt::LeftButton && edges && windowHandle()->startSystemResize(edges)) {
                m_resizeAsked = true;
                showEdgeCursor({});
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonRelease && std::exchange(m_resizeAsked, false)) {
            // As with a move: a quick click's release can come before the resize has begun.
            WindowManagerMove::cancel(*this);
        } else if (event->type() == QEvent::Leave) {
            showEdgeCursor({});
        }
    }
    return QWidget::eventFilter(watched, event);
}

void KeyablePanel::showEdgeCursor(Qt::Edges edges)
{
    if (m_edgeCursorShown) {
        QGuiApplication::restoreOverrideCursor();
        m_edgeCursorShown = false;
    }
    if (edges) {
        QGuiApplication::setOverrideCursor(cursorFor(edges));
        m_edgeCursorShown = true;
    }
}

void KeyablePanel::mousePressEvent(QMouseEvent* event)
{
    // A press no child took is a press on the paper: it drags the window.
    if (m_backgroundDrag.press(*event)) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void KeyablePanel::mouseReleaseEvent(QMouseEvent* event)
{
    m_backgroundDrag.release();
    QWidget::mouseReleaseEvent(event);
}

void KeyablePanel::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    emit moved();
}

void KeyablePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_translucent) {
        QPainterPath outline;
        outline.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
        setMask(QRegion(outline.toFillPolygon().toPolygon()));
    }
    emit resized();
}

void KeyablePanel::showEvent(QShowEvent* event)
{
    // Before the window is mapped: a panel belongs in no task bar.
    if (!isVisible() || !testAttribute(Qt::WA_Mapped)) {
        PanelWindowHints::skipTaskbarAndPager(*this);
    }
    QWidget::showEvent(event);
}

} // namespace norvelle
