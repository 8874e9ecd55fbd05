#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace norvelle {

// One note sent to the server: its plain text only, never the rich body.
struct SyncNotePayload {
    QString id; // the note's object URI in the local note database
    qint64 version = 0;
    QString title;
    QString body;
    QString updatedAt; // internet date-time, UTC, to the millisecond
};

// The body of POST "v1/notes/sync": no notes for a pull, one for a push.
struct SyncPOSTBody {
    QString deviceId;
    qint64 sinceVersion = 0;
    QList<SyncNotePayload> notes;

    QByteArray toJson() const;
};

} // namespace norvelle
