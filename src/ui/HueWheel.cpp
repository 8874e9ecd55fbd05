#include "ui/HueWheel.h"

#include <QColor>

#include <iterator>

namespace norvelle {

QConicalGradient hueWheelGradient(const QPointF& centre)
{
    QConicalGradient hues(centre, 0);
    const QColor stops[] = {QColor(255, 59, 48), QColor(255, 149, 0), QColor(255, 204, 0), QColor(52, 199, 89),
        QColor(0, 122, 255), QColor(175, 82, 222), QColor(255, 59, 48)};
    constexpr int count = int(std::size(stops));
    for (int i = 0; i < count; ++i) {
        hues.setColorAt(qreal(i) / (count - 1), stops[i]);
    }
    return hues;
}

} // namespace norvelle
