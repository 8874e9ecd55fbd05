#include "editor/AaPopupDisclosureButton.h"

#include "editor/AaPopupLook.h"
#include "ui/SymbolGlyph.h"
#include "ui/ViewFont.h"

#include <QFontMetricsF>
#include <QPainter>

namespace norvelle {

AaPopupDisclosureButton::AaPopupDisclosureButton(bool dark, QWidget* parent)
    : QAbstractButton(parent)
    , m_dark(dark)
{
    setText(QStringLiteral("More options"));
    setFont(viewFont(11, QFont::Medium));
    setFocusPolicy(Qt::NoFocus);
    setFixedHeight(28);
}

void AaPopupDisclosureButton::setExpanded(bool expanded)
{
    m_expanded = expanded;
    setText(expanded ? QStringLiteral("Less") : QStringLiteral("More options"));
    update();
}

void AaPopupDisclosureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor ink = AaPopupLook::withOpacity(AaPopupLook::ink(m_dark), isDown() ? 0.6 : 1.0);
    const qreal chevron = 9;
    const qreal textWidth = QFontMetricsF(font()).horizontalAdvance(text());
    const qreal left = (width() - textWidth - 4 - chevron) / 2;
    painter.setPen(ink);
    painter.drawText(QRectF(left, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    const QRectF box(left + textWidth + 4, (height() - chevron) / 2, chevron, chevron);
    painter.translate(box.center());
    painter.rotate(m_expanded ? 180 : 0);
    painter.translate(-box.center());
    drawSymbolGlyph(painter, QStringLiteral("chevron.down"), box, AaPopupLook::withOpacity(ink, 0.5), 1.4);
}

} // namespace norvelle
