#pragma once

#include "sticky/NoteFileDialogs.h"

#include <functional>

namespace norvelle {

class AnalyticsTracking;
class ObjectContext;
class ObjectID;
class StickyNote;

// Importing a plain-text or RTF file as a new note and exporting a note as plain text, through
// the file dialogs. Cancelled dialogs end quietly; a file that cannot be imported and a failed
// export are shown to the user with the reason.
class NoteFileOperations {
public:
    // Gets the new note's ID once it is saved.
    using Imported = std::function<void(const ObjectID&)>;

    // Asks for one file and reads it on a worker thread, so a large file does not hold the
    // window; there the note is saved too, through a background context of the store (a store
    // in memory saves on the main thread). When its text can be read and saved, the context
    // takes the new note in, hands it to sync, records "note_imported" and calls
    // `onImported`; otherwise says why. Nothing happens after the context is gone. The dialogs
    // open from `view`.
    static void importNoteFromFile(QWidget* view, Imported onImported = {});
    static void importNoteFromFile(std::shared_ptr<NoteFileDialogs> dialogs, ObjectContext& context,
        AnalyticsTracking& tracker, Imported onImported = {});

    // Asks where to write and writes the note's plain text there in UTF-8, replacing the file
    // only once the whole text is written; records "note_exported" when the write succeeded.
    // The dialogs open from `view`.
    static void exportNoteAsPlainText(const StickyNote& note, QWidget* view);
    static void exportNoteAsPlainText(const StickyNote& note, NoteFileDialogs& dialogs, AnalyticsTracking& tracker);
};

} // namespace norvelle
