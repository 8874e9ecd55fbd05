#include "store/NoteTitle.h"

namespace norvelle {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85)
        || c == QChar(0x2028) || c == QChar(0x2029);
}

bool isBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

QString trimmedOfBlanks(QStringView line)
{
    qsizetype start = 0;
    qsizetype end = line.size();
    while (start < end && isBlank(line[start])) {
        ++start;
    }
    while (end > start && isBlank(line[end - 1])) {
        --end;
    }
    return line.mid(start, end - start).toString();
}

} // namespace

std::optional<QString> NoteTitle::firstLine(const QString& text)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool lineFeed = i < text.size() && text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r');
        if (i == text.size() || lineFeed) {
            if (i > start) {
                return text.mid(start, i - start);
            }
            start = i + 1;
        }
    }
    return std::nullopt;
}

QString NoteTitle::firstNonBlankLine(const QString& text)
{
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && !isLineBreak(text[end])) {
            ++end;
        }
        const QString line = trimmedOfBlanks(QStringView(text).mid(start, end - start));
        if (!line.isEmpty()) {
            return line;
        }
        start = end + 1;
    }
    return QString();
}

} // namespace norvelle
