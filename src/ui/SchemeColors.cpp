#include "ui/SchemeColors.h"

#include "ui/SchemePalette.h"

namespace norvelle {

namespace {

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

} // namespace

SchemeColors::SchemeColors(const QPalette& palette)
    : m_palette(palette)
    , m_dark(isDarkScheme(palette))
{
}

bool SchemeColors::isDarkScheme(const QPalette& palette)
{
    return schemeOf(palette) == ColorScheme::dark;
}

QColor SchemeColors::overlay(qreal darkOpacity, qreal lightOpacity) const
{
    return m_dark ? withOpacity(Qt::white, darkOpacity) : withOpacity(Qt::black, lightOpacity);
}

// The light scheme's label colours are the palette's text at the weights of primary (0.85),
// secondary (0.5) and tertiary (0.26) labels.
QColor SchemeColors::textAt(qreal opacity) const
{
    QColor text = m_palette.color(QPalette::WindowText);
    text.setAlphaF(float(opacity));
    return text;
}

QColor SchemeColors::label() const
{
    return m_dark ? QColor(Qt::white) : textAt(0.85);
}

QColor SchemeColors::secondaryText() const
{
    return m_dark ? withOpacity(Qt::white, 0.45) : textAt(0.5);
}

QColor SchemeColors::tertiaryText() const
{
    return m_dark ? withOpacity(Qt::white, 0.3) : textAt(0.26);
}

QColor SchemeColors::footerText() const
{
    return m_dark ? withOpacity(Qt::white, 0.6) : textAt(0.5);
}

QColor SchemeColors::accent() const
{
    return m_palette.color(QPalette::Highlight);
}

QColor SchemeColors::background() const
{
    return m_palette.color(QPalette::Window);
}

QColor SchemeColors::windowBackground() const
{
    return m_dark ? QColor::fromRgbF(0.11f, 0.11f, 0.12f) : background();
}

QColor SchemeColors::destructive() const
{
    return m_dark ? QColor::fromRgbF(1.0f, 0.27f, 0.23f) : QColor::fromRgbF(1.0f, 0.23f, 0.19f);
}

QColor SchemeColors::stripBlue(qreal opacity)
{
    return QColor::fromRgbF(0.04f, 0.52f, 1.0f, float(opacity));
}

QColor SchemeColors::stickyViolet()
{
    return QColor::fromRgbF(0.37f, 0.36f, 0.90f);
}

} // namespace norvelle
