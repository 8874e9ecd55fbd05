// How an edit is reported: one undo step per command, checklist boxes and cell placeholders
// tidied, the body and plain text reported once the keys stop, the formatting state at the caret.
#include "editor/RichTextEditorCoordinator.h"

#include "editor/ChecklistEditing.h"
#include "editor/EditorCommands.h"
#include "editor/EditorFonts.h"
#include "editor/LinePrefixes.h"
#include "editor/ListEditing.h"
#include "editor/RichTextEditor.h"
#include "editor/TableEditing.h"
#include "ui/HexColor.h"

#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <utility>

namespace norvelle {

void RichTextEditorCoordinator::contentsChanged()
{
    if (!std::exchange(m_contentsChanged, false))
        return;
    if (m_suppressChanges > 0) {
        m_changedWhileSuppressed = true;
        return;
    }
    textDidChange();
}

void RichTextEditorCoordinator::textDidChange()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    QTextDocument& document = *view->document();
    TextStorage storage(document);
    if (!m_isNormalizingChecklist) {
        ChecklistEditing checklists(storage, paperInk);
        if (checklists.needsNormalizing(std::exchange(m_unnormalizedLines, std::nullopt).value_or(TextRange {}))) {
            m_isNormalizingChecklist = true;
            ++m_suppressChanges;
            // Part of the edit that brought the token in, so one undo takes both back.
            QTextCursor step(&document);
            step.joinPreviousEditBlock();
            checklists.normalizeChecklistMarkers();
            step.endEditBlock();
            --m_suppressChanges;
            m_isNormalizingChecklist = false;
        }
    }
    // An empty table cell's invisible placeholder goes once the user writes there, in the same undo
    // step; not when an undo brings it back, or undo would stop there for good.
    const bool undone = document.isRedoAvailable();
    const std::vector<int> seeds = undone ? std::vector<int> {}
                                          : TableEditing(storage, paperInk)
                                                .seedsOfFilledCell(view->textCursor().position());
    if (!seeds.empty()) {
        ++m_suppressChanges;
        QTextCursor step(&document);
        step.joinPreviousEditBlock();
        for (const int seed : seeds)
            storage.cursor({seed, 1}).removeSelectedText();
        step.endEditBlock();
        --m_suppressChanges;
    }
    scheduleReport();
    broadcastFormattingState();
}

void RichTextEditorCoordinator::scheduleReport()
{
    // Keys that arrive together (a fast typist, a held key, a busy moment) are reported once,
    // after the last of them: the body of a large note takes a while to encode and save.
    if (std::exchange(m_reportPending, true))
        return;
    QMetaObject::invokeMethod(this, &RichTextEditorCoordinator::flushReport, Qt::QueuedConnection);
}

void RichTextEditorCoordinator::flushReport()
{
    StickyTextView* view = m_textView;
    if (!std::exchange(m_reportPending, false) || !view)
        return;
    QTextDocument& document = *view->document();
    const EncodedNote note = m_encoder->encode(document, m_appliedDefaultTextColor);
    m_parent.writeBindings(note.body, note.plainText);
}

void RichTextEditorCoordinator::selectionDidChange()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    const TextStorage storage(*view->document());
    const int location = view->textCursor().selectionStart();
    if (storage.isEmpty() || location >= storage.length()) {
        emit m_parent.selectionTableStateChanged(false);
        return;
    }
    emit m_parent.selectionTableStateChanged(storage.tableAt(location) != nullptr);
    broadcastFormattingState();
}

void RichTextEditorCoordinator::broadcastFormattingState()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    TextStorage storage(*view->document());
    const int location = view->textCursor().selectionStart();
    const bool atText = !storage.isEmpty() && location < storage.length();
    const QTextCharFormat attributes = atText ? storage.charFormat(location) : typingAttributes();
    const QTextBlockFormat paragraph = atText ? storage.blockFormat(location) : view->textCursor().blockFormat();
    const qreal size = EditorFonts::size(attributes).value_or(RichTextEditor::defaultFontSize);
    const auto brushHex = [&](int property, const QColor& fallback) {
        const QBrush brush = attributes.brushProperty(property);
        return hexString(attributes.hasProperty(property) && brush.style() != Qt::NoBrush ? brush.color() : fallback);
    };
    QString alignment = QStringLiteral("left");
    const Qt::Alignment horizontal = paragraph.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignRight)
        alignment = QStringLiteral("right");
    else if (horizontal & Qt::AlignHCenter)
        alignment = QStringLiteral("center");
    else if (horizontal & Qt::AlignJustify)
        alignment = QStringLiteral("justify");
    const int index = std::clamp(location, 0, storage.length());
    const TextRange line = storage.lineRange(index);
    const QString lineText = ListEditing(storage).lineBody(line);
    const bool quoted = LinePrefixes::isQuotedLine(lineText) || (index < storage.length() && storage.blockFormat(index).leftMargin() >= 15);
    const QVariantMap state {
        {QStringLiteral("bold"), attributes.fontWeight() >= EditorFonts::bold},
        {QStringLiteral("italic"), attributes.fontItalic()},
        {QStringLiteral("underline"), attributes.fontUnderline()},
        {QStringLiteral("strike"), attributes.fontStrikeOut()},
        {QStringLiteral("fontSize"), int(std::lround(size))},
        {QStringLiteral("textColorHex"), brushHex(QTextFormat::ForegroundBrush, m_parent.textColor())},
        {QStringLiteral("highlightHex"), brushHex(QTextFormat::BackgroundBrush, m_currentHighlightColor)},
        {QStringLiteral("alignment"), alignment},
        {QStringLiteral("listStyle"), LinePrefixes::caretListStyle(lineText)},
        {QStringLiteral("isQuoted"), quoted},
    };
    NotificationCenter::defaultCenter().post(EditorCommands::formattingStateDidChange, &m_parent, state);
}

void RichTextEditorCoordinator::commitEdit(const std::function<std::optional<int>(TextStorage&)>& body)
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    QTextDocument& document = *view->document();
    TextStorage storage(document);
    m_changedWhileSuppressed = false;
    ++m_suppressChanges;
    QTextCursor step(&document);
    step.beginEditBlock();
    const std::optional<int> caret = body(storage);
    step.endEditBlock();
    --m_suppressChanges;
    if (caret) {
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(std::clamp(*caret, 0, storage.length()));
        view->setTextCursor(cursor);
    }
    if (m_changedWhileSuppressed)
        textDidChange();
    else
        broadcastFormattingState();
}

void RichTextEditorCoordinator::setReportingPaused(bool paused)
{
    if (paused) {
        if (m_suppressChanges++ == 0)
            m_changedWhileSuppressed = false;
        return;
    }
    if (m_suppressChanges > 0 && --m_suppressChanges == 0 && m_changedWhileSuppressed)
        textDidChange();
}

} // namespace norvelle
