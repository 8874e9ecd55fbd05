#include "clipboard/ClipListWidget.h"

#include "clipboard/ClipThumbnailCache.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>

#include <algorithm>
#include <utility>

namespace norvelle {

ClipListWidget::ClipListWidget(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    // Thumbnails are decoded in the background: draw each one as it arrives.
    connect(&ClipThumbnailCache::shared(), &ClipThumbnailCache::thumbnailReady, this, [this](const QUuid& id) {
        if (const int index = indexOf(id); index >= 0)
            update(itemRect(index));
    });
}

void ClipListWidget::setEntries(const QList<ClipEntry>& entries)
{
    m_entries = entries;
    entriesChanged();
    // A new clip pushes the others down under a still pointer: the highlight goes to the clip
    // now under it.
    if (m_hoveredID && underMouse())
        hoverAt(mapFromGlobal(QCursor::pos()));
    else if (m_hoveredID && indexOf(*m_hoveredID) < 0)
        m_hoveredID.reset();
    update();
}

bool ClipListWidget::isHovered(int index) const
{
    return index >= 0 && index < m_entries.size() && m_hoveredID == m_entries.at(index).id;
}

int ClipListWidget::indexOf(const QUuid& id) const
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const ClipEntry& e) { return e.id == id; });
    return found == m_entries.end() ? -1 : int(found - m_entries.begin());
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
    hoverAt(event->position().toPoint());
}

void ClipListWidget::hoverAt(QPoint position)
{
    const Target target = targetAt(position);
    setHoveredID(target.index < 0 ? std::nullopt : std::optional(m_entries.at(target.index).id));
    setCursor(target.part != body ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ClipListWidget::leaveEvent(QEvent*)
{
    setHoveredID(std::nullopt);
}

// A list hidden under the pointer gets no leave, and would show its old hover when next shown.
void ClipListWidget::hideEvent(QHideEvent*)
{
    setHoveredID(std::nullopt);
    m_pressed.reset();
}

void ClipListWidget::mousePressEvent(QMouseEvent* event)
{
    m_pressed.reset();
    const Target target = targetAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && target.index >= 0)
        m_pressed = Press {m_entries.at(target.index).id, target.part, partRect(target.index, target.part)};
}

// A click counts when the button goes up where it went down, and the clip pressed is still listed.
void ClipListWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const std::optional<Press> pressed = std::exchange(m_pressed, std::nullopt);
    if (event->button() != Qt::LeftButton || !pressed || !pressed->area.contains(event->position().toPoint()))
        return;
    if (indexOf(pressed->id) >= 0)
        emit clicked(pressed->id, pressed->part);
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
