#include "account/NotesSyncService.h"

#include "account/APIGateway.h"
#include "account/DeviceAttestation.h"
#include "account/SessionRefresher.h"
#include "account/SyncCredentialStore.h"
#include "core/OSLogAnalyticsTracker.h"
#include "objectstore/ObjectContext.h"
#include "platform/FreedMemory.h"
#include "platform/InternetDateTime.h"
#include "platform/MainQueue.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QElapsedTimer>
#include <QThreadPool>

#include <algorithm>
#include <array>

namespace norvelle {

namespace {

// Where a note date cannot be read: loses to any real date.
const QDateTime& distantPast()
{
    static const QDateTime date(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    return date;
}

qint64 storedSinceVersion()
{
    return UserDefaults::standard().integer(storedSettings::sinceGlobalVersionKey);
}

// Notes looked up in the note database with one read.
constexpr qsizetype notesLookedUpTogether = 128;

} // namespace

// The notes of a reply not yet written in, in order. Each is let go as it is taken, so a large
// reply's memory goes back a step at a time instead of in one long free at the end. The
// context's followers (the workspace's lists) take the steps in once, when these are gone.
struct NotesSyncService::PendingNotes {
    explicit PendingNotes(ObjectContext& context)
        : underWay(context)
    {
    }

    std::array<QList<SyncPOSTResponse::RemoteNoteDTO>, 2> lists;
    ObjectContext::SteppedChange underWay;
    size_t list = 0;
    qsizetype next = 0;

    bool atEnd()
    {
        while (list < lists.size() && next == lists[list].size()) {
            lists[list] = {};
            ++list;
            next = 0;
        }
        return list == lists.size();
    }

