#include "onboarding/AppIconView.h"

#include "ui/BrandPalette.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace norvelle {

namespace {

// Room below and around the square for the shadow (radius 12, 6 down).
constexpr int shadowMargin = 14;
constexpr qreal shadowOffset = 6;

void paintShadow(QPainter& painter, const QRectF& square, qreal radius)
{
    // Layers of faint black, widening, stand in for a blur of radius 12 at 18 %.
    constexpr int layers = 8;
    for (int i = layers; i >= 1; --i) {
        const qreal grow = 12.0 * i / layers;
        QColor black(0, 0, 0);
        black.setAlphaF(0.18f / layers);
        painter.setPen(Qt::NoPen);
        painter.setBrush(black);
        painter.drawRoundedRect(square.translated(0, shadowOffset).adjusted(-grow / 2, -grow / 2, grow / 2, grow / 2),
            radius + grow / 2, radius + grow / 2);
    }
}

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
    paintShadow(painter, square, radius);
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
    QLinearGradient gradient(square.topLeft(), square.bottomRight());
    const auto& colors = brandGradientColors();
    gradient.setColorAt(0, colors[0]);
    gradient.setColorAt(0.5, colors[1]);
    gradient.setColorAt(1, colors[2]);
    painter.fillRect(square, gradient);

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
    QColor ink = colors[2];
    ink.setAlphaF(0.55f);
    painter.setPen(QPen(ink, std::max(1.0, 3.5 * unit), Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 3; ++line) {
        const qreal y = note.top() + (22 + line * 11) * unit;
        const qreal right = line == 2 ? note.left() + 24 * unit : note.right() - 8 * unit;
        painter.drawLine(QPointF(note.left() + 8 * unit, y), QPointF(right, y));
    }
}

} // namespace norvelle
