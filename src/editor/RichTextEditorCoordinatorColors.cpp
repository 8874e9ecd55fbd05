// The paper's colours in the text: default text, selection, checklist boxes, tables, and what
// comes into the note.
#include "editor/RichTextEditorCoordinator.h"

#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorColors.h"
#include "editor/LongParagraphSplit.h"
#include "editor/RichTextEditor.h"
#include "editor/TableEditing.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace norvelle {

namespace {

// Runs without a colour, or in a previous default colour, take the new default.
bool takesDefaultColor(const QTextFormat& format, const std::vector<QColor>& old, const QColor& color)
{
    if (ChecklistMarkerAttachment::isAttachment(format))
        return false;
    const QBrush brush = format.brushProperty(QTextFormat::ForegroundBrush);
    if (!format.hasProperty(QTextFormat::ForegroundBrush) || brush.style() == Qt::NoBrush)
        return true;
    if (EditorColors::colorsMatch(brush.color(), color))
        return false;
    return std::any_of(old.begin(), old.end(), [&brush](const QColor& previous) {
        return EditorColors::colorsMatch(brush.color(), previous);
    });
}

void recolor(QTextDocument& document, const std::vector<QColor>& old, const QColor& color)
{
    std::vector<TextRange> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!takesDefaultColor(it.fragment().charFormat(), old, color))
                continue;
            const TextRange run {it.fragment().position(), it.fragment().length()};
            // Neighbouring runs (split only by other attributes) in one change.
            if (!runs.empty() && runs.back().end() == run.start)
                runs.back().length += run.length;
            else
                runs.push_back(run);
        }
    }
    if (runs.empty())
        return;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    TextStorage storage(document);
    QTextCharFormat foreground;
    foreground.setForeground(color);
    for (const TextRange& run : runs)
        storage.mergeCharFormat(run, foreground);
    document.setUndoRedoEnabled(undo);
}

} // namespace

QColor RichTextEditorCoordinator::checklistMarkerColor() const
{
    return EditorColors(m_parent.paperHex()).checklistMarker();
}

void RichTextEditorCoordinator::applyDefaultTextColor(const QColor& color)
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    std::vector<QColor> old;
    if (m_appliedDefaultTextColor)
        old.push_back(*m_appliedDefaultTextColor);
    // A new paper colour is no edit of the note: it is neither reported nor undone.
    ++m_suppressChanges;
    if (view->document()->characterCount() > LongParagraphSplit::splitAbove)
        view->restyleLaidOutLater([&] { recolor(*view->document(), old, color); });
    else
        recolor(*view->document(), old, color);
    --m_suppressChanges;
    QTextCharFormat typing = typingAttributes();
    if (takesDefaultColor(typing, old, color)) {
        typing.setForeground(color);
        setTypingAttributes(typing);
    }
    QPalette palette = view->palette();
    palette.setColor(QPalette::Text, color);
    view->setPalette(palette);
    view->setChecklistBaseTextColor(color);
    m_appliedDefaultTextColor = color;
}

void RichTextEditorCoordinator::applySelectionColors()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    const EditorColors colors(m_parent.paperHex());
    QPalette palette = view->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, colors.selectionHighlight());
        palette.setColor(group, QPalette::HighlightedText, m_parent.textColor());
    }
    view->setPalette(palette);
    ChecklistMarkerRenderer::install(*view->document())->setColor(colors.checklistMarker());
}

void RichTextEditorCoordinator::refreshTableAppearance()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    TextStorage storage(*view->document());
    TableEditing tables(storage, m_parent.textColor(), EditorColors(m_parent.paperHex()));
    const std::vector<QTextTable*> found = tables.tables();
    if (found.empty())
        return;
    // The paper's colours are no edit of the note: neither reported nor undone.
    ++m_suppressChanges;
    const bool undo = view->document()->isUndoRedoEnabled();
    view->document()->setUndoRedoEnabled(false);
    for (QTextTable* table : found)
        tables.restyleTable(table);
    view->document()->setUndoRedoEnabled(undo);
    --m_suppressChanges;
}

void RichTextEditorCoordinator::adoptText(QTextDocument& document)
{
    // Bodies stored before default text went without a colour hold it as black or white,
    // whatever paper they were written on, and so does what other programs copy: both are
    // default text.
    recolor(document, {QColor(Qt::black), QColor(Qt::white)}, m_parent.textColor());
    TextStorage storage(document);
    TableEditing tables(storage, m_parent.textColor(), EditorColors(m_parent.paperHex()));
    for (QTextTable* table : tables.tables())
        tables.restyleTable(table);
}

} // namespace norvelle
