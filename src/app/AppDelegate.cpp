#include "app/AppDelegate.h"

#include "account/AuthService.h"
#include "account/CollaborationWindowController.h"
#include "account/NotesSyncService.h"
#include "account/SessionIssuer.h"
#include "account/SyncCoordinator.h"
#include "account/SyncCredentialStore.h"
#include "app/HeldHotKeysNotice.h"
#include "app/HotKeyManager.h"
#include "app/LaunchNotices.h"
#include "app/QuitWithUnsavedNotes.h"
#include "clipboard/ClipboardMonitor.h"
#include "core/NorvelleShortcutsProfile.h"
#include "onboarding/OnboardingWindowController.h"
#include "platform/ColorPanel.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/Popover.h"
#include "platform/RepeatingTimer.h"
#include "platform/StatusItem.h"
#include "platform/StoredSettings.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "settings/SettingsWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "ui/FocusedButtonReturn.h"
#include "ui/KeyboardFocusMark.h"
#include "ui/SchemePalette.h"
#include "workspace/MainAppWindowController.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace norvelle {

namespace {

constexpr double autoSyncInterval = 180.0;
constexpr double autoSyncTolerance = 20.0;
constexpr double firstSyncDelay = 2.0;
// What the pull at quit may take of the quit: enough for a server on the network to answer,
// short enough that one that does not answer never holds the quit.
constexpr int quitPullMs = 200;

} // namespace

AppDelegate::AppDelegate(AppServices services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_clipboardMonitor(m_services.makeClipboardMonitor())
    , m_trayMenu(std::make_unique<QMenu>())
{
    m_settingsAction = new QAction(QStringLiteral("Settings…"), this);
    m_settingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_settingsAction->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_settingsAction, &QAction::triggered, this, [] {
        if (AppDelegating* delegate = AppDelegating::current()) {
            delegate->openSettings();
        }
    });
    m_trayMenu->addAction(m_settingsAction);
    m_trayMenu->addAction(QStringLiteral("Quit Norvelle"), this,
        [] { QuitWithUnsavedNotes::request(PersistenceController::shared().viewContext()); });
}

AppDelegate::~AppDelegate()
{
    if (AppDelegating::current() == this) {
        AppDelegating::setCurrent(nullptr);
    }
}

bool AppDelegate::applicationDidFinishLaunching()
{
    AppDelegating::setCurrent(this);
    windowsFollowAppearancePreference();
    markKeyboardFocus();
    pressFocusedButtonOnReturn();
    if (const std::optional<ObjectStoreError> error = m_services.openNoteStore()) {
        m_services.explainUnopenableStore(*error);
        return false;
    }
    QCoreApplication::instance()->installEventFilter(this);
    m_services.startCrashTelemetry();
    m_services.migrateNotes();
    m_activationPolicy = ActivationPolicy::accessory;
    ColorPanel::shared().close();
    installStatusItems();
    if (!m_services.isTrayAvailable()) {
        SystemLog("app").notice("No system tray on this desktop: the tray items cannot show; the hot keys still work");
    }
    installHotKeys();
    NotificationCenter::defaultCenter().addObserver(AuthService::sessionEndedNotification, this, [this](const Notification&) {
        MainQueue::async([this] { handleSessionEnded(); }, this);
    });
    m_clipboardMonitor->start();

    UserDefaults& defaults = UserDefaults::standard();
    if (!storedSettings::didMigrateWorkspaceLaunchDefault.value()) {
        storedSettings::didMigrateWorkspaceLaunchDefault.set(true);
        defaults.remove(storedSettings::openWorkspaceOnLaunch.key);
    }
    SessionIssuer::carryOverFromSettings(*m_services.credentials);
    decideFirstWindow();
    const QString settingsKept = defaults.unreadableFileKept();
    if (!settingsKept.isEmpty()) {
        MainQueue::async([settingsKept] { LaunchNotices::tellUnreadableSettings(settingsKept); }, this);
    }
    restartAutoSyncTimer();
    MainQueue::asyncAfter(
        firstSyncDelay, [this] { m_services.notesSync->syncNowIfEnabled(); }, this);
    return true;
}

void AppDelegate::decideFirstWindow()
{
    if (!storedSettings::hasCompletedOnboarding.value() && !m_services.credentials->load()) {
        MainQueue::async([this] { showOnboarding(); }, this);
    } else if (storedSettings::openWorkspaceOnLaunch.value() || !m_services.isTrayAvailable()) {
        // Without a tray nothing else would show that the program runs.
        MainQueue::async([this] { openMainWindow(); }, this);
    }
}

