#include "workspace/NoteDisplayText.h"

#include "platform/GraphemeWalker.h"
#include "store/NoteTitle.h"
#include "store/StickyNote.h"

#include <algorithm>

namespace norvelle {

namespace {

constexpr int previewCharacters = 400;

QStringView firstLine(const QString& plainText)
{
    const qsizetype end = plainText.indexOf(u'\n');
    return end < 0 ? QStringView(plainText) : QStringView(plainText).left(end);
}

// The first non-empty trimmed line after the first `skip` lines; read line by line, as notes
// are long and this runs for every note.
QStringView firstFilledLine(QStringView text, qsizetype skip)
{
    for (const QStringView line : text.tokenize(u'\n')) {
        if (skip > 0) {
            --skip;
        } else if (const QStringView trimmed = NoteTitle::trimmed(line); !trimmed.isEmpty()) {
            return trimmed;
        }
    }
    return {};
}

} // namespace

QString displayTitle(const QString& title, const QString& plainText)
{
    if (const QStringView trimmed = NoteTitle::trimmed(title); !trimmed.isEmpty()) {
        return NoteTitle::shown(trimmed);
    }
    if (const QStringView line = NoteTitle::trimmed(firstLine(plainText)); !line.isEmpty()) {
        return NoteTitle::shown(line);
    }
    return QStringLiteral("Empty note");
}

QString displayTitle(const StickyNote& note)
{
    return displayTitle(note.title(), note.plainText());
}

QString previewLine(const QString& title, const QString& plainText)
{
    const QString trimmedTitle = title.trimmed();
    const QStringView first = firstFilledLine(plainText, 0);
    // Without a title the first line is the title; a first line repeating the title is skipped.
    if (trimmedTitle.isEmpty() || first.compare(trimmedTitle, Qt::CaseInsensitive) == 0) {
        return GraphemeWalker::leading(firstFilledLine(plainText, 1), previewCharacters).toString();
    }
    return GraphemeWalker::leading(first, previewCharacters).toString();
}

QString previewLine(const QString& title, const std::function<QString(qsizetype length)>& leadingText)
{
    // The text is read from its start until the preview is known: a text may be hundreds of
    // megabytes, its preview a line near the top.
    for (qsizetype length = 4096;; length *= 4) {
        const QString leading = leadingText(length);
        if (leading.size() < length) {
            return previewLine(title, leading);
        }
        // Up to the last line break every line is whole, as in the whole text.
        const qsizetype lastBreak = leading.lastIndexOf(u'\n');
        if (const QString line = previewLine(title, leading.left(std::max<qsizetype>(lastBreak, 0))); !line.isEmpty()) {
            return line;
        }
    }
}

QString previewLine(const StickyNote& note)
{
    return previewLine(note.title(), [&note](qsizetype length) { return note.leadingPlainText(length); });
}

} // namespace norvelle
