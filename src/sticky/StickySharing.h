#pragma once

#include "account/ShareComposer.h"

#include <QImage>
#include <QList>

class QWidget;

namespace norvelle {

class StickyWindowController;

// Sharing the note of one sticky window: the share button's menu, the share menu for its text,
// RTF document or card, and the collaborative link.
class StickySharing {
public:
    explicit StickySharing(StickyWindowController& window);

    // The share button's menu, just below `anchor`.
    void showShareMenu(QWidget* anchor);
    // The share menu for what `kind` makes of the note, below `anchor`; nothing when that is
    // nothing.
    void presentSharePicker(ShareKind kind, QWidget* anchor);
    // Nothing without a stored note.
    QList<ShareItem> shareItems(ShareKind kind);
    // Puts the note's link on the clipboard and records it on the note ("Can Edit").
    void copyCollaborativeLink();
    // The sticky card of this window as it is now.
    QImage renderShareCardImage();

private:
    // Title and body of the text as shown; an empty title reads "Untitled" where asked.
    NoteSnapshot snapshot(bool untitledWhenEmpty) const;

    StickyWindowController& m_window;
};

} // namespace norvelle
