#include "workspace/ProfileBadge.h"

#include "platform/GraphemeWalker.h"
#include "ui/BrandPalette.h"
#include "ui/ViewFont.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace norvelle {

void paintProfileBadge(QPainter& painter, const QRectF& circle, const QString& profileName, const QImage& avatar,
                       qreal fontSize)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addEllipse(circle);
    if (!avatar.isNull()) {
        painter.setClipPath(clip);
        painter.drawImage(circle, avatar);
        painter.restore();
        return;
    }
    QLinearGradient gradient(circle.topLeft(), circle.bottomRight());
    const auto& colors = brandGradientColors();
    for (size_t i = 0; i < colors.size(); ++i) {
        gradient.setColorAt(qreal(i) / qreal(colors.size() - 1), colors[i]);
    }
    painter.fillPath(clip, gradient);
    painter.setFont(viewFont(fontSize, QFont::Bold));
    painter.setPen(Qt::white);
    painter.drawText(circle, Qt::AlignCenter, GraphemeWalker::leading(profileName, 1).toString().toUpper());
    painter.restore();
}

} // namespace norvelle
