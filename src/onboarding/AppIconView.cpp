#include "onboarding/AppIconView.h"

#include "ui/BrandPalette.h"
#include "ui/RoundedPainting.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace norvelle {

namespace {

// Room below and around the square for the shadow (radius 12, 6 down).
constexpr int shadowMargin = 14;
constexpr qreal shadowOffset = 6;

} // namespace

AppIconView::AppIconView(int size, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
{
    setFixedSize(sizeHint());
}

QSize AppIconView::sizeHint() const
{
    return {m_size + 2 * shadowMargin, m_size + 2 * shadowMargin};
}

void AppIconView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF square(shadowMargin, shadowMargin, m_size, m_size);
    const qreal radius = m_size * 0.22;
    paintSoftShadow(painter, square, radius, QColor::fromRgbF(0, 0, 0, 0.18f), 12, QPointF(0, shadowOffset));
    QPainterPath clip;
    clip.addRoundedRect(square, radius, radius);
    painter.setClipPath(clip);
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        painter.drawPixmap(square.toRect(), icon.pixmap(QSize(m_size, m_size), devicePixelRatioF()));
    } else {
        paintBrandMark(painter, square);
    }
}

void AppIconView::paintBrandMark(QPainter& painter, const QRectF& square) const
{
    painter.fillRect(square, brandGradient(square));

    // A white note with a folded corner and three lines of writing.
    const qreal unit = square.width() / 100.0;
    const QRectF note(square.left() + 28 * unit, square.top() + 22 * unit, 44 * unit, 56 * unit);
    const qreal fold = 12 * unit;
    QPainterPath sheet;
    sheet.moveTo(note.topLeft());
    sheet.lineTo(note.right() - fold, note.top());
    sheet.lineTo(note.right(), note.top() + fold);
    sheet.lineTo(note.bottomRight());
    sheet.lineTo(note.bottomLeft());
    sheet.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 240));
    painter.drawPath(sheet);
    QColor ink = brandGradientColors()[2];
    ink.setAlphaF(0.55f);
    painter.setPen(QPen(ink, std::max(1.0, 3.5 * unit), Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 3; ++line) {
        const qreal y = note.top() + (22 + line * 11) * unit;
        const qreal right = line == 2 ? note.left() + 24 * unit : note.right() - 8 * unit;
        painter.drawLine(QPointF(note.left() + 8 * unit, y), QPointF(right, y));
    }
}

} // namespace norvelle
