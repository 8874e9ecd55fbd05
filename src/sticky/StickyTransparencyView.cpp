#include "sticky/StickyTransparencyView.h"

#include "ui/ViewFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

// The slider works in thousandths, fine enough to move without visible steps.
constexpr int sliderScale = 1000;

QLabel* secondaryLabel(const QString& text, const QFont& font, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    // A role, not a colour taken now: the label follows the window into the other look.
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

// A stored opacity that is no number shows as opaque rather than as garbage.
double finiteOpacity(double opacity)
{
    return std::isfinite(opacity) ? opacity : StickyTransparencyView::maximumOpacity;
}

} // namespace

StickyTransparencyView::StickyTransparencyView(double opacity, bool compositing, QWidget* parent)
    : QWidget(parent)
{
    setFixedWidth(220);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(10);
    auto* header = new QHBoxLayout;
    header->addWidget(secondaryLabel(QStringLiteral("Transparency"), viewFont(11, QFont::DemiBold), this));
    header->addStretch();
    // The system font's digits are of one width, so the figure does not jitter while sliding.
    m_percent = secondaryLabel({}, viewFont(11, QFont::Medium), this);
    header->addWidget(m_percent);
    column->addLayout(header);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(int(minimumOpacity * sliderScale), int(maximumOpacity * sliderScale));
    column->addWidget(m_slider);
    if (!compositing) {
        QLabel* note = secondaryLabel(noCompositorNote, viewFont(10), this);
        note->setObjectName(QStringLiteral("noCompositor"));
        note->setWordWrap(true);
        column->addWidget(note);
    }
    setOpacity(opacity);
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        m_percent->setText(percentText(value / double(sliderScale)));
        emit opacityChanged(value / double(sliderScale));
    });
    setFixedHeight(hasHeightForWidth() ? heightForWidth(width()) : sizeHint().height());
}

void StickyTransparencyView::setOpacity(double opacity)
{
    const QSignalBlocker quiet(m_slider);
    m_slider->setValue(int(std::lround(std::clamp(finiteOpacity(opacity), minimumOpacity, maximumOpacity) * sliderScale)));
    m_percent->setText(percentText(opacity));
}

double StickyTransparencyView::opacity() const
{
    return m_slider->value() / double(sliderScale);
}

QString StickyTransparencyView::percentText() const
{
    return m_percent->text();
}

QString StickyTransparencyView::percentText(double opacity)
{
    return QString::number(std::llround(finiteOpacity(opacity) * 100)) + QLatin1Char('%');
}

} // namespace norvelle
