#pragma once

#include "objectstore/ObjectStoreError.h"
#include "platform/RunningApplication.h"

#include <functional>
#include <memory>
#include <optional>

namespace norvelle {

class ClipboardMonitor;
class HotKeyManager;
class KeystrokeSynthesizing;
class NotesSyncService;
class SyncCoordinator;
class SyncCredentialStore;

// What the application delegate starts, stops and calls on: the process-wide services in the
// program, stand-ins in tests.
struct AppServices {
    // The note store: opened first at launch, migrated after the crash report, saved last.
    // Opening the store says why it failed; the launch then explains it to the user.
    std::function<std::optional<ObjectStoreError>()> openNoteStore;
    std::function<void(const ObjectStoreError&)> explainUnopenableStore;
    std::function<void()> migrateNotes;
    std::function<void()> saveNoteStore;
    // Reports the crash of the previous run, then installs the crash signal handlers.
    std::function<void()> startCrashTelemetry;

    HotKeyManager* hotKeys = nullptr;
    SyncCredentialStore* credentials = nullptr;
    NotesSyncService* notesSync = nullptr;
    SyncCoordinator* syncCoordinator = nullptr;
    KeystrokeSynthesizing* keystrokes = nullptr;

    std::function<std::unique_ptr<ClipboardMonitor>()> makeClipboardMonitor;
    std::function<std::optional<RunningApplication>()> frontmostApplication;
    std::function<void(const RunningApplication&)> activateApplication;
    std::function<bool()> isTrayAvailable;

    // The real ones.
    static AppServices live();
};

} // namespace norvelle
