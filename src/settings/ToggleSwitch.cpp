#include "settings/ToggleSwitch.h"

#include "ui/KeyboardFocusMark.h"
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
    setFocusMarkRadius(*this, -1);
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
    // A disabled switch has the grey track of an off one, faded, in either look: the accent would
    // read as a live setting. Its knob still tells on from off.
    if (!isEnabled()) {
        painter.setOpacity(0.5);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() && isEnabled() ? colors.accent() : colors.overlay(0.22, 0.16));
    painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);

    const qreal knob = track.height() - 2 * knobInset;
    const qreal x = isChecked() ? track.right() - knobInset - knob : track.left() + knobInset;
    painter.setBrush(QColor(Qt::white));
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.drawEllipse(QRectF(x, track.top() + knobInset, knob, knob));
}

} // namespace norvelle
