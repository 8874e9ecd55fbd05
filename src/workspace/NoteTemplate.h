#pragma once

#include <QList>
#include <QString>
#include <QUuid>

namespace norvelle {

// A built-in starting text for a new note, offered by the New note menu.
struct NoteTemplate {
    QUuid id;
    QString name;
    QString content;

    // "Daily Plan", "Standup" and "Idea Capture"; made once per run.
    static const QList<NoteTemplate>& builtIns();

    // The name, an empty line, then the content: the new note's text.
    QString makeNoteText() const;
};

} // namespace norvelle
