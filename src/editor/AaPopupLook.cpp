#include "editor/AaPopupLook.h"

namespace norvelle::AaPopupLook {

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(color.alphaF() * opacity);
    return color;
}

QColor ink(bool dark)
{
    return dark ? QColor(Qt::white) : withOpacity(Qt::black, 0.9);
}

QColor wash(bool dark, qreal opacity)
{
    return withOpacity(dark ? Qt::white : Qt::black, opacity);
}

QColor chipFill(bool active, bool dark)
{
    return active ? blue(0.35) : wash(dark, 0.08);
}

QColor blue(qreal opacity)
{
    return withOpacity(QColor(0, 122, 255), opacity);
}

QColor accent()
{
    return blue();
}

QColor background(bool dark)
{
    return dark ? QColor::fromRgbF(0.11f, 0.11f, 0.13f) : QColor(Qt::white);
}

QColor quietText(bool dark)
{
    return dark ? withOpacity(Qt::white, 0.3) : withOpacity(Qt::black, 0.35);
}

} // namespace norvelle::AaPopupLook
