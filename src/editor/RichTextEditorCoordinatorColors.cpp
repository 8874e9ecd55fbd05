// The paper's colours in the text: default text, selection, checklist boxes, tables, and what
// comes into the note.
#include "editor/RichTextEditorCoordinator.h"

#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorColors.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "editor/TableEditing.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <utility>
#include <vector>

namespace norvelle {

namespace {

// Default text carries no colour of its own: the view draws it in the paper's ink, so a new
// paper or theme changes no character and leaves the undo history as it was. A run coloured
// like a default (black or white from an older body or another program) is default text.
bool inDefaultColor(const QTextFormat& format, const std::vector<QColor>& defaults)
{
    if (ChecklistMarkerAttachment::isAttachment(format) || !format.hasProperty(QTextFormat::ForegroundBrush))
        return false;
    const QBrush brush = format.brushProperty(QTextFormat::ForegroundBrush);
    return brush.style() == Qt::NoBrush || std::any_of(defaults.begin(), defaults.end(), [&brush](const QColor& color) {
        return EditorColors::colorsMatch(brush.color(), color);
    });
}

template <typename Format>
Format withoutColor(Format format)
{
    format.clearForeground();
    return format;
}

// Collected first (a changed run may merge with its neighbour), then changed in one edit block,
// so Qt lays the text out once, not once a run.
void clearDefaultColor(QTextDocument& document, const std::vector<QColor>& defaults)
{
    std::vector<int> lines;
    std::vector<std::pair<TextRange, QTextCharFormat>> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        // An empty line types in its paragraph's format.
        if (inDefaultColor(block.charFormat(), defaults))
            lines.push_back(block.position());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (inDefaultColor(fragment.charFormat(), defaults))
                runs.emplace_back(TextRange {fragment.position(), fragment.length()}, withoutColor(fragment.charFormat()));
        }
    }
    if (lines.empty() && runs.empty())
        return;
    QTextCursor editing(&document);
    editing.beginEditBlock();
    for (const int line : lines) {
        editing.setPosition(line);
        editing.setBlockCharFormat(withoutColor(editing.blockCharFormat()));
    }
    for (const auto& [range, format] : runs) {
        editing.setPosition(range.start);
        editing.setPosition(range.end(), QTextCursor::KeepAnchor);
        editing.setCharFormat(format);
    }
    editing.endEditBlock();
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
    const QTextCharFormat typing = typingAttributes();
    if (inDefaultColor(typing, {color, m_appliedDefaultTextColor.value_or(color)}))
        setTypingAttributes(withoutColor(typing));
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
    // Drawn by the view: a table's colours are no format of the note, so a new paper edits
    // nothing and leaves the undo history as it was.
    if (StickyTextView* view = m_textView) {
        const EditorColors colors(m_parent.paperHex());
        view->setTableColors({colors.tableBorder(), colors.tableCellBackground()});
    }
}

void RichTextEditorCoordinator::adoptText(QTextDocument& document)
{
    // Bodies stored before default text went without a colour hold it as black or white,
    // whatever paper they were written on, and so does what other programs copy: both are
    // default text.
    clearDefaultColor(document, {QColor(Qt::black), QColor(Qt::white), m_parent.textColor()});
    TextStorage storage(document);
    TableEditing tables(storage, paperInk);
    for (QTextTable* table : tables.tables()) {
        tables.restorePlaceholders(table);
        tables.restyleTable(table);
    }
}

} // namespace norvelle
