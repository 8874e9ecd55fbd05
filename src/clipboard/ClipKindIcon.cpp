#include "clipboard/ClipKindIcon.h"

#include <QTextBoundaryFinder>

namespace norvelle {

namespace {

bool isSpaceOrTab(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Only spaces and tabs go: a leading line break keeps "\nhttp…" from counting as a link.
QString trimSpacesAndTabs(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpaceOrTab(text.at(begin)))
        ++begin;
    while (end > begin && isSpaceOrTab(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool hasAtMostGraphemes(const QString& text, int limit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() != -1) {
        if (++count > limit)
            return false;
    }
    return true;
}

} // namespace

QString clipKindSymbol(const QString& text)
{
    const QString s = trimSpacesAndTabs(text.toLower());
    if (s.startsWith(u"http"))
        return QStringLiteral("link");
    // "#" with up to eight hex digits (#RGB, #RRGGBB, #RRGGBBAA) is a colour code.
    if (s.startsWith(u'#') && hasAtMostGraphemes(s, 9))
        return QStringLiteral("paintpalette");
    if (s.startsWith(u'/') || s.startsWith(u'~'))
        return QStringLiteral("folder");
    return QStringLiteral("doc.text");
}

} // namespace norvelle
