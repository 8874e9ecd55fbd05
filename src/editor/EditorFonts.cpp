#include "editor/EditorFonts.h"

#include <QFontDatabase>

#include <algorithm>

namespace norvelle {

namespace {

int pixels(qreal size)
{
    return std::max(1, qRound(size));
}

QTextCharFormat fontFormat(const QFont& font, qreal size, int weight)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList {font.family()});
    format.setProperty(QTextFormat::FontPixelSize, pixels(size));
    format.setFontWeight(weight);
    format.setFontItalic(false);
    return format;
}

} // namespace

QFont EditorFonts::system(qreal size, int weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixels(size));
    font.setWeight(QFont::Weight(weight));
    return font;
}

QTextCharFormat EditorFonts::systemFormat(qreal size, int weight)
{
    return fontFormat(QFontDatabase::systemFont(QFontDatabase::GeneralFont), size, weight);
}

QTextCharFormat EditorFonts::monospacedFormat(qreal size)
{
    return fontFormat(QFontDatabase::systemFont(QFontDatabase::FixedFont), size, regular);
}

std::optional<qreal> EditorFonts::size(const QTextFormat& format)
{
    if (format.hasProperty(QTextFormat::FontPixelSize))
        return format.intProperty(QTextFormat::FontPixelSize);
    if (format.hasProperty(QTextFormat::FontPointSize))
        return format.doubleProperty(QTextFormat::FontPointSize);
    return std::nullopt;
}

qreal EditorFonts::size(const QFont& font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF();
}

} // namespace norvelle
