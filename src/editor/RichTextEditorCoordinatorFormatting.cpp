// The formatting commands: character attributes, text styles, alignment, lists and quotes.
#include "editor/RichTextEditorCoordinator.h"

#include "editor/ChecklistEditing.h"
#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorColors.h"
#include "editor/EditorFonts.h"
#include "editor/ListEditing.h"
#include "editor/RichTextEditor.h"

#include <QTextBlock>
#include <QTextDocument>

#include <vector>

namespace norvelle {

namespace {

struct Run {
    TextRange range;
    QTextCharFormat format;
};

// The formatting runs inside a range, cut at its edges.
std::vector<Run> runsIn(const TextStorage& storage, TextRange range)
{
    std::vector<Run> runs;
    for (QTextBlock block = storage.document().findBlock(range.start); block.isValid() && block.position() < range.end();
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(range.start, fragment.position());
            const int end = std::min(range.end(), fragment.position() + fragment.length());
            if (start < end)
                runs.push_back({{start, end - start}, fragment.charFormat()});
        }
    }
    return runs;
}

bool hasBrush(const QTextFormat& format, int property)
{
    return format.hasProperty(property) && format.brushProperty(property).style() != Qt::NoBrush;
}

QTextCharFormat toggled(QTextCharFormat font, RichTextEditorCoordinator::FontTrait trait)
{
    QTextCharFormat change;
    if (trait == RichTextEditorCoordinator::FontTrait::Bold)
        change.setFontWeight(font.fontWeight() >= EditorFonts::bold ? EditorFonts::regular : EditorFonts::bold);
    else
        change.setFontItalic(!font.fontItalic());
    return change;
}

// A run without a size of its own is the editor's default 14 points.
QTextCharFormat withDefaultFont(QTextCharFormat format)
{
    if (!EditorFonts::size(format))
        format.setProperty(QTextFormat::FontPixelSize, int(RichTextEditor::defaultFontSize));
    return format;
}

} // namespace

