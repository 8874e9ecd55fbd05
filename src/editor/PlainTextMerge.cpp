#include "editor/PlainTextMerge.h"

#include "editor/RichTextBody.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>

namespace norvelle {

namespace {

bool inMainText(const QTextDocument& document, int firstBlock, int lastBlock)
{
    for (int number = firstBlock; number <= lastBlock; ++number) {
        if (QTextCursor(document.findBlockByNumber(number)).currentFrame() != document.rootFrame())
            return false;
    }
    return true;
}

// The document's characters from `start` to `end` with paragraph breaks as line breaks: the
// plain text of that stretch where it holds no drawn box.
QString shownText(QTextDocument& document, int start, int end)
{
    QTextCursor cursor(&document);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

// New text takes the look of the text it follows, never that of a drawn box.
void insertAt(QTextCursor& cursor, const QString& text)
{
    QTextCharFormat format = cursor.charFormat();
    if (format.objectType() != QTextFormat::NoObject || format.isImageFormat())
        format = cursor.blockCharFormat();
    cursor.insertText(text, format);
}

qsizetype commonPrefix(QStringView a, QStringView b)
{
    const qsizetype limit = std::min(a.size(), b.size());
    qsizetype count = 0;
    while (count < limit && a[count] == b[count])
        ++count;
    return count;
}

qsizetype commonSuffix(QStringView a, QStringView b, qsizetype limit)
{
    qsizetype count = 0;
    while (count < limit && a[a.size() - 1 - count] == b[b.size() - 1 - count])
        ++count;
    return count;
}

// Replaces the document's stretch from `start` to `end`, whose plain text is `replaced`, so it
// reads `added`. Without drawn boxes in the way, only the characters that differ are written.
void replaceWithin(QTextDocument& document, int start, int end, const QString& replaced, const QString& added)
{
    if (replaced == added)
        return;
    if (shownText(document, start, end) == replaced) {
        const qsizetype before = commonPrefix(replaced, added);
        const qsizetype after = commonSuffix(replaced, added, std::min(replaced.size(), added.size()) - before);
        start += int(before);
        end -= int(after);
        QTextCursor cursor(&document);
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        insertAt(cursor, added.mid(before, added.size() - before - after));
        return;
    }
    QTextCursor cursor(&document);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    insertAt(cursor, added);
}

} // namespace

bool mergePlainText(QTextDocument& document, const QString& text)
{
    const QStringList oldLines = plainTextOf(document).split(u'\n');
    const QStringList newLines = text.split(u'\n');
    // Each paragraph is one line of the plain text, unless a long one is shown in pieces.
    if (document.blockCount() != oldLines.size())
        return false;
    const qsizetype shorter = std::min(oldLines.size(), newLines.size());
    qsizetype same = 0;
    while (same < shorter && oldLines[same] == newLines[same])
        ++same;
    qsizetype sameAfter = 0;
    while (same + sameAfter < shorter
        && oldLines[oldLines.size() - 1 - sameAfter] == newLines[newLines.size() - 1 - sameAfter])
        ++sameAfter;
    const int first = int(same);
    // The old lines [first, oldEnd) became the new lines [first, newEnd).
    const int oldEnd = int(oldLines.size() - sameAfter);
    const int newEnd = int(newLines.size() - sameAfter);
    const QString added = newLines.mid(first, newEnd - first).join(u'\n');

    QTextCursor cursor(&document);
    if (oldEnd == first) {
        // Lines only added: before the first unchanged line after them, or after the last line.
        const bool atEnd = first == oldLines.size();
        const int at = atEnd ? first - 1 : first;
        if (!inMainText(document, at, at))
            return false;
        const QTextBlock block = document.findBlockByNumber(at);
        cursor.setPosition(atEnd ? block.position() + block.length() - 1 : block.position());
        insertAt(cursor, atEnd ? u'\n' + added : added + u'\n');
        return true;
    }
    if (newEnd == first) {
        // Lines only removed: with the break after them, or before them at the end of the text.
        const bool atEnd = oldEnd == oldLines.size();
        if (!inMainText(document, atEnd ? first - 1 : first, atEnd ? oldEnd - 1 : oldEnd))
            return false;
        const QTextBlock from = document.findBlockByNumber(atEnd ? first - 1 : first);
        const QTextBlock to = document.findBlockByNumber(atEnd ? oldEnd - 1 : oldEnd);
        cursor.setPosition(atEnd ? from.position() + from.length() - 1 : from.position());
        cursor.setPosition(atEnd ? to.position() + to.length() - 1 : to.position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        return true;
    }
    if (oldEnd == newEnd) {
        // As many lines as before: each is written into its own paragraph, a table's cell too.
        for (int line = first; line < oldEnd; ++line) {
            const QTextBlock block = document.findBlockByNumber(line);
            replaceWithin(document, block.position(), block.position() + block.length() - 1, oldLines[line], newLines[line]);
        }
        return true;
    }
    if (!inMainText(document, first, oldEnd - 1))
        return false;
    const QTextBlock last = document.findBlockByNumber(oldEnd - 1);
    replaceWithin(document, document.findBlockByNumber(first).position(), last.position() + last.length() - 1,
        oldLines.mid(first, oldEnd - first).join(u'\n'), added);
    return true;
}

} // namespace norvelle
