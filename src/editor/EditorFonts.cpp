#include "editor/EditorFonts.h"

#include <QFontDatabase>

namespace norvelle {

namespace {

QTextCharFormat fontFormat(const QFont& font, qreal pointSize, int weight)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList {font.family()});
    format.setFontPointSize(pointSize);
    format.setFontWeight(weight);
    format.setFontItalic(false);
    return format;
}

} // namespace

QFont EditorFonts::system(qreal pointSize, int weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Weight(weight));
    return font;
}

QFont EditorFonts::monospaced(qreal pointSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QTextCharFormat EditorFonts::systemFormat(qreal pointSize, int weight)
{
    return fontFormat(QFontDatabase::systemFont(QFontDatabase::GeneralFont), pointSize, weight);
}

QTextCharFormat EditorFonts::monospacedFormat(qreal pointSize)
{
    return fontFormat(QFontDatabase::systemFont(QFontDatabase::FixedFont), pointSize, regular);
}

} // namespace norvelle