TextRange RichTextEditorCoordinator::selection() const
{
    const QTextCursor cursor = m_textView->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

QTextCharFormat RichTextEditorCoordinator::typingAttributes() const
{
    return m_textView ? m_textView->currentCharFormat() : QTextCharFormat();
}

void RichTextEditorCoordinator::setTypingAttributes(const QTextCharFormat& format)
{
    // With a selection the view's format is the selection's, not the typing attributes.
    if (m_textView && !m_textView->textCursor().hasSelection())
        m_textView->setCurrentCharFormat(format);
}

void RichTextEditorCoordinator::applyCharacterFormat(const QTextCharFormat& format)
{
    if (!m_textView)
        return;
    const TextRange selected = selection();
    commitEdit([&](TextStorage& storage) -> std::optional<int> {
        if (selected.length > 0) {
            storage.mergeCharFormat(selected, format);
        } else {
            QTextCharFormat typing = typingAttributes();
            typing.merge(format);
            setTypingAttributes(typing);
        }
        return std::nullopt;
    });
}

void RichTextEditorCoordinator::applyFontSize(qreal size)
{
    applyCharacterFormat(EditorFonts::systemFormat(size));
}

void RichTextEditorCoordinator::applyTextStyle(qreal size, int weight)
{
    applyCharacterFormat(EditorFonts::systemFormat(size, weight));
}

void RichTextEditorCoordinator::applyMonospacedStyle(qreal size)
{
    applyCharacterFormat(EditorFonts::monospacedFormat(size));
}

void RichTextEditorCoordinator::applyTextColor(const QColor& color)
{
    if (!EditorColors::colorsMatch(color, m_parent.textColor())) {
        QTextCharFormat format;
        format.setForeground(color);
        applyCharacterFormat(format);
        return;
    }
    // The paper's own ink picked makes default text again, which follows the paper.
    if (!m_textView)
        return;
    const TextRange selected = selection();
    commitEdit([&](TextStorage& storage) -> std::optional<int> {
        if (selected.length > 0) {
            for (Run& run : runsIn(storage, selected)) {
                run.format.clearForeground();
                storage.setCharFormat(run.range, run.format);
            }
        } else {
            QTextCharFormat typing = typingAttributes();
            typing.clearForeground();
            setTypingAttributes(typing);
        }
        return std::nullopt;
    });
}

void RichTextEditorCoordinator::toggleFontTrait(FontTrait trait)
{
    if (!m_textView)
        return;
    const TextRange selected = selection();
    commitEdit([&](TextStorage& storage) -> std::optional<int> {
        if (selected.length > 0) {
            // Each run decides for itself: bold parts turn plain and plain parts bold.
            for (const Run& run : runsIn(storage, selected))
                storage.mergeCharFormat(run.range, toggled(run.format, trait));
        } else {
            QTextCharFormat typing = withDefaultFont(typingAttributes());
            typing.merge(toggled(typing, trait));
            setTypingAttributes(typing);
        }
        return std::nullopt;
    });
}

void RichTextEditorCoordinator::toggleLineStyle(LineStyle style)
{
    if (!m_textView)
        return;
    const TextRange selected = selection();
    const QTextCharFormat current = selected.length > 0 ? TextStorage(*m_textView->document()).charFormat(selected.start) : typingAttributes();
    QTextCharFormat change;
    if (style == LineStyle::Underline)
        change.setFontUnderline(!current.fontUnderline());
    else
        change.setFontStrikeOut(!current.fontStrikeOut());
    applyCharacterFormat(change);
}

void RichTextEditorCoordinator::toggleHighlight()
{
    if (!m_textView)
        return;
    const TextRange selected = selection();
    commitEdit([&](TextStorage& storage) -> std::optional<int> {
        if (selected.length > 0) {
            if (!hasBrush(storage.charFormat(selected.start), QTextFormat::BackgroundBrush)) {
                QTextCharFormat highlight;
                highlight.setBackground(m_currentHighlightColor);
                storage.mergeCharFormat(selected, highlight);
                return std::nullopt;
            }
            // Any highlight at the first character switches the whole selection off.
            for (Run run : runsIn(storage, selected)) {
                run.format.clearBackground();
                storage.setCharFormat(run.range, run.format);
            }
            return std::nullopt;
        }
        QTextCharFormat typing = typingAttributes();
        if (typing.hasProperty(QTextFormat::BackgroundBrush))
            typing.clearBackground();
        else
            typing.setBackground(m_currentHighlightColor);
        setTypingAttributes(typing);
        return std::nullopt;
    });
}

void RichTextEditorCoordinator::applyAlignment(const QString& name)
{
    if (!m_textView)
        return;
    Qt::Alignment alignment = Qt::AlignHCenter;
    if (name == u"left")
        alignment = Qt::AlignLeft | Qt::AlignAbsolute;
    else if (name == u"right")
        alignment = Qt::AlignRight;
    else if (name == u"justify")
        alignment = Qt::AlignJustify;
    const TextRange selected = selection();
    commitEdit([&](TextStorage& storage) -> std::optional<int> {
        QTextBlockFormat format;
        format.setAlignment(alignment);
        // A caret aligns only a paragraph that has no text yet: it is what is typed next.
        const TextRange paragraphs = storage.lineRange(selected);
        // Up to the last paragraph's break, which would otherwise reach into the next one.
        if (selected.length > 0 || paragraphs.length <= 1)
            storage.cursor({paragraphs.start, std::max(0, paragraphs.length - 1)}).mergeBlockFormat(format);
        return std::nullopt;
    });
}

void RichTextEditorCoordinator::setListStyle(const QString& style)
{
    if (!m_textView)
        return;
    const TextRange selected = selection();
    commitEdit([&](TextStorage& storage) -> std::optional<int> { return ListEditing(storage).setListStyle(selected, style); });
}

void RichTextEditorCoordinator::insertChecklist()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    const QTextCursor cursor = view->textCursor();
    const TextRange selection {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
    commitEdit([&](TextStorage& storage) {
        return ChecklistEditing(storage, paperInk).insertChecklist(selection);
    });
}

void RichTextEditorCoordinator::toggleQuote()
{
    if (!m_textView)
        return;
    const TextRange selected = selection();
    commitEdit([&](TextStorage& storage) -> std::optional<int> { return ListEditing(storage).toggleQuote(selected); });
}

} // namespace norvelle
