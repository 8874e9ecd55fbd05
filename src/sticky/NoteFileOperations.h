#pragma once

#include "sticky/NoteFileDialogs.h"

namespace norvelle {

class AnalyticsTracking;
class ObjectContext;
class StickyNote;

// Importing a plain-text or RTF file as a new note and exporting a note as plain text, through
// the file dialogs. Cancelled dialogs and unreadable files end quietly; a failed export is
// shown to the user.
class NoteFileOperations {
public:
    // Asks for one file and, when its text can be read, saves it as a new note, hands the note
    // to sync and records "note_imported".
    static void importNoteFromFile();
    static void importNoteFromFile(NoteFileDialogs& dialogs, ObjectContext& context, AnalyticsTracking& tracker);

    // Asks where to write and writes the note's plain text there in UTF-8, replacing the file
    // only once the whole text is written; records "note_exported" when the write succeeded.
    static void exportNoteAsPlainText(const StickyNote& note);
    static void exportNoteAsPlainText(const StickyNote& note, NoteFileDialogs& dialogs, AnalyticsTracking& tracker);
};

} // namespace norvelle
