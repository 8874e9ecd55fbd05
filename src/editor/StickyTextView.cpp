#include "editor/StickyTextView.h"

#include "platform/RichTextCodec.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextDocumentFragment>

#include <memory>

namespace norvelle {

namespace {

// Pasted HTML never reaches for files or the network: an image it names stays unloaded.
class PastedHtmlDocument : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

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
    setStyleSheet(QStringLiteral("QTextEdit { background: transparent; }"));
}

void StickyTextView::keyPressEvent(QKeyEvent* event)
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

void StickyTextView::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> standard(createStandardContextMenu(event->pos()));
    QMenu* menu = standard.get();
    if (m_delegate)
        menu = m_delegate->contextMenu(standard.get(), cursorForPosition(event->pos()).position());
    if (menu)
        menu->exec(event->globalPos());
    if (menu != standard.get())
        delete menu;
}

bool StickyTextView::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText() || source->hasHtml();
}

void StickyTextView::insertFromMimeData(const QMimeData* source)
{
    QTextCursor step = textCursor();
    step.beginEditBlock();
    insertKept(source);
    step.endEditBlock();
}

void StickyTextView::insertKept(const QMimeData* source)
{
    if (source->hasHtml()) {
        PastedHtmlDocument pasted;
        pasted.setHtml(source->html());
        // Through our own body format and back: what survives is exactly what a note keeps.
        if (const std::unique_ptr<QTextDocument> kept = RichTextCodec::readRtf(RichTextCodec::writeRtf(pasted))) {
            QTextCursor cursor = textCursor();
            cursor.insertFragment(QTextDocumentFragment(kept.get()));
            setTextCursor(cursor);
        }
        return;
    }
    if (source->hasText()) {
        QTextCursor cursor = textCursor();
        cursor.insertText(source->text());
        setTextCursor(cursor);
    }
}

} // namespace norvelle
