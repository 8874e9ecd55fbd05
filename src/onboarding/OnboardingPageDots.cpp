#include "onboarding/OnboardingPageDots.h"

#include "ui/BrandPalette.h"
#include "ui/SchemeColors.h"

#include <QPainter>

namespace norvelle {

namespace {

constexpr qreal dot = 7;
constexpr qreal spacing = 7;

} // namespace

OnboardingPageDots::OnboardingPageDots(int count, QWidget* parent)
    : QWidget(parent)
    , m_count(count)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void OnboardingPageDots::setCurrent(int index)
{
    m_current = index;
    update();
}

QSize OnboardingPageDots::sizeHint() const
{
    return QSizeF(m_count * dot + (m_count - 1) * spacing, dot).toSize();
}

QRectF OnboardingPageDots::dotRect(int index) const
{
    const qreal left = (width() - sizeHint().width()) / 2.0;
    return {left + index * (dot + spacing), (height() - dot) / 2.0, dot, dot};
}

void OnboardingPageDots::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor other = SchemeColors(palette()).label();
    other.setAlphaF(0.18f);
    for (int i = 0; i < m_count; ++i) {
        painter.setBrush(i == m_current ? brandPurple() : other);
        painter.drawEllipse(dotRect(i));
    }
}

} // namespace norvelle
