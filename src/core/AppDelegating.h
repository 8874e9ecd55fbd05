#pragma once

#include "core/NorvelleShortcutAction.h"

#include <QString>

#include <optional>

// How the lower libraries reach the application delegate without depending on src/app.
//
//     if (auto* app = AppDelegating::current()) {
//         app->openSettings(QStringLiteral("sync"));
//     }
//
// current() is empty before launch and after the delegate is gone; every caller does nothing
// then. Main thread only: the reference is set and read there.

namespace norvelle {

struct ClipEntry;
class ClipboardMonitor;
class StickyNote;

class AppDelegating {
public:
    // The running delegate, or null.
    static AppDelegating* current();
    // Set by the delegate as the first step of launch and cleared when it goes away.
    static void setCurrent(AppDelegating* delegate);

    // Windows.
    virtual void openMainWindow() = 0;
    // Without a pane the settings open where they were; with one they switch to it.
    virtual void openSettings(const std::optional<QString>& pane = std::nullopt) = 0;
    virtual void openCollaboration(StickyNote& note) = 0;
    // Re-arms the automatic sync after a sync switch changed.
    virtual void restartAutoSyncTimer() = 0;

    // Notes: a new note (empty text for a blank one) is saved and opened in its sticky window;
    // opening a note that already has a window brings that window forward.
    virtual void createNewSticky(const QString& text) = 0;
    virtual void openSticky(StickyNote& note) = 0;

    // The open sticky windows, keyed by stickyID (the absolute string of the note's object URI).
    virtual bool hasStickyWindow(const QString& stickyID) const = 0;
    // Closes the window under stickyID, if any; the entry goes when the window's closing
    // calls forgetStickyWindow.
    virtual void closeStickyWindow(const QString& stickyID) = 0;
    // Takes the entry out first, then closes its window (a note deleted for good).
    virtual void removeStickyWindow(const QString& stickyID) = 0;
    // A sticky window that is closing drops its own entry.
    virtual void forgetStickyWindow(const QString& stickyID) = 0;

    // Clipboard: the one history of the process, and pasting a clip into the application the
    // user came from.
    virtual ClipboardMonitor& clipboardMonitor() = 0;
    virtual void pasteClip(const ClipEntry& entry) = 0;

    // Hot keys: whether another program holds the keys of `action`'s shortcut, so that it does
    // nothing here.
    virtual bool isShortcutHeldElsewhere(NorvelleShortcutAction action) const = 0;

protected:
    AppDelegating() = default;
    virtual ~AppDelegating() = default;
    AppDelegating(const AppDelegating&) = delete;
    AppDelegating& operator=(const AppDelegating&) = delete;
};

} // namespace norvelle
