#include "editor/ListEditing.h"

#include "editor/ChecklistMarkerAttachment.h"
#include "editor/LinePrefixes.h"

#include <QTextBlock>
#include <QTextDocument>

namespace norvelle {

int ListEditing::headLength(int lineStart) const
{
    if (!ChecklistMarkerAttachment::isMarker(m_storage.charFormat(lineStart)))
        return 0;
    return m_storage.characterAt(lineStart + 1) == u' ' ? 2 : 1;
}

QString ListEditing::lineBody(TextRange line) const
{
    const QString text = m_storage.text(line);
    const TextRange body = TextStorage::withoutLineBreak(line, text);
    return text.left(body.length).mid(headLength(line.start));
}

std::vector<ListEditing::Line> ListEditing::selectedLines(TextRange selection) const
{
    const int length = m_storage.length();
    const TextRange block = m_storage.lineRange({std::clamp(selection.start, 0, length), std::max(0, selection.length)});
    std::vector<Line> lines;
    int position = block.start;
    do {
        const TextRange line = m_storage.lineRange(position);
        if (!m_storage.tableAt(line.start))
            lines.push_back({line.start + headLength(line.start), lineBody(line)});
        if (line.end() <= position)
            break;
        position = line.end();
    } while (position < block.end());
    return lines;
}

int ListEditing::blockEnd(TextRange selection) const
{
    const int length = m_storage.length();
    return m_storage.lineRange({std::clamp(selection.start, 0, length), std::max(0, selection.length)}).end();
}

bool ListEditing::selectionHasListStyle(TextRange selection, const QString& style) const
{
    bool any = false;
    for (const Line& line : selectedLines(selection)) {
        if (line.text.isEmpty())
            continue;
        any = true;
        if (!LinePrefixes::lineHasListPrefix(LinePrefixes::splitQuotePrefix(line.text).body, style))
            return false;
    }
    return any;
}

bool ListEditing::selectionIsAllQuoted(TextRange selection) const
{
    bool any = false;
    for (const Line& line : selectedLines(selection)) {
        if (line.text.isEmpty())
            continue;
        any = true;
        if (!LinePrefixes::isQuotedLine(line.text))
            return false;
    }
    return any;
}

QTextCharFormat ListEditing::prefixFormat(int position) const
{
    // The prefix looks like the text it stands before.
    const QTextBlock block = m_storage.document().findBlock(position);
    QTextCharFormat format = position < block.position() + block.length() - 1 ? m_storage.charFormat(position) : block.charFormat();
    if (ChecklistMarkerAttachment::isAttachment(format))
        format = block.charFormat();
    return format;
}

void ListEditing::insert(int position, const QString& text)
{
    if (!text.isEmpty())
        m_storage.cursor({position, 0}).insertText(text, prefixFormat(position));
}

int ListEditing::setListStyle(TextRange selection, const QString& style)
{
    const int end = blockEnd(selection) - m_storage.length();
    const bool removeOnly = selectionHasListStyle(selection, style);
    const std::vector<Line> lines = selectedLines(selection);
    std::vector<int> numbers(lines.size(), -1);
    int counter = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const QString stripped = LinePrefixes::stripListPrefix(LinePrefixes::splitQuotePrefix(lines[i].text).body);
        if (!removeOnly && !stripped.trimmed().isEmpty())
            numbers[i] = counter++;
    }
    // Last line first, so the starts still to come stay where they are.
    for (size_t i = lines.size(); i-- > 0;) {
        const LinePrefixes::Split quote = LinePrefixes::splitQuotePrefix(lines[i].text);
        const LinePrefixes::Split indent = LinePrefixes::splitLeadingWhitespace(quote.body);
        const QString stripped = LinePrefixes::stripListPrefix(quote.body);
        const int oldPrefix = int(quote.body.size() - stripped.size());
        const int bodyStart = lines[i].start + int(quote.prefix.size());
        m_storage.cursor({bodyStart + int(indent.prefix.size()), oldPrefix}).removeSelectedText();
        if (numbers[i] >= 0)
            insert(bodyStart, LinePrefixes::listPrefix(numbers[i], style));
    }
    // The end of the edited lines, counted from the end of the text, which edits do not move.
    return std::clamp(m_storage.length() + end, 0, m_storage.length());
}

int ListEditing::toggleQuote(TextRange selection)
{
    const int end = blockEnd(selection) - m_storage.length();
    const bool removing = selectionIsAllQuoted(selection);
    const std::vector<Line> lines = selectedLines(selection);
    for (size_t i = lines.size(); i-- > 0;) {
        QTextCursor paragraph = m_storage.cursor({lines[i].start, 0});
        QTextBlockFormat indent;
        indent.setLeftMargin(removing ? 0 : quoteIndent);
        indent.setTextIndent(0);
        paragraph.mergeBlockFormat(indent);
        const LinePrefixes::Split quote = LinePrefixes::splitQuotePrefix(lines[i].text);
        if (removing && !quote.prefix.isEmpty())
            m_storage.cursor({lines[i].start, int(quote.prefix.size())}).removeSelectedText();
        else if (!removing && quote.prefix.isEmpty())
            insert(lines[i].start, LinePrefixes::quote);
    }
    // The end of the edited lines, counted from the end of the text, which edits do not move.
    return std::clamp(m_storage.length() + end, 0, m_storage.length());
}

} // namespace norvelle
