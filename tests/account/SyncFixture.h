#pragma once

#include "account/AccountFixture.h"
#include "account/NotesSyncService.h"
#include "platform/InternetDateTime.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QJsonArray>

namespace norvelle::test {

// The sync service over the account fixture and a real note database file in the test's home.
struct SyncFixture : AccountFixture {
    PersistenceController store;
    NotesSyncService sync {http, tracker, credentials, attestation, refresher,
        [this]() -> ObjectContext& { return store.viewContext(); }};

    std::shared_ptr<StickyNote> note(const QString& text, const QDateTime& updatedAt)
    {
        auto note = StickyNote::insert(store.viewContext());
        note->setId(QUuid::createUuid());
        note->setTitle(text);
        note->setPlainText(text);
        note->setContent("{\\rtf1 " + text.toUtf8() + "}");
        note->setUpdatedAt(updatedAt);
        note->setVersion(1);
        note->setUpdatedBy("local-device");
        EXPECT_FALSE(store.viewContext().save());
        return note;
    }

    // What stopped the pull, if anything.
    std::optional<ServiceError> pull()
    {
        bool done = false;
        std::optional<ServiceError> outcome;
        sync.syncNow([&](const std::optional<ServiceError>& failure) {
            outcome = failure;
            done = true;
        });
        // Generous: a pull of tens of megabytes on a machine with every core busy.
        EXPECT_TRUE(waitUntil([&] { return done; }, 30000));
        return outcome;
    }

    void push(const std::shared_ptr<StickyNote>& note)
    {
        bool done = false;
        sync.pushNote(note->objectID().uriString(), note->version(), note->title(), note->plainText(), note->updatedAt(),
            [&] { done = true; });
        EXPECT_TRUE(waitUntil([&] { return done; }, 8000));
    }

    static QJsonObject dto(const QString& id, qint64 version, const QString& text, const QString& updatedAt)
    {
        return {{"id", id}, {"version", version}, {"title", text}, {"body", text}, {"updatedAt", updatedAt}};
    }
    static QJsonObject dto(const std::shared_ptr<StickyNote>& note, qint64 version, const QString& text, const QDateTime& at)
    {
        return dto(note->objectID().uriString(), version, text, InternetDateTime::format(at));
    }

    static ScriptedReply answer(const QJsonArray& applied, const QJsonArray& outgoing, const QJsonValue& conflicts = QJsonValue::Undefined)
    {
        QJsonObject envelope {{"applied", applied}};
        if (!conflicts.isUndefined()) {
            envelope.insert("conflicts", conflicts);
        }
        return ScriptedReply::json(200, {{"applied", envelope}, {"outgoing", outgoing}});
    }
};

} // namespace norvelle::test
