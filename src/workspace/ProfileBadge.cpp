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
    painter.fillPath(clip, brandGradient(circle));
    painter.setFont(viewFont(fontSize, QFont::Bold));
    painter.setPen(Qt::white);
    // Invisible marks at the start (a direction override) are no letter to show.
    qsizetype start = 0;
    while (start < profileName.size() && profileName.at(start).category() == QChar::Other_Format) {
        ++start;
    }
    painter.drawText(circle, Qt::AlignCenter, GraphemeWalker::leading(QStringView(profileName).mid(start), 1).toString().toUpper());
    painter.restore();
}

} // namespace norvelle
