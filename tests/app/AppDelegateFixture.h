#pragma once

#include "account/SyncCoordinator.h"
#include "account/SyncCredentialStore.h"
#include "app/AppDelegate.h"
#include "app/HotKeyManager.h"
#include "clipboard/ClipboardMonitor.h"
#include "platform/UserDefaults.h"
#include "platform/WindowController.h"
#include "support/FakeGlobalHotKeys.h"
#include "support/FakeKeystrokeSynthesizer.h"
#include "support/FakeNotesSyncService.h"
#include "support/FakePasteboard.h"
#include "support/RecordingTracker.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

namespace norvelle::test {

// An application delegate over stand-ins that record what it does.
class AppDelegateTest : public testing::Test {
protected:
    AppDelegateTest()
    {
        services.openNoteStore = [this] {
            steps << "openNoteStore";
            return storeError;
        };
        services.explainUnopenableStore = [this](const ObjectStoreError& error) {
            steps << "explainUnopenableStore: " + error.localizedDescription();
        };
        services.startCrashTelemetry = [this] { steps << "startCrashTelemetry"; };
        services.migrateNotes = [this] { steps << "migrateNotes"; };
        services.saveNoteStore = [this] { steps << "saveNoteStore"; };
        services.hotKeys = &hotKeyManager;
        services.credentials = &credentials;
        services.notesSync = &notesSync;
        services.syncCoordinator = &coordinator;
        services.keystrokes = &keystrokes;
        services.makeClipboardMonitor = [this] {
            return std::make_unique<ClipboardMonitor>(pasteboard, [] { return QString("Editor"); });
        };
        services.frontmostApplication = [this] { return frontmost; };
        services.activateApplication = [this](const RunningApplication& application) {
            activated << application;
            steps << "activate";
        };
        services.isTrayAvailable = [this] { return trayAvailable; };
    }

    ~AppDelegateTest() override { delegate.reset(); }

    AppDelegate& launch()
    {
        delegate = std::make_unique<AppDelegate>(services);
        delegate->applicationDidFinishLaunching();
        nextTurn();
        return *delegate;
    }

    // The delegate of a user past the first-run window, launched on first use.
    AppDelegate& app()
    {
        if (!delegate) {
            UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
            launch();
        }
        return *delegate;
    }

    // Lets the main queue run what was scheduled on it so far.
    static void nextTurn()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static bool visible(const WindowController* controller)
    {
        return controller && controller->window()->isVisible();
    }

    QStringList steps;
    FakeGlobalHotKeys hotKeys;
    HotKeyManager hotKeyManager {hotKeys};
    SyncCredentialStore credentials;
    FakeNotesSyncService notesSync;
    RecordingTracker tracker;
    int coordinatorSyncs = 0;
    SyncCoordinator coordinator {tracker, [this] { ++coordinatorSyncs; }};
    FakeKeystrokeSynthesizer keystrokes;
    FakePasteboard pasteboard;
    std::optional<RunningApplication> frontmost;
    QList<RunningApplication> activated;
    bool trayAvailable = true;
    std::optional<ObjectStoreError> storeError;
    AppServices services;
    std::unique_ptr<AppDelegate> delegate;
};

} // namespace norvelle::test
