#include "app/AppServices.h"

#include "account/NotesSyncService.h"
#include "account/SyncCoordinator.h"
#include "account/SyncCredentialStore.h"
#include "app/HotKeyManager.h"
#include "app/LaunchNotices.h"
#include "clipboard/ClipboardMonitor.h"
#include "core/CrashTelemetryService.h"
#include "platform/KeystrokeSynthesizer.h"
#include "platform/MainQueue.h"
#include "platform/StatusItem.h"
#include "store/NoteMigrationService.h"
#include "store/NoteSaveFailureNotice.h"
#include "store/PersistenceController.h"
#include "store/StickyWindowKeys.h"

namespace norvelle {

namespace {

constexpr double tidyDelay = 3.0;

} // namespace

AppServices AppServices::live()
{
    static KeystrokeSynthesizer keystrokes;
    AppServices services;
    services.openNoteStore = [] {
        PersistenceController& store = PersistenceController::shared();
        if (!store.loadError()) {
            NoteSaveFailureNotice::watch(store.viewContext());
        }
        if (!store.filesSetAside().isEmpty()) {
            MainQueue::async([kept = store.filesSetAside().constFirst()] { LaunchNotices::tellNoteStoreSetAside(kept); });
        }
        if (!store.companionsSetAside().isEmpty()) {
            MainQueue::async([kept = store.companionsSetAside()] { LaunchNotices::tellNoteStoreCompanionsSetAside(kept); });
        }
        return store.loadError();
    };
    services.explainUnopenableStore = [](const ObjectStoreError& error) {
        LaunchNotices::explainUnopenableStore(error, PersistenceController::storePath());
    };
    services.migrateNotes = [] {
        NoteMigrationService::shared().migrate(PersistenceController::shared().viewContext());
        // Once the launch has shown what it shows: with thousands of keys this takes a few ms.
        MainQueue::asyncAfter(tidyDelay, [] { StickyWindowKeys::dropThoseOfMissingNotes(PersistenceController::shared().container()); });
    };
    services.saveNoteStore = [] { PersistenceController::shared().save(); };
    services.startCrashTelemetry = [] {
        CrashTelemetryService& telemetry = CrashTelemetryService::shared();
        telemetry.reportPreviousRunCrash();
        telemetry.installSignalHandlers();
    };
    services.hotKeys = &HotKeyManager::shared();
    services.credentials = &SyncCredentialStore::shared();
    services.notesSync = &NotesSyncService::shared();
    services.syncCoordinator = &SyncCoordinator::shared();
    services.keystrokes = &keystrokes;
    services.makeClipboardMonitor = [] { return std::make_unique<ClipboardMonitor>(); };
    services.frontmostApplication = &RunningApplication::frontmost;
    services.activateApplication = [](const RunningApplication& application) { application.activate(); };
    services.isTrayAvailable = &StatusItem::isTrayAvailable;
    return services;
}

} // namespace norvelle
