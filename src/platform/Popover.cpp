#include "platform/Popover.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace norvelle {

namespace {

// Long enough for the click's release on the tray icon to arrive after its press closed us.
constexpr qint64 kOutsideDismissalGraceMs = 300;
constexpr int kGap = 4;

} // namespace

Popover::Popover(QSize contentSize, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setFixedSize(contentSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void Popover::setContentWidget(QWidget* content)
{
    delete m_content;
    m_content = content;
    layout()->addWidget(content);
}

QPoint Popover::placement(const QRect& anchor, const QPoint& pointer, QSize size, const QRect& available)
{
    const QRect origin = anchor.isEmpty() ? QRect(pointer, QSize(1, 1)) : anchor;
    int x = origin.x() + origin.width() / 2 - size.width() / 2;
    int y = origin.bottom() + 1 + kGap;
    if (y + size.height() > available.bottom() + 1 && origin.top() - kGap - size.height() >= available.top()) {
        y = origin.top() - kGap - size.height();
    }
    x = std::clamp(x, available.left(), std::max(available.left(), available.right() + 1 - size.width()));
    y = std::clamp(y, available.top(), std::max(available.top(), available.bottom() + 1 - size.height()));
    return {x, y};
}

void Popover::showRelativeTo(const QRect& anchor)
{
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(anchor.isEmpty() ? pointer : anchor.center());
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), size());
    move(placement(anchor, pointer, size(), available));
    m_sinceOutsideDismissal.invalidate();
    show();
    raise();
    activateWindow();
}

bool Popover::isShown() const
{
    return isVisible()
        || (m_sinceOutsideDismissal.isValid() && m_sinceOutsideDismissal.elapsed() < kOutsideDismissalGraceMs);
}

void Popover::performClose()
{
    m_closingOnRequest = true;
    close();
    m_closingOnRequest = false;
}

void Popover::hideEvent(QHideEvent* event)
{
    if (!m_closingOnRequest) {
        m_sinceOutsideDismissal.start();
    }
    QWidget::hideEvent(event);
    emit closed();
}

} // namespace norvelle
