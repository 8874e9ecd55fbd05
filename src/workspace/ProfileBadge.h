#pragma once

#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

namespace norvelle {

// The circular badge of the person using the workspace: the avatar clipped to a circle when
// there is one, else the first character of the profile name, upper-cased, bold and white on
// the brand gradient.
void paintProfileBadge(QPainter& painter, const QRectF& circle, const QString& profileName, const QImage& avatar,
    qreal fontSize);

} // namespace norvelle
