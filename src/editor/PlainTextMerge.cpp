#include "editor/PlainTextMerge.h"

#include "editor/FlatParagraphs.h"
#include "editor/RichTextBody.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <utility>
#include <vector>

namespace norvelle {

namespace {

// Beyond this many line pairs the changed lines are not matched one by one but rewritten whole.
constexpr qsizetype maximumMatchedPairs = 1 << 20;

// Old lines [oldFrom, oldTo) became new lines [newFrom, newTo).
struct Hunk {
    int oldFrom;
    int oldTo;
    int newFrom;
    int newTo;
};

// How many items two sequences (texts or lists of lines) share at their start and, after that,
// at their end.
template <class Sequence>
std::pair<qsizetype, qsizetype> sharedEnds(const Sequence& a, const Sequence& b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype start = 0;
    while (start < shorter && a[start] == b[start])
        ++start;
    qsizetype end = 0;
    while (start + end < shorter && a[a.size() - 1 - end] == b[b.size() - 1 - end])
        ++end;
    return {start, end};
}

// Where a paragraph stands: in the main text, in a frame of another kind, or in one cell of a
// table. Lines are removed, with the line breaks between them, only within one such place.
struct Place {
    QTextFrame* frame;
    int row = -1;
    int column = -1;
    bool operator==(const Place&) const = default;
};

Place placeOf(const QTextDocument& document, int number)
{
    const QTextBlock block = document.findBlockByNumber(number);
    QTextCursor cursor(block);
    if (QTextTable* table = cursor.currentTable()) {
        const QTextTableCell cell = table->cellAt(block.position());
        return {table, cell.row(), cell.column()};
    }
    return {cursor.currentFrame()};
}

// The table's paragraphs, in order and with their formats, in its place in the main text: as
// many paragraphs as it had cell paragraphs, so every line keeps its number.
void flattenTable(QTextDocument& document, QTextTable& table)
{
    const QTextDocumentFragment flat = flatParagraphs(document.findBlock(table.firstPosition()), document.findBlock(table.lastPosition()));
    QTextCursor cursor(&document);
    cursor.setPosition(table.firstPosition() - 1);
    cursor.setPosition(table.lastPosition() + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.insertBlock();
    cursor.insertFragment(flat);
    cursor.insertBlock();
}

// Makes paragraphs first to last one place to remove lines in: the tables they reach into
// become paragraphs of the main text. False where a frame of another kind is in the way.
bool makeOnePlace(QTextDocument& document, int first, int last)
{
    const Place start = placeOf(document, first);
    bool same = true;
    for (int number = first + 1; number <= last && same; ++number)
        same = placeOf(document, number) == start;
    if (same)
        return true;
    for (int number = first; number <= last; ++number) {
        const Place place = placeOf(document, number);
        if (place.row >= 0)
            flattenTable(document, *static_cast<QTextTable*>(place.frame));
        else if (place.frame != document.rootFrame())
            return false;
    }
    return true;
}

int blockEnd(const QTextDocument& document, int number)
{
    const QTextBlock block = document.findBlockByNumber(number);
    return block.position() + block.length() - 1;
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
void replace(QTextDocument& document, int start, int end, const QString& text)
{
    QTextCursor cursor(&document);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    QTextCharFormat format = cursor.charFormat();
    if (format.objectType() != QTextFormat::NoObject || format.isImageFormat())
        format = cursor.blockCharFormat();
    cursor.insertText(text, format);
}

// Rewrites one paragraph that read `before` so it reads `after`. Without drawn boxes in the way,
// only the characters that differ are written.
void replaceLine(QTextDocument& document, int number, const QString& before, const QString& after)
{
    if (before == after)
        return;
    int start = document.findBlockByNumber(number).position();
    int end = blockEnd(document, number);
    if (shownText(document, start, end) == before) {
        const auto [same, sameAfter] = sharedEnds(before, after);
        start += int(same);
        end -= int(sameAfter);
        replace(document, start, end, after.mid(same, after.size() - same - sameAfter));
        return;
    }
    replace(document, start, end, after);
}

// The changed stretches between the lines the old and new text share, in order.
std::vector<Hunk> changedLines(const QStringList& oldLines, const QStringList& newLines)
{
    const auto [same, sameAfter] = sharedEnds(oldLines, newLines);
    const int oldFrom = int(same);
    const int newFrom = int(same);
    const int oldCount = int(oldLines.size() - sameAfter) - oldFrom;
    const int newCount = int(newLines.size() - sameAfter) - newFrom;
    if (oldCount == 0 && newCount == 0)
        return {};
    if (oldCount == 0 || newCount == 0 || qsizetype(oldCount) * newCount > maximumMatchedPairs)
        return {{oldFrom, oldFrom + oldCount, newFrom, newFrom + newCount}};

    // The longest run of lines both share, by its table of common lengths from each pair on.
    const int width = newCount + 1;
    std::vector<int> common(size_t(oldCount + 1) * size_t(width), 0);
    for (int i = oldCount - 1; i >= 0; --i) {
        for (int j = newCount - 1; j >= 0; --j) {
            common[size_t(i) * width + j] = oldLines[oldFrom + i] == newLines[newFrom + j]
                ? common[size_t(i + 1) * width + j + 1] + 1
                : std::max(common[size_t(i + 1) * width + j], common[size_t(i) * width + j + 1]);
        }
    }
    std::vector<Hunk> hunks;
    Hunk open {oldFrom, oldFrom, newFrom, newFrom};
    int i = 0;
    int j = 0;
    while (i < oldCount || j < newCount) {
        if (i < oldCount && j < newCount && oldLines[oldFrom + i] == newLines[newFrom + j]) {
            if (open.oldTo > open.oldFrom || open.newTo > open.newFrom)
                hunks.push_back(open);
            ++i;
            ++j;
            open = {oldFrom + i, oldFrom + i, newFrom + j, newFrom + j};
        } else if (j == newCount || (i < oldCount && common[size_t(i + 1) * width + j] >= common[size_t(i) * width + j + 1])) {
            open.oldTo = oldFrom + ++i;
        } else {
            open.newTo = newFrom + ++j;
        }
    }
    if (open.oldTo > open.oldFrom || open.newTo > open.newFrom)
        hunks.push_back(open);
    return hunks;
}

// Changed lines are rewritten pair by pair (a table's cell too); lines left over are removed or
// added with the line break between them and the line before.
bool apply(QTextDocument& document, const Hunk& hunk, const QStringList& oldLines, const QStringList& newLines)
{
    const int paired = std::min(hunk.oldTo - hunk.oldFrom, hunk.newTo - hunk.newFrom);
    const int rest = hunk.oldFrom + paired; // the first old line not paired
    if (hunk.oldTo > rest) {
        if (rest > 0) {
            if (!makeOnePlace(document, rest - 1, hunk.oldTo - 1))
                return false;
            replace(document, blockEnd(document, rest - 1), blockEnd(document, hunk.oldTo - 1), {});
        } else {
            if (!makeOnePlace(document, 0, hunk.oldTo))
                return false;
            replace(document, 0, document.findBlockByNumber(hunk.oldTo).position(), {});
        }
    } else if (hunk.newTo > hunk.newFrom + paired) {
        // Lines added after a table cell's line join that cell, as a reader puts cells past
        // the widest table it keeps.
        const QString added = newLines.mid(hunk.newFrom + paired, hunk.newTo - hunk.newFrom - paired).join(u'\n');
        if (rest > 0) {
            const int end = blockEnd(document, rest - 1);
            replace(document, end, end, u'\n' + added);
        } else {
            replace(document, 0, 0, added + u'\n');
        }
    }
    for (int k = 0; k < paired; ++k)
        replaceLine(document, hunk.oldFrom + k, oldLines[hunk.oldFrom + k], newLines[hunk.newFrom + k]);
    return true;
}

} // namespace

bool mergePlainText(QTextDocument& document, const QString& text)
{
    const QStringList oldLines = plainTextOf(document).split(u'\n');
    const QStringList newLines = text.split(u'\n');
    // Each paragraph is one line of the plain text, unless a long one is shown in pieces.
    if (document.blockCount() != oldLines.size())
        return false;
    const std::vector<Hunk> hunks = changedLines(oldLines, newLines);
    // From the last change up, so the paragraphs of the earlier ones keep their numbers.
    for (auto hunk = hunks.rbegin(); hunk != hunks.rend(); ++hunk) {
        if (!apply(document, *hunk, oldLines, newLines))
            return false;
    }
    return true;
}

} // namespace norvelle
