#include "sticky/CustomColorDisclosure.h"

#include "ui/HueWheel.h"
#include "ui/SchemeColors.h"
#include "ui/SymbolGlyph.h"
#include "ui/ViewFont.h"

#include <QFontMetrics>
#include <QPainter>

namespace norvelle {

namespace {

constexpr int wheelSide = 18;
constexpr int spacing = 8;
constexpr qreal chevronSide = 10 * 1.1;

} // namespace

CustomColorDisclosure::CustomColorDisclosure(bool open, QWidget* parent)
    : QAbstractButton(parent)
    , m_open(open)
{
    setText(title);
    setAccessibleName(title);
    setFont(viewFont(12, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab; a click leaves the keyboard where it was, so typing goes on in the note.
    setFocusPolicy(Qt::TabFocus);
}

QSize CustomColorDisclosure::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {wheelSide + spacing + metrics.horizontalAdvance(text()) + spacing + int(chevronSide),
        std::max(wheelSide, metrics.height()) + 4};
}

void CustomColorDisclosure::paintEvent(QPaintEvent*)
{
    const SchemeColors scheme(palette());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal middle = height() / 2.0;
    const QRectF wheel(0, middle - wheelSide / 2.0, wheelSide, wheelSide);
    painter.setPen(Qt::NoPen);
    painter.setBrush(hueWheelGradient(wheel.center()));
    painter.drawEllipse(wheel);
    painter.setPen(scheme.label());
    painter.setFont(font());
    const qreal textLeft = wheelSide + spacing;
    painter.drawText(QRectF(textLeft, 0, width() - textLeft - chevronSide - spacing, height()),
        Qt::AlignLeft | Qt::AlignVCenter, text());
    drawSymbolGlyph(painter, m_open ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right"),
        QRectF(width() - chevronSide, middle - chevronSide / 2, chevronSide, chevronSide), scheme.tertiaryText(),
        1.2);
}

} // namespace norvelle
