#include "editor/AaPopupStyleButton.h"

#include "editor/AaPopupLook.h"
#include "ui/SymbolGlyph.h"
#include "ui/ViewFont.h"

#include <QPainter>

namespace norvelle {

AaPopupStyleButton::AaPopupStyleButton(const QString& style, bool dark, QWidget* parent)
    : QAbstractButton(parent)
    , m_dark(dark)
{
    setText(style);
    setFont(viewFont(13, QFont::DemiBold));
    setFocusPolicy(Qt::NoFocus);
    setFixedHeight(34);
}

void AaPopupStyleButton::setMarked(bool marked)
{
    if (m_marked != marked) {
        m_marked = marked;
        update();
    }
}

void AaPopupStyleButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF row = QRectF(rect()).adjusted(12, 0, -12, 0);
    if (isDown()) {
        painter.fillRect(rect(), AaPopupLook::wash(m_dark, 0.06));
    }
    painter.setPen(AaPopupLook::ink(m_dark));
    painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, text());
    if (m_marked) {
        const qreal side = 12;
        drawSymbolGlyph(painter, QStringLiteral("checkmark"),
            QRectF(row.right() - side, row.center().y() - side / 2, side, side), AaPopupLook::blue(), 1.3);
    }
}

} // namespace norvelle
