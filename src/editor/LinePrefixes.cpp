#include "editor/LinePrefixes.h"

#include "editor/ChecklistMarkerAttachment.h"

namespace norvelle::LinePrefixes {

namespace {

QString trimLineBreaks(const QString& line)
{
    qsizetype from = 0;
    qsizetype to = line.size();
    const auto isBreak = [](QChar c) { return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator; };
    while (from < to && isBreak(line[from]))
        ++from;
    while (to > from && isBreak(line[to - 1]))
        --to;
    return line.mid(from, to - from);
}

// Digits (any numeric character) before the first full stop, how many, and where the stop is.
struct NumberHead {
    bool numeric = false;
    qsizetype stop = -1;
};

NumberHead numberHead(const QString& text)
{
    NumberHead head;
    head.stop = text.indexOf(u'.');
    if (head.stop < 0)
        return head;
    head.numeric = true;
    for (qsizetype i = 0; i < head.stop; ++i) {
        if (!text[i].isNumber()) {
            head.numeric = false;
            break;
        }
    }
    return head;
}

} // namespace

Split splitLeadingWhitespace(const QString& line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    return {line.left(i), line.mid(i)};
}

Split splitQuotePrefix(const QString& line)
{
    const Split indent = splitLeadingWhitespace(line);
    if (indent.body.startsWith(quote))
        return {indent.prefix + quote, indent.body.mid(quote.size())};
    return {QString(), line};
}

bool lineHasListPrefix(const QString& line, const QString& style)
{
    const QString rest = splitLeadingWhitespace(trimLineBreaks(line)).body;
    if (style == u"number") {
        const NumberHead head = numberHead(rest);
        return head.numeric && head.stop + 1 < rest.size() && rest[head.stop + 1] == u' ';
    }
    if (style == u"dash")
        return rest.startsWith(dash);
    return rest.startsWith(bullet);
}

QString stripListPrefix(const QString& line)
{
    const Split split = splitLeadingWhitespace(trimLineBreaks(line));
    const QString& rest = split.body;
    for (const QString* prefix : {&bullet, &dash, &ChecklistMarkerAttachment::uncheckedToken,
             &ChecklistMarkerAttachment::checkedToken, &ChecklistMarkerAttachment::legacyCheckedToken}) {
        if (rest.startsWith(*prefix))
            return split.prefix + rest.mid(prefix->size());
    }
    const NumberHead head = numberHead(rest);
    if (head.numeric && head.stop <= 3 && head.stop + 1 < rest.size() && rest[head.stop + 1] == u' ')
        return split.prefix + rest.mid(head.stop + 2);
    return split.prefix + rest;
}

QString listPrefix(int index, const QString& style)
{
    if (style == u"number")
        return QString::number(index + 1) + QStringLiteral(". ");
    if (style == u"dash")
        return dash;
    return bullet;
}

QString caretListStyle(const QString& line)
{
    const QString body = splitQuotePrefix(trimLineBreaks(line)).body;
    if (body.startsWith(bullet))
        return QStringLiteral("bullet");
    if (body.startsWith(dash))
        return QStringLiteral("dash");
    if (numberHead(body).numeric)
        return QStringLiteral("number");
    return QStringLiteral("none");
}

bool isQuotedLine(const QString& line)
{
    // A bar alone on its line (a quoted blank line) counts too, so such a quote can end.
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(quote) || trimmed == quote.trimmed();
}

} // namespace norvelle::LinePrefixes
