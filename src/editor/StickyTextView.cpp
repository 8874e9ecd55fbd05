#include "editor/StickyTextView.h"

#include "editor/ChecklistEditing.h"
#include "editor/LongParagraphSplit.h"
#include "rtf/ParagraphContinuation.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>

#include <memory>

namespace norvelle {

namespace {

std::optional<StickyTextViewDelegate::Command> commandFor(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Escape:
        return modifiers == Qt::NoModifier ? std::optional(StickyTextViewDelegate::Command::Cancel) : std::nullopt;
    case Qt::Key_Tab:
        return modifiers == Qt::NoModifier ? std::optional(StickyTextViewDelegate::Command::InsertTab) : std::nullopt;
    case Qt::Key_Backtab:
        return std::optional(StickyTextViewDelegate::Command::InsertBacktab);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return modifiers == Qt::NoModifier ? std::optional(StickyTextViewDelegate::Command::InsertNewline) : std::nullopt;
    default:
        return std::nullopt;
    }
}

bool movesToLineStart(const QKeyEvent& event)
{
    for (const QKeySequence::StandardKey key : {QKeySequence::MoveToStartOfLine, QKeySequence::MoveToStartOfBlock,
             QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfLine, QKeySequence::SelectStartOfBlock,
             QKeySequence::SelectStartOfDocument}) {
        if (event.matches(key))
            return true;
    }
    return false;
}

bool canCompleteToken(const QString& typed)
{
    for (const QChar c : typed) {
        if (c == u' ' || c == u'\u25CB' || c == u'\u25CF' || c == u'\u25C9' || c == u'\u2713' || c == QChar::ObjectReplacementCharacter)
            return true;
    }
    return false;
}

} // namespace

StickyTextView::StickyTextView(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
    setUndoRedoEnabled(true);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    // The corner where the two scroll bars meet (a text wrapped wider than the note) is paper too.
    setStyleSheet(QStringLiteral("QTextEdit { background: transparent; } QTextEdit::corner { background: transparent; border: none; }"));
    viewport()->setMouseTracking(true);
    connect(this, &QTextEdit::textChanged, this, &StickyTextView::refreshHighlightInk);
    holdCaretBlinkUntilLaidOut();
}

void StickyTextView::keyPressEvent(QKeyEvent* event)
{
    if (!editAtDisplayBreak(event))
        handleKey(event);
}

// Where a long paragraph is cut for display the keys act on the text, not on the cut: Return
// there makes a real break, Backspace and Delete take the character beyond the cut, and the
// arrows pass over it.
bool StickyTextView::editAtDisplayBreak(QKeyEvent* event)
{
    if (!LongParagraphSplit::hasContinuations(*document()))
        return false;
    QTextCursor cursor = textCursor();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool returnKey = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
    if (returnKey && ParagraphContinuation::continues(document()->findBlock(cursor.selectionStart()))) {
        const int from = cursor.selectionStart();
        QTextCursor step = cursor;
        step.beginEditBlock();
        handleKey(event);
        LongParagraphSplit::keepBreaksOf(*document(), from, textCursor().position());
        step.endEditBlock();
        return true;
    }
    const bool select = event->matches(QKeySequence::SelectPreviousChar) || event->matches(QKeySequence::SelectNextChar);
    const bool left = event->matches(QKeySequence::MoveToPreviousChar) || event->matches(QKeySequence::SelectPreviousChar);
    const bool right = event->matches(QKeySequence::MoveToNextChar) || event->matches(QKeySequence::SelectNextChar);
    if ((left || right) && (select || !cursor.hasSelection()) && cursor.block().textDirection() == Qt::LeftToRight) {
        // The arrow passes the cut and the character beyond it, as it does any other character.
        const std::optional<int> beyond = LongParagraphSplit::acrossBreak(*document(), cursor.position(), left);
        if (!beyond)
            return false;
        const QTextCursor::MoveMode mode = select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
        cursor.setPosition(*beyond, mode);
        cursor.movePosition(left ? QTextCursor::PreviousCharacter : QTextCursor::NextCharacter, mode);
        setTextCursor(cursor);
        return true;
    }
    if (cursor.hasSelection())
        return false;
    const bool backspace = event->key() == Qt::Key_Backspace && !(modifiers & ~Qt::ShiftModifier);
    if (!backspace && !event->matches(QKeySequence::Delete))
        return false;
    const std::optional<int> beyond = LongParagraphSplit::acrossBreak(*document(), cursor.position(), backspace);
    if (!beyond)
        return false;
    cursor.setPosition(*beyond);
    backspace ? cursor.deletePreviousChar() : cursor.deleteChar();
    setTextCursor(cursor);
    return true;
}

