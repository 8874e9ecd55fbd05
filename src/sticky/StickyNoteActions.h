#pragma once

#include <functional>

class QWidget;

namespace norvelle {

class StickyNote;
class StickyWindowController;

// What the user does to the note of one sticky window: pin it, archive it, duplicate it, move
// it to the Trash, and the "more" menu that offers those. Each change is a local edit: a new
// date, the next version, "local-device", saved and handed to sync.
class StickyNoteActions {
public:
    explicit StickyNoteActions(StickyWindowController& window);

    // False when the save failed: the changes stay in the context for the next one.
    static bool save(const StickyNote& note);

    // The "more" menu at the pointer, and its commands.
    void showMoreMenu();
    void togglePin();
    // Archiving closes the window; unarchiving keeps it.
    void toggleArchive();
    // A new note with this one's paper, text, rich body and title (version 1, never synced),
    // opened in its own window.
    void duplicateNote();
    // Asks first; "Move to Trash" then moves the note to the Trash, which closes the window.
    void deleteNote();
    // The question "Move this note to Trash?"; true for "Move to Trash". Replaceable for tests.
    std::function<bool(QWidget* parent)> confirmMoveToTrash;

private:
    void markNoteChanged();
    void closeOutsideTheTable();

    StickyWindowController& m_window;
};

} // namespace norvelle
