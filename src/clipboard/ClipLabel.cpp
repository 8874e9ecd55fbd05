#include "clipboard/ClipLabel.h"

#include "clipboard/ClipSymbolView.h"

#include <QHBoxLayout>
#include <QFontMetricsF>

#include <algorithm>

namespace norvelle {

ClipLabel::ClipLabel(const QString& text, const QFont& font, ClipColorRole color, QWidget* parent)
    : QLabel(text, parent)
    , m_color(std::move(color))
    , m_font(font)
{
    setFont(font);
    setTextFormat(Qt::PlainText);
}

QWidget* ClipLabel::withSymbol(const QString& symbol, const QString& title, const QFont& font, int spacing,
                               QWidget* parent)
{
    auto* label = new QWidget(parent);
    auto* layout = new QHBoxLayout(label);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(new ClipSymbolView(symbol, QFontInfo(font).pixelSize(), &ClipColors::label, label));
    layout->addWidget(new ClipLabel(title, font, &ClipColors::label, label));
    return label;
}

void ClipLabel::setShrinkToFit(qreal minimumScale)
{
    m_minimumScale = minimumScale;
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    fitFont();
}

void ClipLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fitFont();
}

void ClipLabel::fitFont()
{
    if (m_minimumScale >= 1.0)
        return;
    const qreal natural = QFontMetricsF(m_font).horizontalAdvance(text());
    const qreal scale = natural <= 0 ? 1.0 : std::clamp(width() / natural, m_minimumScale, 1.0);
    QFont fitted = m_font;
    fitted.setPointSizeF(m_font.pointSizeF() * scale);
    if (fitted != font())
        setFont(fitted);
}

void ClipLabel::paintEvent(QPaintEvent* event)
{
    // The scheme is read when drawing, so the text follows a palette change of the desktop.
    const QColor color = m_color(ClipColors(palette()));
    if (palette().color(QPalette::WindowText) != color) {
        QPalette own = palette();
        own.setColor(QPalette::WindowText, color);
        setPalette(own);
    }
    QLabel::paintEvent(event);
}

} // namespace norvelle
