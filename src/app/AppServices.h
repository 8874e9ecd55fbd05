#pragma once

#include "platform/RunningApplication.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace norvelle {

class ClipboardMonitor;
class HotKeyManager;
class KeystrokeSynthesizing;
class NotesSyncService;
class StickyNote;
class SyncCoordinator;
class SyncCredentialStore;

// What the application delegate starts, stops and calls on: the process-wide services in the
// program, stand-ins in tests.
struct AppServices {
    // The note store: opened first at launch, migrated after the crash report, saved last.
    std::function<void()> openNoteStore;
    std::function<void()> migrateNotes;
    std::function<void()> saveNoteStore;
    // The notes whose sticky windows were open when the program last ended (not in the Trash).
    std::function<std::vector<std::shared_ptr<StickyNote>>()> notesWithOpenWindows;
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
