#pragma once

#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <memory>

namespace norvelle::bench {

// A new, empty note shown in its sticky window.
struct NewNoteWindow {
    explicit NewNoteWindow(PersistenceController& store)
        : note(StickyNote::insert(store.viewContext()))
    {
        store.viewContext().save();
        window.stickyID = note->objectID().uriString();
        window.initWithNote(note);
        window.showWindow();
    }

    std::shared_ptr<StickyNote> note;
    StickyWindowController window;
};

} // namespace norvelle::bench
