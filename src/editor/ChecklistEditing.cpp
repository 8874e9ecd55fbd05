#include "editor/ChecklistEditing.h"

#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorFonts.h"

#include <QTextBlock>
#include <QTextDocument>

#include <unordered_map>
#include <utility>

namespace norvelle {

namespace {

const QString& tokenFor(bool checked)
{
    return checked ? ChecklistMarkerAttachment::checkedToken : ChecklistMarkerAttachment::uncheckedToken;
}

} // namespace

QTextCharFormat ChecklistEditing::itemTextFormat() const
{
    QTextCharFormat format = EditorFonts::systemFormat(14, EditorFonts::regular);
    format.setFontStrikeOut(false);
    if (m_textColor.isValid())
        format.setForeground(m_textColor);
    return format;
}

ChecklistEditing::LineStart ChecklistEditing::lineStart(int start) const
{
    const LineStart byFormat = formatLineStart(m_storage.charFormat(start));
    return byFormat != LineStart::Nothing ? byFormat : textLineStart(m_storage.text({start, 3}));
}

ChecklistEditing::LineStart ChecklistEditing::formatLineStart(const QTextCharFormat& format)
{
    if (ChecklistMarkerAttachment::isMarker(format))
        return LineStart::Box;
    if (ChecklistMarkerAttachment::isAttachment(format))
        return LineStart::OtherAttachment;
    return LineStart::Nothing;
}

ChecklistEditing::LineStart ChecklistEditing::textLineStart(QStringView head)
{
    const QChar first = head.isEmpty() ? QChar() : head.front();
    if (first == QChar::ObjectReplacementCharacter)
        return LineStart::LoneObject;
    if (first != u'\u25CB' && first != u'\u25CF' && first != u'\u25C9')
        return LineStart::Nothing;
    if (head.startsWith(ChecklistMarkerAttachment::uncheckedToken))
        return LineStart::Token;
    if (head.startsWith(ChecklistMarkerAttachment::checkedToken))
        return LineStart::CheckedToken;
    if (head.startsWith(ChecklistMarkerAttachment::legacyCheckedToken))
        return LineStart::LegacyToken;
    return LineStart::Nothing;
}

std::optional<bool> ChecklistEditing::checklistMarkerState(int start, int length) const
{
    if (start < 0 || start >= m_storage.length())
        return std::nullopt;
    const QString line = m_storage.text({start, std::min(length, 2)});
    if (line.startsWith(ChecklistMarkerAttachment::uncheckedToken))
        return false;
    if (line.startsWith(ChecklistMarkerAttachment::checkedToken))
        return true;
    const QTextCharFormat format = m_storage.charFormat(start);
    if (ChecklistMarkerAttachment::isMarker(format))
        return ChecklistMarkerAttachment::isChecked(format);
    return std::nullopt;
}

std::optional<int> ChecklistEditing::itemTextStart(int position) const
{
    const TextRange line = m_storage.lineRange(position);
    const int boxLength = int(ChecklistMarkerAttachment::uncheckedToken.size());
    if (position >= line.start + boxLength)
        return std::nullopt;
    // Only the line's head is read: this runs for every key typed, on lines of any length.
    const TextRange head {line.start, std::min(line.length, boxLength + 1)};
    if (!checklistMarkerState(line.start, TextStorage::withoutLineBreak(head, m_storage.text(head)).length))
        return std::nullopt;
    return std::min(line.start + boxLength, m_storage.length());
}

void ChecklistEditing::setChecklistMarker(int start, int lineLength, bool checked, ItemText itemText)
{
    const QString& newToken = tokenFor(checked);
    const TextRange line = m_storage.lineRange(start);
    const QString lineText = m_storage.text({line.start, 2});
    int oldLength = int(newToken.size());
    if (lineText.startsWith(ChecklistMarkerAttachment::checkedToken))
        oldLength = int(ChecklistMarkerAttachment::checkedToken.size());
    else if (lineText.startsWith(ChecklistMarkerAttachment::uncheckedToken))
        oldLength = int(ChecklistMarkerAttachment::uncheckedToken.size());
    if (lineLength < std::min(int(newToken.size()), oldLength))
        return;
    QTextCursor cursor = m_storage.cursor({start, oldLength});
    QTextCharFormat space = m_storage.charFormat(start);
    space.setObjectType(QTextFormat::NoObject);
    space.clearProperty(QTextFormat::ObjectType);
    space.clearProperty(ChecklistMarkerAttachment::checkedProperty);
    space.clearProperty(ChecklistMarkerAttachment::colorProperty);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), ChecklistMarkerAttachment::format(checked, m_boxColor));
    cursor.insertText(QStringLiteral(" "), itemTextFormat());
    if (itemText == ItemText::Kept)
        return;
    const TextRange after = m_storage.lineRange(start);
    const QString afterText = m_storage.text(after);
    int bodyLength = std::max(0, TextStorage::withoutLineBreak(after, afterText).length - int(newToken.size()));
    m_storage.mergeCharFormat({start + int(newToken.size()), bodyLength}, itemTextFormat());
}

