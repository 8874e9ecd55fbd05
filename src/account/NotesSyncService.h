#pragma once

#include <QDateTime>
#include <QString>

namespace norvelle {

// The note sync with the server. Until the sync itself exists, the exchange and the push do
// nothing; the switch rule is already the real one.
class NotesSyncService {
public:
    virtual ~NotesSyncService() = default;

    static NotesSyncService& shared();
    // The shared service's syncNowIfEnabled().
    static void syncSharedIfEnabled();

    // The highest note version this device has received from the server.
    static inline const QString sinceVersionKey = QStringLiteral("norvelle.sync.sinceGlobalVersion");

    // One pull-and-push exchange, unless "norvelle.sync.enabled" holds false or the number 0
    // (absent or any other value counts as on).
    void syncNowIfEnabled();
    virtual void syncNow() {}

    virtual void pushNote(const QString& noteID, qint64 version, const QString& title, const QString& body,
        const QDateTime& updatedAt)
    {
    }
};

} // namespace norvelle
