#pragma once

#include "account/AuthorizedRequester.h"
#include "account/SyncPOSTBody.h"
#include "account/SyncPOSTResponse.h"
#include "core/AnalyticsTracking.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

namespace norvelle {

class DeviceAttestation;
class HttpClient;
class ObjectContext;
class SessionRefresher;
class SyncCredentialStore;

// The note sync with the server: a pull of every change newer than the since-version, a push
// of one note after each save, and the session refresh ahead of expiry and after a 401. The
// server's notes are written into the notes that exist here (never created, never deleted,
// never their rich body), newer or equally new copies only. Outcomes are analytics events;
// nothing is shown. Main thread; `done` runs once the operation has ended, whatever its outcome.
class NotesSyncService {
public:
    using Done = std::function<void()>;
    // How a pull ended: nothing when it went through (or was not to run), else what stopped it.
    using PullDone = std::function<void(std::optional<ServiceError>)>;

    // The program's services; the note database's view context.
    NotesSyncService();
    NotesSyncService(HttpClient& http, AnalyticsTracking& tracker, SyncCredentialStore& credentials,
        DeviceAttestation& attestation, SessionRefresher& refresher, std::function<ObjectContext&()> context);
    virtual ~NotesSyncService() = default;

    static NotesSyncService& shared();
    // The shared service's syncNowIfEnabled().
    static void syncSharedIfEnabled();

    // The pull, when storedSettings::syncEnabled is on.
    void syncNowIfEnabled(PullDone done = {});
    virtual void syncNow(PullDone done = {});
    // Sends one note as just saved, unless sync is switched off (storedSettings::syncEnabled) or no session
    // is stored.
    virtual void pushNote(const QString& noteID, qint64 version, const QString& title, const QString& body,
        const QDateTime& updatedAt, Done done = {});

    void refreshSession(Completion done);

    // Writes the notes in, `applied` then `outgoing`, a few milliseconds of work per turn of the
    // event loop and each step saved, so the program keeps answering through a pull of any size;
    // then raises the stored since-version to the highest version seen, only once every step is
    // saved (a failed save, a quit or a sign-out midway must not skip server changes for good).
    // `done` gets whether every step was saved.
    void applySyncResponse(QList<SyncPOSTResponse::RemoteNoteDTO> applied, QList<SyncPOSTResponse::RemoteNoteDTO> outgoing,
        std::function<void(bool saved)> done);
    // The work one step of a reply may take before it saves and lets the event loop run.
    static constexpr int stepMilliseconds = 20;
    // Notes changed in one step at most: the step's save grows with them.
    static constexpr qsizetype notesPerStep = 200;

    // The largest real answer: a pull of 10,000 notes of a few kilobytes each, or a few notes of
    // many megabytes; anything larger is refused while it arrives.
    static constexpr qint64 maximumSyncReplyBytes = 64 * 1024 * 1024;
    // A session expiring this close (or closer) is refreshed first.
    static constexpr int refreshAheadSeconds = 60;

private:
    using BodyHandler = std::function<void(ServiceResult<QByteArray>)>;
    void ensureFreshSession(Completion done);
    // The exchange both the pull and the push make; the answer decoded, or why not.
    void exchange(qint64 since, const QList<SyncNotePayload>& notes,
        std::function<void(ServiceResult<SyncPOSTResponse>)> done);
    void postAuthorized(const QString& path, const QByteArray& body, BodyHandler done);
    struct PendingNotes;
    // Writes in each note whose server copy is as new as the local one or newer, unsaved;
    // returns how many notes it changed.
    qsizetype writeRemoteNotes(const QList<SyncPOSTResponse::RemoteNoteDTO>& notes);
    // One step of the notes now, saved, and the rest on later turns of the event loop.
    void applyInSteps(std::shared_ptr<PendingNotes> notes, std::function<void(bool saved)> done);

    AnalyticsTracking& m_tracker;
    SyncCredentialStore& m_credentials;
    DeviceAttestation& m_attestation;
    SessionRefresher& m_refresher;
    std::function<ObjectContext&()> m_context;
    AuthorizedRequester m_requester;
    // Steps still queued when the service goes find it gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace norvelle
