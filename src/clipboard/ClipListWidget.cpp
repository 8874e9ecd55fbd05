#include "clipboard/ClipListWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>

#include <algorithm>

namespace norvelle {

ClipListWidget::ClipListWidget(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

void ClipListWidget::setEntries(const QList<ClipEntry>& entries)
{
    m_entries = entries;
    if (m_hoveredID && std::none_of(entries.begin(), entries.end(), [&](const ClipEntry& e) { return e.id == *m_hoveredID; }))
        m_hoveredID.reset();
    entriesChanged();
    update();
}

bool ClipListWidget::isHovered(int index) const
{
    return index >= 0 && index < m_entries.size() && m_hoveredID == m_entries.at(index).id;
}

QScrollArea* ClipListWidget::inScrollArea(QWidget* parent)
{
    auto* area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->viewport()->setAutoFillBackground(false);
    area->setWidget(this);
    setAutoFillBackground(false);
    return area;
}

ClipListWidget::Target ClipListWidget::targetAt(QPoint position) const
{
    for (int index = 0; index < m_entries.size(); ++index) {
        if (itemRect(index).contains(position))
            return {index, partAt(index, position)};
    }
    return {};
}

void ClipListWidget::setHoveredID(std::optional<QUuid> id)
{
    if (id == m_hoveredID)
        return;
    m_hoveredID = id;
    update();
}

void ClipListWidget::mouseMoveEvent(QMouseEvent* event)
{
    const Target target = targetAt(event->position().toPoint());
    setHoveredID(target.index < 0 ? std::nullopt : std::optional(m_entries.at(target.index).id));
    setCursor(target.part != body ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ClipListWidget::leaveEvent(QEvent*)
{
    setHoveredID(std::nullopt);
}

void ClipListWidget::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton ? targetAt(event->position().toPoint()) : Target{};
}

// A click counts when the button goes up over what it went down on.
void ClipListWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const Target pressed = m_pressed;
    m_pressed = {};
    if (event->button() == Qt::LeftButton && pressed.index >= 0 && targetAt(event->position().toPoint()) == pressed)
        emit clicked(pressed.index, pressed.part);
}

void ClipListWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QDateTime now = QDateTime::currentDateTime();
    for (int index = 0; index < m_entries.size(); ++index) {
        if (itemRect(index).intersects(event->rect()))
            paintItem(painter, index, now);
    }
}

} // namespace norvelle
