#pragma once

#include "workspace/NoteCellState.h"

#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace norvelle {

class Pasteboard;
class StickyNote;

// What a card or row of the workspace does with its note.
class NoteActions {
public:
    // Through the application delegate (a note in the Trash is restored first); nothing when
    // the delegate is gone.
    static void openSticky(StickyNote& note);
    static void collaborate(StickyNote& note);
    // Gives the note a share token and link when it has no token yet (saved and handed to
    // sync), then copies its link; for a token without a usable link nothing is copied and the
    // user is told.
    static void copyShareLink(StickyNote& note, Pasteboard& pasteboard);
    static void togglePin(StickyNote& note);
    // A change the card made: new date and version, saved (an error is dropped), then handed
    // to sync.
    static void saveAndSync(StickyNote& note);

    // The context menu of a card (which alone offers collaboration, the share link, export
    // and pinning) or a row: empty in bulk mode; restore and delete in the Trash.
    static void fillContextMenu(QMenu& menu, const std::shared_ptr<StickyNote>& note, const NoteCellState& state,
        bool card, QWidget* dialogParent);
    // "Permanently delete “<title>”?" with its message, then the deletion.
    static void confirmPermanentDelete(const std::shared_ptr<StickyNote>& note, QWidget* dialogParent);
    static QString permanentDeleteTitle(const QString& displayTitle);
};

} // namespace norvelle
