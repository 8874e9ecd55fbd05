#include "editor/AaPopupChip.h"

#include "editor/AaPopupLook.h"
#include "ui/SymbolGlyph.h"
#include "ui/ViewFont.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace norvelle {

AaPopupChip::AaPopupChip(const QString& text, Look look, bool dark, QWidget* parent)
    : QAbstractButton(parent)
    , m_look(std::move(look))
    , m_dark(dark)
{
    setText(text);
    setFont(viewFont(m_look.fontSize, m_look.weight));
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(m_look.width > 0 ? QSizePolicy::Fixed : QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (m_look.width > 0) {
        setFixedWidth(m_look.width);
    }
    setFixedHeight(m_look.height);
}

void AaPopupChip::setActive(bool active)
{
    if (m_active != active) {
        m_active = active;
        update();
    }
}

QSize AaPopupChip::sizeHint() const
{
    const int labelWidth = m_look.symbol.isEmpty() ? QFontMetrics(font()).horizontalAdvance(text())
                                                   : qRound(m_look.fontSize * 1.4);
    return {m_look.width > 0 ? m_look.width : labelWidth + 12, m_look.height};
}

QSize AaPopupChip::minimumSizeHint() const
{
    return {m_look.width > 0 ? m_look.width : 16, m_look.height};
}

void AaPopupChip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = rect();
    if (m_look.filled) {
        QPainterPath shape;
        shape.addRoundedRect(box, m_look.radius, m_look.radius);
        painter.fillPath(shape, AaPopupLook::chipFill(m_active, m_dark));
    }
    QColor label = AaPopupLook::ink(m_dark);
    if (!m_active) {
        label = AaPopupLook::withOpacity(label, m_look.inactiveOpacity);
    }
    if (isDown()) {
        label = AaPopupLook::withOpacity(label, 0.6);
    }
    if (!m_look.symbol.isEmpty()) {
        const qreal side = m_look.fontSize * 1.25;
        drawSymbolGlyph(painter, m_look.symbol,
            QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side), label,
            m_look.weight >= QFont::DemiBold ? 1.25 : 1.0);
        return;
    }
    painter.setPen(label);
    painter.drawText(box, Qt::AlignCenter, text());
}

} // namespace norvelle
