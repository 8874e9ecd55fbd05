#include "sticky/TextureChoiceButton.h"

#include "ui/SchemeColors.h"
#include "ui/SymbolGlyph.h"
#include "ui/ViewFont.h"

#include <QFontMetrics>
#include <QPainter>

namespace norvelle {

namespace {

constexpr int labelGap = 3;

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

} // namespace

TextureChoiceButton::TextureChoiceButton(const QString& symbol, const QString& label, bool current, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_current(current)
{
    setText(label);
    setAccessibleName(label);
    setFont(viewFont(9));
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab; a click leaves the keyboard where it was, so typing goes on in the note.
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
}

void TextureChoiceButton::setCurrent(bool current)
{
    if (current != m_current) {
        m_current = current;
        update();
    }
}

QSize TextureChoiceButton::sizeHint() const
{
    return {tileSize.width(), tileSize.height() + labelGap + QFontMetrics(font()).height()};
}

void TextureChoiceButton::paintEvent(QPaintEvent*)
{
    const SchemeColors scheme(palette());
    const QColor primary = scheme.label();
    const QColor accent = scheme.accent();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(QPointF(0, 0), QSizeF(tileSize));
    // The edge is drawn inside the tile so the 1.5-point stroke is not cut at the widget's edge.
    const qreal edge = m_current ? 1.5 : 0.5;
    const QRectF outline = tile.adjusted(edge / 2, edge / 2, -edge / 2, -edge / 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_current ? withOpacity(accent, 0.15) : withOpacity(primary, 0.04));
    painter.drawRoundedRect(outline, 7, 7);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(m_current ? accent : withOpacity(primary, 0.1), edge));
    painter.drawRoundedRect(outline, 7, 7);
    const qreal side = 15 * 1.2;
    drawSymbolGlyph(painter, m_symbol, QRectF(tile.center().x() - side / 2, tile.center().y() - side / 2, side, side),
        m_current ? accent : primary);
    painter.setPen(scheme.secondaryText());
    painter.setFont(font());
    painter.drawText(QRectF(0, tileSize.height() + labelGap, width(), height() - tileSize.height() - labelGap),
        Qt::AlignHCenter | Qt::AlignTop, text());
}

} // namespace norvelle
