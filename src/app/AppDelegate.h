#pragma once

#include "app/AppServices.h"
#include "core/AppDelegating.h"
#include "sticky/StickyControllerTable.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace norvelle {

class ClipboardMonitor;
class CollaborationWindowController;
class MainAppWindowController;
class OnboardingWindowController;
class Popover;
class RepeatingTimer;
class SettingsWindowController;
class StatusItem;
class WindowController;

// Regular while the workspace or settings window is on screen, accessory (tray only) otherwise.
// Only recorded: on this desktop each window shows in the task bar by itself, so no program-wide
// setting has to follow it.
enum class ActivationPolicy { regular = 0,
    accessory = 1 };

// Starts, wires and stops everything; owns the tray items, the clip popover, the clipboard
// history and every window. Main thread only; lives for the whole process.
class AppDelegate : public QObject, public AppDelegating {
    Q_OBJECT
public:
    explicit AppDelegate(AppServices services = AppServices::live(), QObject* parent = nullptr);
    ~AppDelegate() override;

    // The two ends of the process. The shutdown runs once, however often it is asked for, and
    // before Qt's quit closes any window. The launch returns false when the note store cannot
    // be opened: the user has been told, and the program ends without starting anything.
    bool applicationDidFinishLaunching();
    void applicationWillTerminate();
    // A later launch of the program asked this one to come forward; returns true.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    // Whether any of our windows is on screen (what a reopen request is told).
    bool hasVisibleWindows() const;

    void handleSessionEnded();
    void restartAutoSyncTimer() override;
    bool isAutoSyncScheduled() const;

    // Tray items and the clip popover.
    void installStatusItems();
    void removeStatusItems();
    void toggleClipboardStrip();
    void closeClipboardPopover();
    void handleStickyStatusClick();
    void rememberPasteTarget();
    void pasteClip(const ClipEntry& entry) override;
    bool isShortcutHeldElsewhere(NorvelleShortcutAction action) const override;
    // Sends the platform's paste keystroke (Shift+Insert) to the window with the keyboard.
    void postCommandV();

    // Windows and the activation policy.
    void openMainWindow() override;
    void openSettings(const std::optional<QString>& pane = std::nullopt) override;
    void showOnboarding();
    void openCollaboration(StickyNote& note) override;
    void observePrimaryWindow(WindowController* controller);
    void updateActivationPolicy();
    ActivationPolicy activationPolicy() const { return m_activationPolicy; }

    // Notes and their sticky windows: AppDelegateNotes.cpp.
    void createNewSticky(const QString& text) override;
    void openSticky(StickyNote& note) override;
    bool hasStickyWindow(const QString& stickyID) const override;
    void closeStickyWindow(const QString& stickyID) override;
    void removeStickyWindow(const QString& stickyID) override;
    void forgetStickyWindow(const QString& stickyID) override;

    ClipboardMonitor& clipboardMonitor() override { return *m_clipboardMonitor; }

    // What tests and the tray look at.
    StatusItem* clipStatusItem() const { return m_clipStatusItem.get(); }
    StatusItem* stickyStatusItem() const { return m_stickyStatusItem.get(); }
    StickyControllerTable& stickyControllers() { return m_stickyControllers; }
    // Null until the clip strip is first opened.
    Popover* clipboardPopover() const { return m_clipboardPopover.get(); }
    const std::optional<RunningApplication>& pasteTargetApp() const { return m_pasteTargetApp; }
    MainAppWindowController* mainAppWindowController() const { return m_mainAppWindowController.get(); }
    SettingsWindowController* settingsWindowController() const { return m_settingsWindowController.get(); }
    OnboardingWindowController* onboardingWindowController() const { return m_onboardingWindowController.get(); }
    CollaborationWindowController* collaborationWindowController() const { return m_collaborationWindowController.get(); }
    // "Settings…" (Ctrl+,), in every window of ours and in the tray menus.
    QAction* settingsAction() const { return m_settingsAction; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installHotKeys();
    void registerHotKeys();
    void decideFirstWindow();
    void pullBeforeQuit();
    void showAndActivate(WindowController& controller);
    // Lets "Settings…" (Ctrl+,) work while `window` has the keyboard.
    void offerSettings(QWidget& window);
    void primaryWindowWillClose();
    // The clip list the popover hosts.
    std::unique_ptr<QWidget> makeClipboardStrip();

    AppServices m_services;

    StickyControllerTable m_stickyControllers;
    std::unique_ptr<StatusItem> m_clipStatusItem;
    std::unique_ptr<StatusItem> m_stickyStatusItem;
    std::unique_ptr<Popover> m_clipboardPopover;
    const std::unique_ptr<ClipboardMonitor> m_clipboardMonitor;
    std::unique_ptr<MainAppWindowController> m_mainAppWindowController;
    std::unique_ptr<SettingsWindowController> m_settingsWindowController;
    std::unique_ptr<CollaborationWindowController> m_collaborationWindowController;
    std::unique_ptr<OnboardingWindowController> m_onboardingWindowController;
    std::optional<RunningApplication> m_pasteTargetApp;
    std::unique_ptr<RepeatingTimer> m_autoSyncTimer;
    bool m_didPromptAccessibilityPaste = false;
    QStringList m_toldHeldHotKeys; // "Shift+Super+V (Clipboard history)", as last told

    ActivationPolicy m_activationPolicy = ActivationPolicy::regular;
    QHash<WindowController*, QMetaObject::Connection> m_primaryWindowObservers;
    std::unique_ptr<QMenu> m_trayMenu;
    QAction* m_settingsAction = nullptr;
    bool m_terminated = false;
};

} // namespace norvelle
