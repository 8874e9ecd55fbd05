#include "account/ProfileAvatarCircleView.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace norvelle {

ProfileAvatarCircleView::ProfileAvatarCircleView(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ProfileAvatarCircleView::setImage(const QImage& image)
{
    m_image = image;
    update();
}

void ProfileAvatarCircleView::setDiameter(double diameter)
{
    m_diameter = diameter;
    updateGeometry();
    update();
}

QSize ProfileAvatarCircleView::sizeHint() const
{
    const int side = int(std::ceil(m_diameter));
    return {side, side};
}

void ProfileAvatarCircleView::paintEvent(QPaintEvent*)
{
    if (m_image.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF bounds = rect();
    QPainterPath circle;
    circle.addRoundedRect(bounds, m_diameter * 0.5, m_diameter * 0.5);
    painter.setClipPath(circle);
    QSizeF size = m_image.size();
    size.scale(bounds.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(bounds.center());
    painter.drawImage(target, m_image);
}

} // namespace norvelle
