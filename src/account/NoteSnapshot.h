#pragma once

#include <QString>
#include <QUuid>

#include <optional>

namespace norvelle {

// What sharing needs of a note, copied out of it so the share code never holds the stored note.
struct NoteSnapshot {
    std::optional<QUuid> id;
    QString title;
    // The plain text, not the rich body.
    QString body;
    QString paperHex;
    qint64 version = 0;
};

} // namespace norvelle