bool ChecklistEditing::needsNormalizing(std::optional<TextRange> changed) const
{
    // This runs after every edit, over the lines it changed: each format of a line's start is
    // classified once, and only the first characters of a line are read.
    const QTextDocument& document = m_storage.document();
    const TextRange lines = changed.value_or(TextRange {0, m_storage.length()});
    std::unordered_map<int, LineStart> byFormat;
    for (QTextBlock block = document.findBlock(std::clamp(lines.start, 0, m_storage.length())); block.isValid() && block.position() <= lines.end();
         block = block.next()) {
        const int length = block.length() - 1;
        if (length <= 0)
            continue;
        const QTextFragment first = block.begin().fragment();
        const auto [found, added] = byFormat.try_emplace(first.charFormatIndex(), LineStart::Nothing);
        if (added)
            found->second = formatLineStart(first.charFormat());
        LineStart kind = found->second;
        if (kind == LineStart::Nothing) {
            QString head;
            for (int i = 0; i < std::min(length, 3); ++i)
                head += document.characterAt(block.position() + i);
            kind = textLineStart(head);
        }
        if (kind != LineStart::Nothing && kind != LineStart::Box)
            return true;
    }
    return false;
}

bool ChecklistEditing::normalizeChecklistMarkers()
{
    bool changed = false;
    for (QTextBlock block = m_storage.document().begin(); block.isValid(); block = block.next()) {
        const int start = block.position();
        if (start >= m_storage.length())
            break;
        const int lineLength = block.length() - 1;
        switch (lineStart(start)) {
        case LineStart::Nothing:
        case LineStart::Box:
            continue;
        case LineStart::OtherAttachment:
        case LineStart::LoneObject:
        case LineStart::Token:
            // What a stored or pasted item was given stays: this runs at every opening.
            setChecklistMarker(start, lineLength, false, ItemText::Kept);
            break;
        case LineStart::CheckedToken:
        case LineStart::LegacyToken:
            setChecklistMarker(start, lineLength, true, ItemText::Kept);
            break;
        }
        changed = true;
    }
    return changed;
}

int ChecklistEditing::markSelectedLinesAsChecklist(TextRange selection)
{
    TextRange lines = m_storage.lineRange(selection);
    // Line by line, so each line keeps its own formatting and an existing box stays as it is.
    int position = lines.start;
    int end = lines.end();
    while (position < end) {
        const TextRange line = m_storage.lineRange(position);
        const TextRange body = TextStorage::withoutLineBreak(line, m_storage.text(line));
        if (body.length > 0 && !checklistMarkerState(line.start, body.length)) {
            QTextCharFormat format = m_storage.charFormat(line.start);
            if (ChecklistMarkerAttachment::isAttachment(format))
                format = itemTextFormat();
            m_storage.cursor({line.start, 0}).insertText(ChecklistMarkerAttachment::uncheckedToken, format);
            setChecklistMarker(line.start, body.length + 2, false);
            end += 2;
        }
        const int next = m_storage.lineRange(line.start).end();
        if (next <= position)
            break;
        position = next;
    }
    return std::min(end, m_storage.length());
}

std::optional<int> ChecklistEditing::insertChecklist(TextRange selection)
{
    if (selection.length > 0)
        return markSelectedLinesAsChecklist(selection);
    const TextRange line = m_storage.lineRange(std::min(selection.start, m_storage.length()));
    const TextRange body = TextStorage::withoutLineBreak(line, m_storage.text(line));
    if (const std::optional<bool> state = checklistMarkerState(line.start, body.length)) {
        setChecklistMarker(line.start, body.length, !*state);
        return std::nullopt;
    }
    QTextCharFormat format = line.start < m_storage.length() ? m_storage.charFormat(line.start) : itemTextFormat();
    if (ChecklistMarkerAttachment::isAttachment(format))
        format = itemTextFormat();
    m_storage.cursor({line.start, 0}).insertText(ChecklistMarkerAttachment::uncheckedToken, format);
    setChecklistMarker(line.start, body.length + 2, false);
    return std::min(selection.start + int(ChecklistMarkerAttachment::uncheckedToken.size()), m_storage.length());
}

} // namespace norvelle