void AppDelegate::installHotKeys()
{
    if (!m_services.hotKeys) {
        return;
    }
    m_services.hotKeys->onTrigger = [delegate = QPointer<AppDelegate>(this)](NorvelleShortcutAction action) {
        if (!delegate) {
            return;
        }
        switch (action) {
        case NorvelleShortcutAction::openWorkspace: delegate->openMainWindow(); break;
        case NorvelleShortcutAction::newNote: delegate->createNewSticky(QString()); break;
        case NorvelleShortcutAction::clipboardHistory: delegate->toggleClipboardStrip(); break;
        }
    };
    registerHotKeys();
    NotificationCenter::defaultCenter().addObserver(shortcutsChangedNotification(), this,
        [this](const Notification&) { registerHotKeys(); });
}

bool AppDelegate::isShortcutHeldElsewhere(NorvelleShortcutAction action) const
{
    if (!m_services.hotKeys) {
        return false;
    }
    const auto& held = m_services.hotKeys->heldElsewhere();
    return std::find(held.begin(), held.end(), action) != held.end();
}

// A shortcut another program holds would otherwise just do nothing: the user is told, once for
// each new set of them.
void AppDelegate::registerHotKeys()
{
    m_services.hotKeys->registerAll();
    const NorvelleShortcutsProfile profile = loadShortcutsProfile();
    QStringList held;
    for (NorvelleShortcutAction action : m_services.hotKeys->heldElsewhere()) {
        held << QStringLiteral("%1 (%2)").arg(profile.label(action), shortcutActionTitle(action));
    }
    if (held == m_toldHeldHotKeys) {
        return;
    }
    m_toldHeldHotKeys = held;
    if (!held.isEmpty()) {
        HeldHotKeysNotice::tell(held);
    }
}

// Qt's quit closes every window before the event loop ends, and a closing sticky window marks
// its note closed: the shutdown has to run first.
bool AppDelegate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        applicationWillTerminate();
    }
    return QObject::eventFilter(watched, event);
}

void AppDelegate::applicationWillTerminate()
{
    if (m_terminated) {
        return;
    }
    m_terminated = true;
    m_clipboardMonitor->setItems({});
    NotificationCenter::defaultCenter().post(ClipboardMonitor::historyChangedNotification);
    removeStatusItems();
    m_stickyControllers.releaseAllAtQuit();
    m_services.syncCoordinator->flush();
    pullBeforeQuit();
    if (m_autoSyncTimer) {
        m_autoSyncTimer->invalidate();
    }
    m_services.saveNoteStore();
    UserDefaults::standard().synchronize();
}

// The event loop ends with the quit, and with it every request still under way: the pull gets
// a short bounded wait of its own, without taking input meanwhile.
void AppDelegate::pullBeforeQuit()
{
    QEventLoop wait;
    const QPointer<QEventLoop> waiting(&wait);
    const auto ended = std::make_shared<bool>(false);
    m_services.notesSync->syncNowIfEnabled([waiting, ended](const std::optional<ServiceError>&) {
        *ended = true;
        if (waiting) {
            waiting->quit();
        }
    });
    if (*ended) {
        return;
    }
    QTimer::singleShot(quitPullMs, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

void AppDelegate::handleSessionEnded()
{
    if (m_mainAppWindowController) {
        m_mainAppWindowController->close();
    }
    m_primaryWindowObservers.remove(m_mainAppWindowController.get());
    m_mainAppWindowController.reset();
    if (m_settingsWindowController) {
        m_settingsWindowController->close();
    }
    m_primaryWindowObservers.remove(m_settingsWindowController.get());
    m_settingsWindowController.reset();
    m_activationPolicy = ActivationPolicy::accessory;
    if (!m_onboardingWindowController) {
        showOnboarding();
    } else if (!m_onboardingWindowController->window()->isVisible()) {
        // Closed without finishing: bring it back rather than leave no window at all.
        showAndActivate(*m_onboardingWindowController);
    }
}

void AppDelegate::restartAutoSyncTimer()
{
    if (m_autoSyncTimer) {
        m_autoSyncTimer->invalidate();
        m_autoSyncTimer.reset();
    }
    if (!storedSettings::syncEnabled.value() || !storedSettings::autoSyncEnabled.value()) {
        return;
    }
    m_autoSyncTimer = std::make_unique<RepeatingTimer>(autoSyncInterval, autoSyncTolerance,
        [sync = m_services.notesSync] { sync->syncNowIfEnabled(); });
}

bool AppDelegate::isAutoSyncScheduled() const
{
    return m_autoSyncTimer && m_autoSyncTimer->isValid();
}

} // namespace norvelle
