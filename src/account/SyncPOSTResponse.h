#pragma once

#include "account/ServiceError.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace norvelle {

// The answer of POST "v1/notes/sync". Read whole or not at all: one malformed note makes the
// whole answer unreadable, so nothing of it is applied.
struct SyncPOSTResponse {
    // One note as the server has it. The date stays text: it is read when the note is applied.
    struct RemoteNoteDTO {
        QString id;
        qint64 version = 0;
        QString title;
        QString body;
        QString updatedAt;
    };
    struct ConflictDTO {
        QString id;
    };
    struct AppliedEnvelope {
        QList<RemoteNoteDTO> applied;
        QList<ConflictDTO> conflicts; // absent or null: none
    };

    AppliedEnvelope applied;
    QList<RemoteNoteDTO> outgoing;

    // The largest integer every JSON reader holds exactly (2^53): a version beyond it, or
    // below zero, would become the since-version and hide every later change.
    static constexpr qint64 maximumVersion = qint64(1) << 53;

    // Frees `data` as soon as it is parsed: an answer of many megabytes is held twice at most.
    static ServiceResult<SyncPOSTResponse> fromJson(QByteArray data);
};

} // namespace norvelle
