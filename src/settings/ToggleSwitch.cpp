#include "settings/ToggleSwitch.h"

#include "ui/SchemeColors.h"

#include <QPainter>

namespace norvelle {

namespace {

constexpr QSize switchSize(32, 18);
constexpr qreal knobInset = 2;

} // namespace

ToggleSwitch::ToggleSwitch(QWidget* parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ToggleSwitch::sizeHint() const
{
    return switchSize;
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SchemeColors colors(palette());
    const QRectF track = QRectF(QPointF(0, 0), QSizeF(switchSize)).translated(0, (height() - switchSize.height()) / 2.0);
    QColor fill = isChecked() ? colors.accent() : colors.overlay(0.22, 0.16);
    if (!isEnabled()) {
        fill.setAlphaF(fill.alphaF() * 0.45f);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);

    const qreal knob = track.height() - 2 * knobInset;
    const qreal x = isChecked() ? track.right() - knobInset - knob : track.left() + knobInset;
    painter.setBrush(isEnabled() ? QColor(Qt::white) : QColor(235, 235, 235));
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.drawEllipse(QRectF(x, track.top() + knobInset, knob, knob));

    if (hasFocus()) {
        QColor ring = colors.accent();
        ring.setAlpha(110);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(-1, -1, 1, 1), track.height() / 2 + 1, track.height() / 2 + 1);
    }
}

} // namespace norvelle
