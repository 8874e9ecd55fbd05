#include "rtf/RtfFormatMapping.h"

#include "rtf/RtfLimits.h"

#include <QFontDatabase>

#include <cmath>

namespace norvelle {

namespace {

std::optional<QRgb> brushColor(const QTextFormat& format, int property)
{
    if (!format.hasProperty(property))
        return std::nullopt;
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush)
        return std::nullopt;
    return brush.color().rgba();
}

QString firstFamily(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.front();
}

} // namespace

RtfFormatMapping::RtfFormatMapping()
    : m_systemFamily(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family())
    , m_systemMonoFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family())
{
}

QTextCharFormat RtfFormatMapping::charFormat(const RtfCharacterStyle& style) const
{
    QTextCharFormat format;
    switch (style.fontKind) {
    case RtfFontKind::System:
        format.setFontFamilies({m_systemFamily});
        break;
    case RtfFontKind::SystemMono:
        format.setFontFamilies({m_systemMonoFamily});
        break;
    case RtfFontKind::Named:
        format.setFontFamilies({style.family});
        break;
    }
    // One point of a stored body is drawn as one logical pixel, the scale of every view. A
    // half point is drawn rounded and kept for writing back.
    format.setProperty(QTextFormat::FontPixelSize, std::max(1, qRound(style.halfPoints / 2.0)));
    if (style.halfPoints % 2 != 0)
        format.setProperty(halfPointsProperty, style.halfPoints);
    format.setFontWeight(style.weight);
    format.setFontItalic(style.italic);
    format.setFontUnderline(style.underline);
    format.setFontStrikeOut(style.strikethrough);
    if (style.foreground)
        format.setForeground(QColor::fromRgba(*style.foreground));
    if (style.background)
        format.setBackground(QColor::fromRgba(*style.background));
    return format;
}

RtfCharacterStyle RtfFormatMapping::characterStyle(const QTextCharFormat& format) const
{
    RtfCharacterStyle style;
    const QString family = firstFamily(format);
    if (family.isEmpty() || family == m_systemFamily) {
        style.fontKind = RtfFontKind::System;
    } else if (family == m_systemMonoFamily) {
        style.fontKind = RtfFontKind::SystemMono;
    } else {
        style.fontKind = RtfFontKind::Named;
        style.family = family;
    }
    if (format.hasProperty(QTextFormat::FontPixelSize)) {
        const int pixels = format.intProperty(QTextFormat::FontPixelSize);
        const int kept = format.intProperty(halfPointsProperty);
        style.halfPoints = rounded(kept > 0 && qRound(kept / 2.0) == pixels ? kept : pixels * 2.0,
            RtfLimits::minHalfPoints, RtfLimits::maxHalfPoints);
    } else if (format.hasProperty(QTextFormat::FontPointSize))
        style.halfPoints = rounded(format.fontPointSize() * 2, RtfLimits::minHalfPoints, RtfLimits::maxHalfPoints);
    if (format.hasProperty(QTextFormat::FontWeight))
        style.weight = RtfLimits::weight(format.fontWeight());
    style.italic = format.fontItalic();
    style.underline = format.fontUnderline();
    style.strikethrough = format.fontStrikeOut();
    style.foreground = brushColor(format, QTextFormat::ForegroundBrush);
    style.background = brushColor(format, QTextFormat::BackgroundBrush);
    return style;
}

QTextBlockFormat RtfFormatMapping::blockFormat(const RtfParagraphStyle& style)
{
    QTextBlockFormat format;
    switch (style.alignment) {
    case RtfAlignment::Natural:
        break;
    case RtfAlignment::Left:
        format.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        break;
    case RtfAlignment::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case RtfAlignment::Right:
        format.setAlignment(Qt::AlignRight);
        break;
    case RtfAlignment::Justified:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
    if (style.leftIndent != 0)
        format.setLeftMargin(toPoints(style.leftIndent));
    if (style.firstLineIndent != 0)
        format.setTextIndent(toPoints(style.firstLineIndent));
    if (style.spaceBefore != 0)
        format.setTopMargin(toPoints(style.spaceBefore));
    if (style.spaceAfter != 0)
        format.setBottomMargin(toPoints(style.spaceAfter));
    return format;
}

RtfParagraphStyle RtfFormatMapping::paragraphStyle(const QTextBlockFormat& format)
{
    RtfParagraphStyle style;
    if (format.hasProperty(QTextFormat::BlockAlignment)) {
        const Qt::Alignment alignment = format.alignment();
        const Qt::Alignment horizontal = alignment & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify);
        if (horizontal == Qt::AlignHCenter)
            style.alignment = RtfAlignment::Center;
        else if (horizontal == Qt::AlignJustify)
            style.alignment = RtfAlignment::Justified;
        else if (horizontal == Qt::AlignRight)
            style.alignment = RtfAlignment::Right;
        else if (horizontal == Qt::AlignLeft && alignment.testFlag(Qt::AlignAbsolute))
            style.alignment = RtfAlignment::Left;
    }
    style.leftIndent = RtfLimits::twips(toTwips(format.leftMargin()));
    style.firstLineIndent = RtfLimits::twips(toTwips(format.textIndent()));
    style.spaceBefore = RtfLimits::positiveTwips(toTwips(format.topMargin()));
    style.spaceAfter = RtfLimits::positiveTwips(toTwips(format.bottomMargin()));
    return style;
}

int RtfFormatMapping::toTwips(qreal points)
{
    return rounded(points * 20, -RtfLimits::maxTwips, RtfLimits::maxTwips);
}

int RtfFormatMapping::rounded(qreal value, int low, int high)
{
    if (std::isnan(value))
        return low;
    return int(std::lround(std::clamp<qreal>(value, low, high)));
}

} // namespace norvelle
