#include "ui/TextLabel.h"

#include "ui/SymbolView.h"

#include <QFontMetricsF>
#include <QHBoxLayout>

#include <algorithm>

namespace norvelle {

TextLabel::TextLabel(const QString& text, const QFont& font, SchemeColorRole color, QWidget* parent)
    : QLabel(text, parent)
    , m_color(std::move(color))
    , m_font(font)
{
    setFont(font);
    setTextFormat(Qt::PlainText);
}

QWidget* TextLabel::withSymbol(const QString& symbol, const QString& title, const QFont& font, int spacing,
    QWidget* parent, const SchemeColorRole& color)
{
    auto* label = new QWidget(parent);
    auto* layout = new QHBoxLayout(label);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(new SymbolView(symbol, QFontInfo(font).pixelSize(), color, label));
    layout->addWidget(new TextLabel(title, font, color, label));
    return label;
}

void TextLabel::setShrinkToFit(qreal minimumScale)
{
    m_minimumScale = minimumScale;
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    fitFont();
}

void TextLabel::setElided(Qt::TextElideMode mode)
{
    m_elide = mode;
    m_fullText = text();
    setToolTip(m_fullText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    fitText();
}

void TextLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fitFont();
    fitText();
}

void TextLabel::fitText()
{
    if (m_elide == Qt::ElideNone)
        return;
    const QString fitted = QFontMetricsF(font()).elidedText(m_fullText, m_elide, width());
    if (fitted != text())
        setText(fitted);
}

void TextLabel::fitFont()
{
    if (m_minimumScale >= 1.0)
        return;
    const qreal natural = QFontMetricsF(m_font).horizontalAdvance(text());
    const qreal scale = natural <= 0 ? 1.0 : std::clamp(width() / natural, m_minimumScale, 1.0);
    QFont fitted = m_font;
    // Our view fonts are sized in pixels; a font sized in points has no pixel size (-1).
    if (m_font.pixelSize() > 0)
        fitted.setPixelSize(std::max(1, qRound(m_font.pixelSize() * scale)));
    else
        fitted.setPointSizeF(m_font.pointSizeF() * scale);
    if (fitted != font())
        setFont(fitted);
}

void TextLabel::paintEvent(QPaintEvent* event)
{
    // The scheme is read when drawing, so the text follows a palette change of the desktop or
    // the window. The text colour is our own: the scheme's comes from the parent.
    QPalette scheme = palette();
    if (parentWidget()) {
        scheme.setColor(QPalette::WindowText, parentWidget()->palette().color(QPalette::WindowText));
    }
    const QColor color = m_color(SchemeColors(scheme));
    if (palette().color(QPalette::WindowText) != color) {
        QPalette own = palette();
        own.setColor(QPalette::WindowText, color);
        setPalette(own);
    }
    QLabel::paintEvent(event);
}

} // namespace norvelle
