// The text the view shows: loaded from a note, installed with its layout options, and its wrap
// and direction following what is typed or pasted.
#include "editor/RichTextEditorCoordinator.h"

#include "editor/ChecklistEditing.h"
#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorFonts.h"
#include "editor/LongLineWrap.h"
#include "editor/LongParagraphSplit.h"
#include "editor/PlainTextMerge.h"
#include "editor/RichTextBody.h"
#include "editor/RichTextEditor.h"
#include "editor/RightToLeftText.h"
#include "editor/TableEditing.h"

#include <QTextDocument>

#include <algorithm>

namespace norvelle {

namespace {

// The stretch of text `changed` covers once `removed` characters at `position` became `added`,
// together with what that change touched.
std::optional<TextRange> afterChange(std::optional<TextRange> changed, int position, int removed, int added)
{
    if (!changed)
        return TextRange {position, added};
    const auto moved = [&](int at) { return at >= position + removed ? at + added - removed : std::min(at, position + added); };
    const int start = std::min(moved(changed->start), position);
    const int end = std::max(moved(changed->end()), position + added);
    return TextRange {start, end - start};
}

} // namespace

void RichTextEditorCoordinator::installDocument(std::unique_ptr<QTextDocument> document)
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    document->setDocumentMargin(RichTextEditor::textInset);
    document->setDefaultFont(EditorFonts::system(RichTextEditor::defaultFontSize));
    document->setUndoRedoEnabled(false);
    {
        TextStorage storage(*document);
        ChecklistEditing(storage, paperInk).normalizeChecklistMarkers();
    }
    // Before the view lays the text out: colouring is then a matter of formats only.
    adoptText(*document);
    LongParagraphSplit::split(*document);
    document->setUndoRedoEnabled(true);
    document->setParent(view);
    const QString characters = document->toRawText();
    const QTextOption::WrapMode wrap = LongLineWrap::wrapModeFor(characters);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(wrap);
    option.setTextDirection(RightToLeftText::directionFor(characters));
    document->setDefaultTextOption(option);
    document->setDefaultFont(LongLineWrap::fontFor(document->defaultFont(), wrap));
    ++m_suppressChanges;
    // The view deletes a document of its own making; ours are its children.
    const QPointer<QTextDocument> old = view->document();
    if (view->wordWrapMode() != wrap) {
        // Through a blank document: the one going is not laid out again in the new mode.
        QTextDocument blank;
        view->setDocument(&blank);
        view->setWordWrapMode(wrap);
        view->setDocument(document.release());
    } else {
        view->setDocument(document.release());
    }
    if (old && old->parent() == view)
        delete old.data();
    view->keepLayoutWithinReach();
    view->layOutWhenShown();
    ChecklistMarkerRenderer::install(*view->document())->setColor(checklistMarkerColor());
    // A new text is encoded whole at its first save.
    m_encoder = std::make_unique<NoteEncoder>();
    m_unnormalizedLines.reset();
    // contentsChanged also ends every empty edit block; contentsChange says something changed.
    connect(view->document(), &QTextDocument::contentsChange, this, [this, document = view->document()](int position, int removed, int added) {
        m_encoder->textChanged(*document, position, removed, added);
        m_unnormalizedLines = afterChange(m_unnormalizedLines, position, removed, added);
        m_contentsChanged = true;
        wrapAnywhereAfterLongRun(position, added);
        findParagraphDirectionsAfterRightToLeft(position, added);
    });
    connect(view->document(), &QTextDocument::contentsChanged, this, &RichTextEditorCoordinator::contentsChanged);
    m_appliedDefaultTextColor.reset();
    --m_suppressChanges;
}

void RichTextEditorCoordinator::loadContent(const QString& text, const std::optional<QByteArray>& richData)
{
    // What is loaded replaces what was shown, an edit not yet reported included.
    m_reportPending = false;
    std::unique_ptr<QTextDocument> document;
    if (richData && !richData->isEmpty()) {
        document = decodeRichTextData(*richData);
        if (document) {
            TextStorage storage(*document);
            ChecklistEditing checklists(storage, paperInk);
            checklists.normalizeChecklistMarkers();
            // A plain text changed elsewhere (sync, the workspace) is newer than the body: its
            // changed lines are written into it, and the rest keeps its formatting. Notes saved
            // before boxes were written as tokens hold U+FFFC for them, and before placeholders
            // were left out of the plain text, U+200B.
            const QString current = TableEditing::withoutSeeds(text);
            if (plainTextOf(*document) != current && storage.string() != text) {
                if (mergePlainText(*document, current) && plainTextOf(*document) == current)
                    checklists.normalizeChecklistMarkers();
                else
                    document.reset();
            }
        }
    }
    if (!document) {
        document = std::make_unique<QTextDocument>();
        const QTextCharFormat format = EditorFonts::systemFormat(RichTextEditor::defaultFontSize);
        QTextCursor cursor(document.get());
        cursor.setBlockCharFormat(format);
        if (!text.isEmpty())
            cursor.insertText(text, format);
    }
    installDocument(std::move(document));
    applyDefaultTextColor(m_parent.textColor());
    applySelectionColors();
}

void RichTextEditorCoordinator::wrapAnywhereAfterLongRun(int position, int added)
{
    StickyTextView* view = m_textView;
    if (!view || view->wordWrapMode() == QTextOption::WrapAnywhere)
        return;
    const TextStorage storage(*view->document());
    const int limit = int(LongLineWrap::unbreakableRunLimit);
    const int start = std::max(0, position - limit);
    const int end = std::min(storage.length(), position + added + limit);
    if (!LongLineWrap::hasUnbreakableRun(storage.text({start, end - start})))
        return;
    // Once the edit is laid out: a new wrap mode lays the whole text out again.
    QMetaObject::invokeMethod(view, &StickyTextView::wrapAnywhere, Qt::QueuedConnection);
}

void RichTextEditorCoordinator::findParagraphDirectionsAfterRightToLeft(int position, int added)
{
    StickyTextView* view = m_textView;
    if (!view || view->document()->defaultTextOption().textDirection() != Qt::LeftToRight)
        return;
    const TextStorage storage(*view->document());
    if (!RightToLeftText::isIn(storage.text({position, added})))
        return;
    // Once the edit is laid out: a new direction lays the whole text out again.
    QMetaObject::invokeMethod(
        view, [document = QPointer<QTextDocument>(view->document())] {
            if (!document)
                return;
            QTextOption option = document->defaultTextOption();
            option.setTextDirection(Qt::LayoutDirectionAuto);
            document->setDefaultTextOption(option);
        },
        Qt::QueuedConnection);
}

} // namespace norvelle