    QList<SyncPOSTResponse::RemoteNoteDTO> take(qsizetype count)
    {
        QList<SyncPOSTResponse::RemoteNoteDTO> taken;
        while (taken.size() < count && !atEnd()) {
            taken.append(std::move(lists[list][next++]));
        }
        return taken;
    }
};

NotesSyncService::NotesSyncService()
    : NotesSyncService(HttpClient::shared(), OSLogAnalyticsTracker::shared(), SyncCredentialStore::shared(),
        DeviceAttestation::shared(), SessionRefresher::shared(),
        []() -> ObjectContext& { return PersistenceController::shared().viewContext(); })
{
}

NotesSyncService::NotesSyncService(HttpClient& http, AnalyticsTracking& tracker, SyncCredentialStore& credentials,
    DeviceAttestation& attestation, SessionRefresher& refresher, std::function<ObjectContext&()> context)
    : m_tracker(tracker)
    , m_credentials(credentials)
    , m_attestation(attestation)
    , m_refresher(refresher)
    , m_context(std::move(context))
    , m_requester(http, credentials, refresher)
{
}

NotesSyncService& NotesSyncService::shared()
{
    static NotesSyncService service;
    return service;
}

void NotesSyncService::syncSharedIfEnabled()
{
    shared().syncNowIfEnabled();
}

void NotesSyncService::syncNowIfEnabled(PullDone done)
{
    if (!storedSettings::syncEnabled.value()) {
        if (done) {
            done(std::nullopt);
        }
        return;
    }
    syncNow(std::move(done));
}

void NotesSyncService::syncNow(PullDone done)
{
    const auto finish = [done](std::optional<ServiceError> failure) {
        if (done) {
            done(failure);
        }
    };
    if (!m_credentials.load()) {
        m_tracker.track(QStringLiteral("sync_now_skipped"), {{QStringLiteral("reason"), QStringLiteral("no_session")}});
        finish(ServiceError::noSession());
        return;
    }
    const qint64 since = storedSinceVersion();
    exchange(since, {}, [this, since, finish](ServiceResult<SyncPOSTResponse> result) {
        if (const ServiceError* error = std::get_if<ServiceError>(&result)) {
            m_tracker.track(QStringLiteral("sync_pull_failed"), {{QStringLiteral("error"), error->debugDescription()}});
            finish(*error);
            return;
        }
        SyncPOSTResponse& response = std::get<SyncPOSTResponse>(result);
        const qsizetype outgoing = response.outgoing.size();
        applySyncResponse(std::move(response.applied.applied), std::move(response.outgoing), [this, since, finish, outgoing](bool saved) {
            if (!saved) {
                const ServiceError notSaved = ServiceError::of(ServiceError::Kind::notesNotSaved);
                m_tracker.track(QStringLiteral("sync_pull_failed"), {{QStringLiteral("error"), notSaved.debugDescription()}});
                finish(notSaved);
                return;
            }
            m_tracker.track(QStringLiteral("sync_pull_ok"),
                {{QStringLiteral("outgoing"), QString::number(outgoing)}, {QStringLiteral("since"), QString::number(since)}});
            finish(std::nullopt);
        });
    });
}

void NotesSyncService::pushNote(const QString& noteID, qint64 version, const QString& title, const QString& body,
    const QDateTime& updatedAt, Done done)
{
    const auto finish = [done] {
        if (done) {
            done();
        }
    };
    if (!storedSettings::syncEnabled.value()) {
        m_tracker.track(QStringLiteral("sync_skipped_disabled"), {{QStringLiteral("noteID"), noteID}});
        finish();
        return;
    }
    if (!m_credentials.load()) {
        m_tracker.track(QStringLiteral("sync_skipped_no_session"), {{QStringLiteral("noteID"), noteID}});
        finish();
        return;
    }
    const SyncNotePayload note {noteID, version, title, body, InternetDateTime::format(updatedAt)};
    exchange(storedSinceVersion(), {note}, [this, noteID, finish](ServiceResult<SyncPOSTResponse> result) {
        if (const ServiceError* error = std::get_if<ServiceError>(&result)) {
            m_tracker.track(QStringLiteral("sync_push_failed"),
                {{QStringLiteral("noteID"), noteID}, {QStringLiteral("error"), error->debugDescription()}});
        } else {
            SyncPOSTResponse& response = std::get<SyncPOSTResponse>(result);
            const AnalyticsMetadata counts {{QStringLiteral("noteID"), noteID},
                {QStringLiteral("applied"), QString::number(response.applied.applied.size())},
                {QStringLiteral("conflicts"), QString::number(response.applied.conflicts.size())},
                {QStringLiteral("outgoing"), QString::number(response.outgoing.size())}};
            applySyncResponse(std::move(response.applied.applied), std::move(response.outgoing), [this, noteID, counts, finish](bool saved) {
                if (saved) {
                    m_tracker.track(QStringLiteral("sync_push_ok"), counts);
                } else {
                    m_tracker.track(QStringLiteral("sync_push_failed"),
                        {{QStringLiteral("noteID"), noteID}, {QStringLiteral("error"), QStringLiteral("notesNotSaved")}});
                }
                finish();
            });
            return;
        }
        finish();
    });
}

void NotesSyncService::exchange(qint64 since, const QList<SyncNotePayload>& notes,
    std::function<void(ServiceResult<SyncPOSTResponse>)> done)
{
    const SyncPOSTBody body {m_attestation.deviceIdentifier(), since, notes};
    const std::optional<StoredSyncSession> session = m_credentials.load();
    const QString userID = session ? session->userId : QString();
    ensureFreshSession([this, body, userID, done](std::optional<ServiceError> error) {
        if (error) {
            done(*error);
            return;
        }
        postAuthorized(QStringLiteral("v1/notes/sync"), body.toJson(), [this, userID, done](ServiceResult<QByteArray> reply) {
            if (const ServiceError* failure = std::get_if<ServiceError>(&reply)) {
                done(*failure);
                return;
            }
            // Signed out (or in to another account) while the request ran: the answer belongs
            // to the ended session, and taking it would set the next one's since-version.
            const std::optional<StoredSyncSession> current = m_credentials.load();
            if (!current || current->userId != userID) {
                done(ServiceError::noSession());
                return;
            }
            // Read on a helper thread: tens of megabytes of notes would hold the window for
            // seconds. The notes are applied back here, on the main thread.
            QThreadPool::globalInstance()->start(
                [alive = std::weak_ptr<bool>(m_alive), body = std::move(std::get<QByteArray>(reply)), done]() mutable {
                    auto response = std::make_shared<ServiceResult<SyncPOSTResponse>>(SyncPOSTResponse::fromJson(std::move(body)));
                    MainQueue::async([alive, response, done] {
                        if (alive.lock()) {
                            done(std::move(*response));
                        }
                    });
                });
        });
    });
}

void NotesSyncService::refreshSession(Completion done)
{
    m_refresher.refreshSession(std::move(done));
}

void NotesSyncService::ensureFreshSession(Completion done)
{
    const std::optional<StoredSyncSession> session = m_credentials.load();
    if (!session) {
        done(ServiceError::noSession());
        return;
    }
    if (session->expiresAt <= QDateTime::currentDateTimeUtc().addSecs(refreshAheadSeconds)) {
        refreshSession(std::move(done));
        return;
    }
    done(std::nullopt);
}

void NotesSyncService::postAuthorized(const QString& path, const QByteArray& body, BodyHandler done)
{
    m_requester.send("POST", {path}, body, maximumSyncReplyBytes, [done](ServiceResult<HttpResponse> result) {
        if (const ServiceError* error = std::get_if<ServiceError>(&result)) {
            done(*error);
            return;
        }
        HttpResponse& response = std::get<HttpResponse>(result);
        if (response.status != 200) {
            done(ServiceError::badStatus(response.status));
            return;
        }
        done(std::move(response.body));
    });
}

void NotesSyncService::applySyncResponse(QList<SyncPOSTResponse::RemoteNoteDTO> applied,
    QList<SyncPOSTResponse::RemoteNoteDTO> outgoing, std::function<void(bool saved)> done)
{
    qint64 since = storedSinceVersion();
    for (const auto* list : {&outgoing, &applied}) {
        for (const SyncPOSTResponse::RemoteNoteDTO& note : *list) {
            since = std::max(since, note.version);
        }
    }
    const std::optional<StoredSyncSession> session = m_credentials.load();
    auto notes = std::make_shared<PendingNotes>(m_context());
    notes->lists = {std::move(applied), std::move(outgoing)};
    applyInSteps(std::move(notes), [this, since, userID = session ? session->userId : QString(), done = std::move(done)](bool saved) {
        // Signed out (or in to another account) meanwhile: the next session's since-version
        // is not this answer's to set.
        const std::optional<StoredSyncSession> current = m_credentials.load();
        if (saved && current && current->userId == userID) {
            // Read again: another answer may have stored a higher value meanwhile. An
            // unchanged value is not written again (each write goes to disk).
            const qint64 stored = storedSinceVersion();
            if (since > stored || !UserDefaults::standard().contains(storedSettings::sinceGlobalVersionKey)) {
                UserDefaults::standard().set(storedSettings::sinceGlobalVersionKey, std::max(since, stored));
            }
        }
        done(saved);
    });
}

void NotesSyncService::applyInSteps(std::shared_ptr<PendingNotes> notes, std::function<void(bool saved)> done)
{
    if (notes->atEnd()) {
        done(true);
        return;
    }
    // Bounded by time rather than by a count: a note the database does not know costs a
    // fraction of one it does, and a busy machine does less in the same time.
    QElapsedTimer step;
    step.start();
    qsizetype changed = 0;
    while (!notes->atEnd() && changed < notesPerStep && !step.hasExpired(stepMilliseconds)) {
        changed += writeRemoteNotes(notes->take(std::min(notesLookedUpTogether, notesPerStep - changed)));
    }
    if (m_context().save()) {
        done(false);
        return;
    }
    if (notes->atEnd()) {
        returnFreedMemory();
        done(true);
        return;
    }
    MainQueue::async([this, alive = std::weak_ptr<bool>(m_alive), notes = std::move(notes), done = std::move(done)]() mutable {
        if (alive.lock()) {
            applyInSteps(std::move(notes), std::move(done));
        }
    });
}

qsizetype NotesSyncService::writeRemoteNotes(const QList<SyncPOSTResponse::RemoteNoteDTO>& notes)
{
    ObjectContext& context = m_context();
    std::vector<ObjectID> ids;
    ids.reserve(size_t(notes.size()));
    for (const SyncPOSTResponse::RemoteNoteDTO& dto : notes) {
        ids.push_back(ObjectID::fromURI(dto.id).value_or(ObjectID()));
    }
    // One read for the notes not in memory yet, rather than one per note.
    QHash<ObjectID, std::shared_ptr<StickyNote>> found;
    for (const std::shared_ptr<ManagedObject>& object : context.existingObjects(ids)) {
        if (&object->entity() == &StickyNote::entity()) {
            found.insert(object->objectID(), std::static_pointer_cast<StickyNote>(object));
        }
    }
    qsizetype changed = 0;
    for (qsizetype i = 0; i < notes.size(); ++i) {
        const std::shared_ptr<StickyNote> note = found.value(ids[size_t(i)]);
        if (!note) {
            continue;
        }
        const SyncPOSTResponse::RemoteNoteDTO& dto = notes[i];
        const QDateTime remote = InternetDateTime::parse(dto.updatedAt).value_or(distantPast());
        const QDateTime local = note->updatedAt().isValid() ? note->updatedAt() : distantPast();
        if (remote < local) {
            continue;
        }
        note->setTitle(dto.title);
        note->setPlainText(dto.body);
        note->setUpdatedAt(remote);
        note->setLastSyncedVersion(dto.version);
        note->setUpdatedBy(QStringLiteral("sync"));
        ++changed;
    }
    return changed;
}

} // namespace norvelle
