// The keys the text view routes here first: Escape, Tab and Return in tables, checklists and
// highlights, the formatting shortcuts, and where a typed character goes.
#include "editor/RichTextEditorCoordinator.h"

#include "editor/ChecklistEditing.h"
#include "editor/ChecklistMarkerAttachment.h"
#include "editor/RichTextEditor.h"
#include "editor/TableEditing.h"

#include <QTextDocument>

#include <algorithm>

namespace norvelle {

std::optional<TextRange> RichTextEditorCoordinator::typingRange(int position)
{
    if (!m_textView)
        return std::nullopt;
    TextStorage storage(*m_textView->document());
    if (storage.isEmpty())
        return std::nullopt;
    if (const auto seed = TableEditing(storage, paperInk).seedOfEmptyCell(position))
        return seed;
    if (const std::optional<int> itemText = ChecklistEditing(storage).itemTextStart(position))
        return TextRange {*itemText, 0};
    return std::nullopt;
}

bool RichTextEditorCoordinator::highlightActiveAtCaret() const
{
    const auto highlighted = [](const QTextFormat& format) {
        return format.hasProperty(QTextFormat::BackgroundBrush) && format.brushProperty(QTextFormat::BackgroundBrush).style() != Qt::NoBrush;
    };
    if (highlighted(typingAttributes()))
        return true;
    const TextStorage storage(*m_textView->document());
    if (storage.isEmpty())
        return false;
    const int index = std::clamp(m_textView->textCursor().selectionStart(), 0, storage.length());
    return (index > 0 && highlighted(storage.charFormat(index - 1))) || (index < storage.length() && highlighted(storage.charFormat(index)));
}

bool RichTextEditorCoordinator::handleChecklistReturn(TextStorage& storage, TextRange line)
{
    const QString lineText = storage.text(TextStorage::withoutLineBreak(line, storage.text(line)));
    const int tokenLength = int(ChecklistMarkerAttachment::uncheckedToken.size());
    const bool emptyItem = lineText.mid(tokenLength).trimmed().isEmpty();
    StickyTextView& view = *m_textView;
    commitEdit([&](TextStorage& text) -> std::optional<int> {
        ChecklistEditing checklists(text, paperInk);
        if (emptyItem) {
            // An empty item ends the list: its box goes and a plain line break follows.
            text.cursor({line.start, tokenLength}).removeSelectedText();
            QTextCursor cursor = view.textCursor();
            cursor.insertBlock();
            return cursor.position();
        }
        QTextCursor cursor = view.textCursor();
        cursor.insertBlock();
        cursor.insertText(ChecklistMarkerAttachment::uncheckedToken, checklists.itemTextFormat());
        const int caret = cursor.position();
        const TextRange next = text.lineRange(std::max(0, caret - tokenLength));
        checklists.setChecklistMarker(next.start, TextStorage::withoutLineBreak(next, text.text(next)).length, false);
        return caret;
    });
    return true;
}

bool RichTextEditorCoordinator::doCommand(Command command)
{
    StickyTextView* view = m_textView;
    if (!view)
        return false;
    TextStorage storage(*view->document());
    TableEditing tables(storage, paperInk);
    const int location = view->textCursor().selectionStart();
    switch (command) {
    case Command::Cancel: {
        const auto cell = tables.cellInfo(location);
        if (storage.isEmpty() || !cell)
            return false;
        commitEdit([&](TextStorage&) -> std::optional<int> { return tables.leaveTable(cell->table); });
        return true;
    }
    case Command::InsertTab:
    case Command::InsertBacktab: {
        const std::optional<int> caret = tables.moveToAdjacentCell(location, command == Command::InsertTab);
        if (!caret)
            return false;
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(*caret);
        view->setTextCursor(cursor);
        return true;
    }
    case Command::InsertNewline:
        break;
    }
    if (tables.cellInfo(location)) {
        commitEdit([&](TextStorage&) { return tables.handleReturnInTable(location); });
        return true;
    }
    const int caret = std::min(view->textCursor().selectionStart(), storage.length());
    const TextRange line = storage.lineRange(caret);
    const TextRange body = TextStorage::withoutLineBreak(line, storage.text(line));
    if (ChecklistEditing(storage).checklistMarkerState(line.start, body.length))
        return handleChecklistReturn(storage, line);
    if (!highlightActiveAtCaret())
        return false;
    commitEdit([&](TextStorage&) -> std::optional<int> {
        QTextCursor cursor = view->textCursor();
        cursor.insertBlock();
        view->setTextCursor(cursor);
        return std::nullopt;
    });
    QTextCharFormat typing = typingAttributes();
    typing.clearBackground();
    setTypingAttributes(typing);
    broadcastFormattingState();
    return true;
}

bool RichTextEditorCoordinator::doShortcut(const QKeyCombination& key)
{
    if (key.keyboardModifiers() != Qt::ControlModifier)
        return false;
    switch (key.key()) {
    case Qt::Key_B:
        toggleFontTrait(FontTrait::Bold);
        return true;
    case Qt::Key_I:
        toggleFontTrait(FontTrait::Italic);
        return true;
    case Qt::Key_U:
        toggleLineStyle(LineStyle::Underline);
        return true;
    default:
        return false;
    }
}

} // namespace norvelle
