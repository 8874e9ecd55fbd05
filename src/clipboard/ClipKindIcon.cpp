#include "clipboard/ClipKindIcon.h"

#include "platform/GraphemeWalker.h"

namespace norvelle {

namespace {

bool isSpaceOrTab(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Only spaces and tabs go: a leading line break keeps "\nhttp…" from counting as a link.
QStringView trimSpacesAndTabs(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpaceOrTab(text.at(begin)))
        ++begin;
    while (end > begin && isSpaceOrTab(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

// Views ask on every paint: the text is looked at in place, never copied or lower-cased whole.
QString clipKindSymbol(const QString& text)
{
    const QStringView s = trimSpacesAndTabs(text);
    if (s.startsWith(u"http", Qt::CaseInsensitive))
        return QStringLiteral("link");
    // "#" with up to eight hex digits (#RGB, #RRGGBB, #RRGGBBAA) is a colour code.
    if (s.startsWith(u'#') && GraphemeWalker::hasAtMost(s, 9))
        return QStringLiteral("paintpalette");
    if (s.startsWith(u'/') || s.startsWith(u'~'))
        return QStringLiteral("folder");
    return QStringLiteral("doc.text");
}

} // namespace norvelle
