#pragma once

#include "core/AppDelegating.h"

#include <QSet>
#include <QStringList>

#include <cstdlib>
#include <functional>

namespace norvelle::test {

// An application delegate that keeps a table of window keys and logs every call as
// "<call>:<argument>". It is the current delegate for its lifetime.
class FakeAppDelegating : public AppDelegating {
public:
    FakeAppDelegating() { setCurrent(this); }
    ~FakeAppDelegating() override { setCurrent(nullptr); }

    QStringList calls;
    QSet<QString> openWindows;
    // Runs inside removeStickyWindow, after the entry went and before the window closes.
    std::function<void(const QString&)> onRemove;

    void openMainWindow() override { calls << "openMainWindow:"; }
    void openSettings(const std::optional<QString>& pane) override { calls << "openSettings:" + pane.value_or(""); }
    void openCollaboration(StickyNote&) override { calls << "openCollaboration:"; }
    void restartAutoSyncTimer() override { calls << "restartAutoSyncTimer:"; }
    void createNewSticky(const QString& text) override { calls << "createNewSticky:" + text; }
    void openSticky(StickyNote&) override { calls << "openSticky:"; }

    bool hasStickyWindow(const QString& stickyID) const override { return openWindows.contains(stickyID); }
    void closeStickyWindow(const QString& stickyID) override
    {
        calls << "closeStickyWindow:" + stickyID;
        if (openWindows.contains(stickyID)) {
            calls << "windowClosed:" + stickyID;
        }
    }
    void removeStickyWindow(const QString& stickyID) override
    {
        calls << "removeStickyWindow:" + stickyID;
        if (openWindows.remove(stickyID)) {
            if (onRemove) {
                onRemove(stickyID);
            }
            calls << "windowClosed:" + stickyID;
        }
    }
    void forgetStickyWindow(const QString& stickyID) override
    {
        calls << "forgetStickyWindow:" + stickyID;
        openWindows.remove(stickyID);
    }

    ClipboardMonitor& clipboardMonitor() override { std::abort(); }
    void pasteClip(const ClipEntry&) override { calls << "pasteClip:"; }
    bool isShortcutHeldElsewhere(NorvelleShortcutAction) const override { return false; }
};

} // namespace norvelle::test
