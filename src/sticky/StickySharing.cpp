#include "sticky/StickySharing.h"

#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "editor/TableEditing.h"
#include "platform/ShareSheet.h"
#include "sticky/KeyablePanel.h"
#include "sticky/ShareCard.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyNoteActions.h"
#include "sticky/StickyShareMenu.h"
#include "sticky/StickyState.h"
#include "sticky/StickyWindowController.h"
#include "store/NoteTitle.h"
#include "store/StickyNote.h"

#include <QPointer>
#include <QScrollBar>

namespace norvelle {

StickySharing::StickySharing(StickyWindowController& window)
    : m_window(window)
{
}

void StickySharing::showShareMenu(QWidget* anchor)
{
    // A menu can outlive the button it was opened from; its shares then do nothing.
    const QPointer<QWidget> guardedAnchor(anchor);
    const auto shareAt = [this, guardedAnchor](ShareKind kind) {
        return [this, guardedAnchor, kind] {
            if (guardedAnchor) {
                presentSharePicker(kind, guardedAnchor);
            }
        };
    };
    auto* menu = new StickyShareMenu({
                                         .shareText = shareAt(ShareKind::text),
                                         .shareRichText = shareAt(ShareKind::richText),
                                         .shareCard = shareAt(ShareKind::card),
                                         .copyCollaborativeLink = [this] { copyCollaborativeLink(); },
                                     },
        m_window.panel());
    menu->popup(anchor->mapToGlobal(QPoint(0, anchor->height() + 2)));
}

void StickySharing::presentSharePicker(ShareKind kind, QWidget* anchor)
{
    QList<ShareItem> items = shareItems(kind);
    if (items.isEmpty()) {
        return;
    }
    ShareSheet::present({.items = std::move(items), .generatedLink = std::nullopt},
        anchor->mapToGlobal(QPoint(0, anchor->height())), m_window.panel());
}

QList<ShareItem> StickySharing::shareItems(ShareKind kind)
{
    if (!m_window.note()) {
        return {};
    }
    const QPointer<StickyWindowController> window(&m_window);
    return ShareComposer::shared()
        .composeForSticky(kind, snapshot(true), [window]() -> std::optional<QImage> {
            if (!window) {
                return std::nullopt;
            }
            return window->sharing().renderShareCardImage();
        })
        .items;
}

void StickySharing::copyCollaborativeLink()
{
    const std::shared_ptr<StickyNote>& note = m_window.note();
    if (!note) {
        return;
    }
    const SharePayload payload = ShareComposer::shared().composeForSticky(ShareKind::collaborationLink, snapshot(false),
        [] { return std::nullopt; });
    if (!payload.generatedLink) {
        return;
    }
    note->setShareToken(payload.generatedLink->fileName());
    note->setPermissions(QStringLiteral("Can Edit"));
    note->setSharePreviewURL(payload.generatedLink->toString(QUrl::FullyEncoded));
    // A failed save keeps the link on the note in memory; the next save writes it.
    StickyNoteActions::save(*note);
}

QImage StickySharing::renderShareCardImage()
{
    RichTextEditor* editor = m_window.editor();
    if (!editor) {
        return ShareCard::render(nullptr, m_window.stickyState().paperHex());
    }
    // The caret, a selection and the scroll bar are no part of the note.
    StickyTextView& view = editor->textView();
    const int caretWidth = view.cursorWidth();
    view.setCursorWidth(0);
    const QTextCursor selected = view.textCursor();
    QTextCursor caret = selected;
    caret.clearSelection();
    // Hidden only while drawn, so the text keeps its width and place.
    QScrollBar* scrollBar = view.verticalScrollBar();
    const bool scrollBarShown = scrollBar->isVisible();
    const int scrolled = scrollBar->value();
    view.setTextCursor(caret);
    scrollBar->setValue(scrolled);
    scrollBar->setVisible(false);
    QImage card = ShareCard::render(m_window.contentView(), m_window.stickyState().paperHex());
    scrollBar->setVisible(scrollBarShown);
    view.setTextCursor(selected);
    scrollBar->setValue(scrolled);
    view.setCursorWidth(caretWidth);
    return card;
}

NoteSnapshot StickySharing::snapshot(bool untitledWhenEmpty) const
{
    const std::shared_ptr<StickyNote>& note = m_window.note();
    // The invisible marks that hold a table's cells and caret places are no text to hand on.
    const QString text = m_window.text().remove(TableEditing::seed);
    QString title = NoteTitle::firstNonBlankLine(text);
    if (title.isEmpty() && untitledWhenEmpty) {
        title = QStringLiteral("Untitled");
    }
    return {.id = note ? note->id() : std::nullopt, .title = title, .body = NoteTitle::bodyAfterTitle(text), .paperHex = m_window.stickyState().paperHex(), .version = note ? note->version() : 0};
}

} // namespace norvelle