void StickyTextView::handleKey(QKeyEvent* event)
{
    if (m_delegate) {
        if (const auto command = commandFor(*event); command && m_delegate->doCommand(*command)) {
            event->accept();
            return;
        }
        if (m_delegate->doShortcut(event->keyCombination())) {
            event->accept();
            return;
        }
    }
    // Pasted through the view's own slot, which does not take the view to the caret at once.
    if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
        paste();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        event->matches(QKeySequence::Undo) ? undoInPlace() : redoInPlace();
        event->accept();
        return;
    }
    if (movesToLineStart(*event)) {
        QTextEdit::keyPressEvent(event);
        stepPastChecklistBox();
        return;
    }
    placeCaretForTyping(*event);
    // A key that can complete a checklist token is one undo step of its own, so the box the
    // token turns into joins it and one undo takes both back.
    if (canCompleteToken(event->text())) {
        QTextCursor step = textCursor();
        step.beginEditBlock();
        QTextEdit::keyPressEvent(event);
        step.endEditBlock();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void StickyTextView::placeCaretForTyping(const QKeyEvent& event)
{
    const QString typed = event.text();
    if (!m_delegate || isReadOnly() || typed.isEmpty() || !typed.front().isPrint() || textCursor().hasSelection())
        return;
    const std::optional<TextRange> range = m_delegate->typingRange(textCursor().position());
    if (!range)
        return;
    QTextCursor cursor = textCursor();
    cursor.setPosition(range->start);
    cursor.setPosition(range->end(), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

// Home stops after a checklist box, where a click on the box leaves the caret, so the item's
// text selected from there and typed over keeps its box.
void StickyTextView::stepPastChecklistBox()
{
    TextStorage storage(*document());
    QTextCursor cursor = textCursor();
    if (storage.isEmpty())
        return;
    const std::optional<int> itemText = ChecklistEditing(storage).itemTextStart(cursor.position());
    if (!itemText || *itemText == cursor.position())
        return;
    cursor.setPosition(*itemText, cursor.hasSelection() ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    setTextCursor(cursor);
}

void StickyTextView::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> standard(createStandardContextMenu(event->pos()));
    for (QAction* action : standard->actions()) {
        const bool undo = action->objectName() == QLatin1String("edit-undo");
        if (undo || action->objectName() == QLatin1String("edit-redo")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, undo ? &StickyTextView::undoInPlace : &StickyTextView::redoInPlace);
        }
    }
    QMenu* menu = standard.get();
    if (m_delegate)
        menu = m_delegate->contextMenu(standard.get(), cursorForPosition(event->pos()).position());
    if (menu)
        menu->exec(event->globalPos());
    if (menu != standard.get())
        delete menu;
}

void StickyTextView::undoInPlace()
{
    keepChangedTextInView([this] { undo(); });
}

void StickyTextView::redoInPlace()
{
    keepChangedTextInView([this] { redo(); });
}

// Undoing a change of format alone leaves the caret at the start of the text, and the view
// with it: the caret goes back onto the changed text, seen from where the view was.
void StickyTextView::keepChangedTextInView(const std::function<void()>& step)
{
    const int scrolled = verticalScrollBar()->value();
    std::optional<TextRange> changed;
    const QMetaObject::Connection watch = connect(document(), &QTextDocument::contentsChange, this,
        [&changed](int position, int, int added) {
            const int start = changed ? std::min(changed->start, position) : position;
            const int end = changed ? std::max(changed->end(), position + added) : position + added;
            changed = TextRange {start, end - start};
        });
    step();
    disconnect(watch);
    if (!changed)
        return;
    QTextCursor cursor = textCursor();
    const int last = std::max(0, document()->characterCount() - 1);
    const int start = std::min(changed->start, last);
    const int end = std::min(changed->end(), last);
    if (cursor.position() < start || cursor.position() > end) {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    verticalScrollBar()->setValue(scrolled);
    ensureCursorVisible();
}

} // namespace norvelle
