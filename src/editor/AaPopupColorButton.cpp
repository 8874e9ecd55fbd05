#include "editor/AaPopupColorButton.h"

#include "editor/AaPopupLook.h"
#include "ui/HueWheel.h"
#include "ui/ViewFont.h"

#include <QPainter>
#include <QPainterPath>

namespace norvelle {

AaPopupColorButton::AaPopupColorButton(const QString& title, bool dark, QWidget* parent)
    : QAbstractButton(parent)
    , m_dark(dark)
{
    setText(title);
    setFont(viewFont(10.5, QFont::DemiBold));
    setFocusPolicy(Qt::NoFocus);
    setFixedHeight(24);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void AaPopupColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 6, 6);
    painter.fillPath(shape, AaPopupLook::wash(m_dark, isDown() ? 0.14 : 0.08));
    const QRectF ring(8, (height() - 16) / 2.0, 16, 16);
    painter.setPen(QPen(QBrush(hueWheelGradient(ring.center())), 2));
    painter.drawEllipse(ring.adjusted(1, 1, -1, -1));
    painter.setPen(AaPopupLook::quietText(m_dark));
    painter.drawText(QRectF(ring.right() + 6, 0, width() - ring.right() - 14, height()),
        Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace norvelle
