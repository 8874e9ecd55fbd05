#include "editor/ChecklistMarkerAttachment.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

namespace norvelle {

QTextCharFormat ChecklistMarkerAttachment::format(bool checked, const QColor& color)
{
    QTextCharFormat format;
    format.setObjectType(objectType);
    format.setProperty(checkedProperty, checked);
    if (color.isValid())
        format.setProperty(colorProperty, color);
    return format;
}

bool ChecklistMarkerAttachment::isMarker(const QTextFormat& format)
{
    return format.objectType() == objectType;
}

bool ChecklistMarkerAttachment::isAttachment(const QTextFormat& format)
{
    return format.objectType() != QTextFormat::NoObject;
}

void ChecklistMarkerAttachment::draw(QPainter& painter, const QRectF& rect, bool checked, const QColor& color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / side, rect.height() / side);
    const QRectF circle(1, 1, 12, 12);
    if (checked) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(circle);
        QPainterPath tick;
        // The tick drawn upwards from the box's bottom edge.
        tick.moveTo(4, side - 7);
        tick.lineTo(6, side - 5);
        tick.lineTo(9.8, side - 9);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(tick);
    } else {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(color, 1.8));
        painter.drawEllipse(circle);
    }
    painter.restore();
}

ChecklistMarkerRenderer* ChecklistMarkerRenderer::install(QTextDocument& document)
{
    auto* renderer = document.findChild<ChecklistMarkerRenderer*>(QString(), Qt::FindDirectChildrenOnly);
    if (!renderer)
        renderer = new ChecklistMarkerRenderer(&document);
    // Again each time: a text view may give the document a layout of its own.
    document.documentLayout()->registerHandler(ChecklistMarkerAttachment::objectType, renderer);
    return renderer;
}

QSizeF ChecklistMarkerRenderer::intrinsicSize(QTextDocument*, int, const QTextFormat&)
{
    // The box hangs 2 points below the baseline: the line keeps 12 points above it and the
    // drawing reaches 2 points further down.
    return {ChecklistMarkerAttachment::side, ChecklistMarkerAttachment::side - 2};
}

void ChecklistMarkerRenderer::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
    const QTextFormat& format)
{
    const QColor own = format.colorProperty(ChecklistMarkerAttachment::colorProperty);
    const QColor color = own.isValid() ? own : m_color;
    const QRectF box(rect.left(), rect.top(), ChecklistMarkerAttachment::side, ChecklistMarkerAttachment::side);
    ChecklistMarkerAttachment::draw(*painter, box, ChecklistMarkerAttachment::isChecked(format), color);
}

} // namespace norvelle
