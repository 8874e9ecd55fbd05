#include "store/NoteTitle.h"

#include "platform/GraphemeWalker.h"

#include <QList>

#include <algorithm>
#include <utility>

namespace norvelle {

namespace {

constexpr QChar zeroWidthSpace(0x200B);

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85)
        || c == QChar(0x2028) || c == QChar(0x2029);
}

// A zero-width space holds an empty table cell's place and is never a title.
bool isBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space || c == zeroWidthSpace;
}

// Where the line from `start` to `end` of the text starts and ends once trimmed of blanks.
std::pair<qsizetype, qsizetype> trimmedOfBlanks(QStringView text, qsizetype start, qsizetype end)
{
    while (start < end && isBlank(text[start])) {
        ++start;
    }
    while (end > start && isBlank(text[end - 1])) {
        --end;
    }
    return {start, end};
}

struct TitleLine {
    QString title;
    // Where the text after the title line's break starts.
    qsizetype next = 0;
};

// The first line holding more than blanks, trimmed; none when there is no such line.
std::optional<TitleLine> titleLine(const QString& text)
{
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && !isLineBreak(text[end])) {
            ++end;
        }
        if (const auto [from, to] = trimmedOfBlanks(text, start, end); from < to) {
            // A note of one long line shares its text with its title instead of copying it.
            return TitleLine {text.mid(from, to - from), std::min(end + 1, text.size())};
        }
        start = end + 1;
    }
    return std::nullopt;
}

} // namespace

QStringView NoteTitle::trimmed(QStringView line)
{
    const auto blank = [](QChar c) { return c.isSpace() || isBlank(c); };
    while (!line.isEmpty() && blank(line.front())) {
        line = line.mid(1);
    }
    while (!line.isEmpty() && blank(line.back())) {
        line.chop(1);
    }
    return line;
}

std::optional<QString> NoteTitle::firstLine(const QString& text)
{
    // Line by line, not split at once: a text of millions of lines is not cut up for its first.
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        // A CR LF line end ends the title too, on purpose: text from Windows would otherwise
        // carry a stray CR into every title. The workspace's display texts read lines alike.
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        // The zero-width spaces of tables and their empty cells are no text of a title.
        while (line.startsWith(zeroWidthSpace)) {
            line = line.mid(1);
        }
        while (line.endsWith(zeroWidthSpace)) {
            line.chop(1);
        }
        if (!line.isEmpty()) {
            return line.toString();
        }
    }
    return std::nullopt;
}

QString NoteTitle::firstNonBlankLine(const QString& text)
{
    const auto line = titleLine(text);
    return line ? line->title : QString();
}

QString NoteTitle::bodyAfterTitle(const QString& text)
{
    const auto line = titleLine(text);
    if (!line) {
        return QString();
    }
    QString body = text.mid(line->next);
    for (QChar& c : body) {
        if (isLineBreak(c)) {
            c = u'\n';
        }
    }
    return body.trimmed();
}

QString NoteTitle::shown(QStringView name)
{
    const QStringView leading = GraphemeWalker::leading(name, shownCharacters);
    return leading.size() == name.size() ? name.toString() : leading.toString() + u'\u2026';
}

} // namespace norvelle
