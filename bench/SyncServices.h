#pragma once

// The note sync service and what it needs, wired as the program wires them, over a note
// database and files in `home`, for the sync benchmarks. The API base is set before.
#include "account/APIGateway.h"
#include "account/DeviceAttestation.h"
#include "account/NotesSyncService.h"
#include "account/ProfileAvatarStore.h"
#include "account/SessionRefresher.h"
#include "account/SyncCredentialStore.h"
#include "objectstore/ObjectContext.h"
#include "platform/HttpClient.h"
#include "store/PersistenceController.h"
#include "support/RecordingTracker.h"

namespace norvelle::bench {

struct SyncServices {
    SyncServices(const QString& home, PersistenceController& store)
        : credentials(home + "/session")
        , avatars(http, home + "/avatar")
        , refresher(http, credentials, avatars)
        , sync(http, tracker, credentials, attestation, refresher, [&store]() -> ObjectContext& { return store.viewContext(); })
    {
        // Issued by the server the base address names now.
        (void)credentials.save({"user", "access", "refresh", QDateTime::currentDateTimeUtc().addDays(1)}, APIGateway::endpointURL(QString()));
    }

    test::RecordingTracker tracker;
    HttpClient http;
    SyncCredentialStore credentials;
    DeviceAttestation attestation;
    ProfileAvatarStore avatars;
    SessionRefresher refresher;
    NotesSyncService sync;
};

} // namespace norvelle::bench
