#include "platform/Popover.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace norvelle {

namespace {

// Long enough for the click's release on the tray icon to arrive after its press closed us.
constexpr qint64 outsideDismissalGraceMs = 300;
constexpr int gap = 4;
constexpr Qt::WindowFlags popoverFlags = Qt::Popup | Qt::FramelessWindowHint;
// Out of the window manager's hands, like the popover itself, so it stays exactly where it was.
constexpr Qt::WindowFlags floatingFlags = Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint;

} // namespace

Popover::Popover(QSize contentSize, QWidget* parent)
    : QWidget(parent, popoverFlags)
{
    setFixedSize(contentSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void Popover::setContentWidget(QWidget* content)
{
    delete m_content;
    m_content = content;
    if (content) {
        layout()->addWidget(content);
    }
}

QPoint Popover::placement(const QRect& anchor, const QPoint& pointer, QSize size, const QRect& available, Edge edge)
{
    const QRect origin = anchor.isEmpty() ? QRect(pointer, QSize(1, 1)) : anchor;
    int x = origin.x() + origin.width() / 2 - size.width() / 2;
    const int below = origin.bottom() + 1 + gap;
    const int above = origin.top() - gap - size.height();
    const bool roomBelow = below + size.height() <= available.bottom() + 1;
    const bool roomAbove = above >= available.top();
    int y = edge == Edge::below ? (roomBelow || !roomAbove ? below : above) : (roomAbove || !roomBelow ? above : below);
    x = std::clamp(x, available.left(), std::max(available.left(), available.right() + 1 - size.width()));
    y = std::clamp(y, available.top(), std::max(available.top(), available.bottom() + 1 - size.height()));
    return {x, y};
}

void Popover::showRelativeTo(const QRect& anchor)
{
    m_anchor = anchor;
    place();
    m_sinceOutsideDismissal.invalidate();
    show();
    raise();
    activateWindow();
}

void Popover::place()
{
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(m_anchor.isEmpty() ? pointer : m_anchor.center());
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), size());
    move(placement(m_anchor, pointer, size(), available, m_edge));
}

void Popover::setContentSize(QSize size)
{
    setFixedSize(size);
    if (isVisible()) {
        place();
    }
}

bool Popover::isShown() const
{
    return isVisible()
        || (m_sinceOutsideDismissal.isValid() && m_sinceOutsideDismissal.elapsed() < outsideDismissalGraceMs);
}

void Popover::performClose()
{
    m_closingOnRequest = true;
    close();
    m_closingOnRequest = false;
}

void Popover::stayOpenWhileShown(QWidget* companion)
{
    if (!companion || !isVisible()) {
        return;
    }
    if (m_companion) {
        m_companion->removeEventFilter(this);
    }
    m_companion = companion;
    companion->installEventFilter(this);
    if (windowType() == Qt::Popup) {
        const QPoint at = pos();
        m_switchingKind = true;
        setWindowFlags(floatingFlags);
        move(at);
        show();
        raise();
        m_switchingKind = false;
    }
}

void Popover::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Turning into a floating window is no new opening: the colour panel may have the keyboard.
    if (!m_switchingKind && QGuiApplication::focusWindow() != windowHandle()) {
        m_opener = QGuiApplication::focusWindow();
    }
    windowHandle()->installEventFilter(this);
}

bool Popover::eventFilter(QObject* watched, QEvent* event)
{
    // Keys pressed while the popover was open are addressed to it, even when the program reads
    // them only after it closed (it was busy with what the popover asked for): they go on to the
    // window the keyboard goes back to, so no key the user typed after closing it is lost.
    if (watched == windowHandle() && !isVisible() && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        QWindow* focus = QGuiApplication::focusWindow() ? QGuiApplication::focusWindow() : m_opener.data();
        if (focus && focus != windowHandle()) {
            QCoreApplication::sendEvent(focus, event);
            return true;
        }
    }
    if (watched == m_companion && event->type() == QEvent::Hide) {
        m_companion->removeEventFilter(this);
        m_companion = nullptr;
        // The floating window closes with its companion and opens as a popover next time;
        // later, as the companion may hide from inside a click on this very window.
        QTimer::singleShot(0, this, [this] {
            if (m_companion || windowType() == Qt::Popup) {
                return;
            }
            performClose();
            setWindowFlags(popoverFlags);
        });
    }
    return QWidget::eventFilter(watched, event);
}

void Popover::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the popover, as ever.
    if (event->matches(QKeySequence::Cancel) || !passToOpener(event)) {
        QWidget::keyPressEvent(event);
    }
}

void Popover::keyReleaseEvent(QKeyEvent* event)
{
    if (!passToOpener(event)) {
        QWidget::keyReleaseEvent(event);
    }
}

bool Popover::hasFieldOfItsOwn() const
{
    const QList<QWidget*> children = findChildren<QWidget*>();
    return std::any_of(children.begin(), children.end(),
        [](const QWidget* child) { return child->testAttribute(Qt::WA_InputMethodEnabled); });
}

bool Popover::passToOpener(QKeyEvent* event)
{
    // Not through the opener's window: while the popover shows, that hands keys back to it.
    QObject* target = m_opener ? m_opener->focusObject() : nullptr;
    if (!target || hasFieldOfItsOwn()) {
        return false;
    }
    QCoreApplication::sendEvent(target, event);
    event->accept();
    return true;
}

void Popover::hideEvent(QHideEvent* event)
{
    if (m_switchingKind) {
        QWidget::hideEvent(event);
        return;
    }
    if (!m_closingOnRequest) {
        m_sinceOutsideDismissal.start();
    }
    QWidget::hideEvent(event);
    emit closed();
}

} // namespace norvelle
