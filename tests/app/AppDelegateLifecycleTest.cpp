#include "app/AppDelegateFixture.h"

#include "account/AuthService.h"
#include "app/LaunchNotices.h"
#include "core/NorvelleShortcutAction.h"
#include "onboarding/OnboardingWindowController.h"
#include "platform/ColorPanel.h"
#include "platform/NotificationCenter.h"
#include "platform/Popover.h"
#include "platform/StatusItem.h"
#include "platform/UserDefaults.h"
#include "settings/SettingsWindowController.h"
#include "support/LogCapture.h"
#include "ui/UserNotice.h"
#include "workspace/MainAppWindowController.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

using namespace norvelle;
using test::AppDelegateTest;

namespace {

UserDefaults& defaults()
{
    return UserDefaults::standard();
}

StoredSyncSession session()
{
    return {"user", "access", "refresh", QDateTime::currentDateTimeUtc().addDays(1)};
}

// Hot keys that let the test look at the delegate as the first one is registered.
class ProbedHotKeys : public test::FakeGlobalHotKeys {
public:
    std::function<void()> beforeFirst;

    HotKeyRegistration registerHotKey(int keyCode, Modifiers modifiers, quint32 identifier) override
    {
        if (attempts().isEmpty() && beforeFirst)
            beforeFirst();
        return FakeGlobalHotKeys::registerHotKey(keyCode, modifiers, identifier);
    }
};

} // namespace

TEST_F(AppDelegateTest, FreshInstallationShowsOnboardingAndInstallsTheTray)
{
    AppDelegate& app = launch();
    EXPECT_EQ(AppDelegating::current(), &app);
    EXPECT_EQ(app.activationPolicy(), ActivationPolicy::accessory);
    EXPECT_TRUE(visible(app.onboardingWindowController()));
    EXPECT_FALSE(app.mainAppWindowController());
    EXPECT_TRUE(defaults().boolValue("norvelle.didMigrateWorkspaceLaunchDefault"));
    EXPECT_EQ(hotKeys.registered().size(), 3);

    ASSERT_TRUE(app.clipStatusItem() && app.stickyStatusItem());
    EXPECT_EQ(app.clipStatusItem()->toolTip(), "Clipboard history — click to open");
    EXPECT_EQ(app.clipStatusItem()->accessibilityDescription(), "Clipboard");
    EXPECT_EQ(app.stickyStatusItem()->toolTip(), "New sticky note — click to create near the pointer");
    EXPECT_EQ(app.stickyStatusItem()->accessibilityDescription(), "New Sticky Note");
    // The clip strip costs nothing until it is first opened.
    EXPECT_FALSE(app.clipboardPopover());

    delegate.reset();
    EXPECT_EQ(AppDelegating::current(), nullptr);
}

TEST_F(AppDelegateTest, LaunchRunsEachStepInItsOrder)
{
    ProbedHotKeys probedKeys;
    HotKeyManager probedManager(probedKeys);
    services.hotKeys = &probedManager;
    QStringList timeline;
    std::function<void(const QString&)> mark;
    services.openNoteStore = [&] {
        mark("openNoteStore");
        return std::optional<ObjectStoreError>();
    };
    services.startCrashTelemetry = [&] { mark("startCrashTelemetry"); };
    services.migrateNotes = [&] { mark("migrateNotes"); };
    delegate = std::make_unique<AppDelegate>(services);
    AppDelegate& app = *delegate;

    // What of the launch shows from outside at a given moment.
    mark = [&](const QString& moment) {
        QStringList seen;
        const auto see = [&](bool visible, const char* what) {
            if (visible)
                seen << what;
        };
        see(AppDelegating::current() == &app, "delegate");
        see(app.activationPolicy() == ActivationPolicy::accessory, "accessory");
        see(!ColorPanel::shared().isVisible(), "colourPanelClosed");
        see(app.clipStatusItem() && app.stickyStatusItem(), "trayItems");
        see(probedKeys.registered().size() == 3, "hotKeys");
        see(app.clipboardMonitor().isRunning(), "monitor");
        see(defaults().boolValue("norvelle.didMigrateWorkspaceLaunchDefault"), "settingsMigrated");
        see(visible(app.onboardingWindowController()), "firstWindow");
        see(app.isAutoSyncScheduled(), "timer");
        see(notesSync.syncs > 0, "firstSync");
        timeline << moment + ": " + seen.join(u' ');
    };
    probedKeys.beforeFirst = [&] { mark("hotKeys"); };
    QObject::connect(&defaults(), &UserDefaults::changed, &app, [&](const QString& key) {
        if (key == "norvelle.didMigrateWorkspaceLaunchDefault")
            mark("settingsMigration");
    });
    QObject colourOwner;
    ColorPanel::shared().open(&colourOwner, Qt::red);
    ASSERT_TRUE(ColorPanel::shared().isVisible());

    app.applicationDidFinishLaunching();
    mark("launchReturned");
    nextTurn();
    mark("nextTurn");
    ASSERT_TRUE(test::waitUntil([&] { return notesSync.syncs == 1; }, 10000));
    mark("later");

    const QString installed = "delegate accessory colourPanelClosed trayItems";
    const QString started = installed + " hotKeys monitor";
    EXPECT_EQ(timeline.join(u'\n').toStdString(), QStringList({
                                                                  "openNoteStore: delegate",
                                                                  "startCrashTelemetry: delegate",
                                                                  "migrateNotes: delegate",
                                                                  "hotKeys: " + installed,
                                                                  "settingsMigration: " + started + " settingsMigrated",
                                                                  "launchReturned: " + started + " settingsMigrated timer",
                                                                  "nextTurn: " + started + " settingsMigrated firstWindow timer",
                                                                  "later: " + started + " settingsMigrated firstWindow timer firstSync",
                                                              })
                                                      .join(u'\n')
                                                      .toStdString());
}

TEST_F(AppDelegateTest, AStoreThatCannotBeOpenedIsExplainedAndNothingElseStarts)
{
    storeError = ObjectStoreError(ObjectStoreError::Code::Unavailable, "The note store cannot be locked (/x): database is locked");
    delegate = std::make_unique<AppDelegate>(services);
    EXPECT_FALSE(delegate->applicationDidFinishLaunching());
    nextTurn();
    EXPECT_EQ(steps, QStringList({"openNoteStore", "explainUnopenableStore: " + storeError->localizedDescription()}));
    EXPECT_FALSE(delegate->clipStatusItem());
    EXPECT_TRUE(hotKeys.registered().isEmpty());
    EXPECT_FALSE(delegate->clipboardMonitor().isRunning());
}

TEST_F(AppDelegateTest, UnreadableSettingsAreToldOnceWithWhereTheOldFileWent)
{
    const QString path = UserDefaults::standard().filePath();
    UserDefaults::resetStandard();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"norvelle.hasCompletedOnboarding\": {\"bool\": tr");
    file.close();

    launch();
    const QString kept = UserDefaults::standard().unreadableFileKept();
    ASSERT_TRUE(QFileInfo(kept).isFile());
    QMessageBox* notice = UserNotice::showing(LaunchNotices::unreadableSettingsTopic);
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains("could not read its settings"));
    EXPECT_TRUE(notice->informativeText().contains(kept));
    notice->close();
    nextTurn();

    // The next launch reads the file the first one wrote: nothing more to tell.
    delegate.reset();
    UserDefaults::resetStandard();
    launch();
    EXPECT_FALSE(UserNotice::showing(LaunchNotices::unreadableSettingsTopic));
}

TEST_F(AppDelegateTest, LegacyOpenWorkspaceSettingIsDroppedOnce)
{
    defaults().set("norvelle.hasCompletedOnboarding", true);
    defaults().set("norvelle.openWorkspaceOnLaunch", true);
    AppDelegate& app = launch();
    EXPECT_FALSE(defaults().contains("norvelle.openWorkspaceOnLaunch"));
    EXPECT_FALSE(app.mainAppWindowController());
    EXPECT_FALSE(app.onboardingWindowController());

    // Set again in the settings: the next launch honours it.
    defaults().set("norvelle.openWorkspaceOnLaunch", true);
    launch();
    EXPECT_TRUE(visible(delegate->mainAppWindowController()));
}

TEST_F(AppDelegateTest, StoredSessionSkipsOnboarding)
{
    ASSERT_FALSE(credentials.save(session(), QUrl("https://sync.example")));
    defaults().set("norvelle.didMigrateWorkspaceLaunchDefault", true);
    AppDelegate& app = launch();
    EXPECT_FALSE(app.onboardingWindowController());
    EXPECT_FALSE(app.mainAppWindowController());

    defaults().set("norvelle.openWorkspaceOnLaunch", true);
    launch();
    EXPECT_FALSE(delegate->onboardingWindowController());
    EXPECT_TRUE(visible(delegate->mainAppWindowController()));
    EXPECT_EQ(delegate->activationPolicy(), ActivationPolicy::regular);
}

TEST_F(AppDelegateTest, WithoutATrayTheWorkspaceOpensAndOneLineIsLogged)
{
    trayAvailable = false;
    defaults().set("norvelle.hasCompletedOnboarding", true);
    test::LogCapture log;
    AppDelegate& app = launch();
    EXPECT_TRUE(visible(app.mainAppWindowController()));
    EXPECT_EQ(log.messages().filter("tray").size(), 1);
    EXPECT_EQ(hotKeys.registered().size(), 3);
}

TEST_F(AppDelegateTest, HotKeysAndTrayItemsReachTheirActions)
{
    defaults().set("norvelle.hasCompletedOnboarding", true);
    AppDelegate& app = launch();
    for (const auto& [identifier, action] : hotKeyManager.idToAction()) {
        if (action == NorvelleShortcutAction::openWorkspace) {
            hotKeys.deliver(identifier);
        }
    }
    EXPECT_TRUE(test::waitUntil([&] { return visible(app.mainAppWindowController()); }));

    app.clipStatusItem()->click();
    Popover* popover = app.clipboardPopover();
    ASSERT_TRUE(popover);
    EXPECT_TRUE(popover->isShown());
    EXPECT_EQ(popover->size(), QSize(320, 520));
    app.clipStatusItem()->click();
    EXPECT_FALSE(popover->isShown());
    // Built once and kept for every later showing.
    app.toggleClipboardStrip();
    EXPECT_EQ(app.clipboardPopover(), popover);
    EXPECT_TRUE(popover->isShown());

    const QStringList menu = [&] {
        QStringList texts;
        for (const QAction* action : app.clipStatusItem()->contextMenu()->actions()) {
            texts << action->text();
        }
        return texts;
    }();
    EXPECT_EQ(menu, (QStringList {"Settings…", "Quit Norvelle"}));
    EXPECT_EQ(app.stickyStatusItem()->contextMenu(), app.clipStatusItem()->contextMenu());
}

TEST_F(AppDelegateTest, FirstSyncRunsTwoSecondsAfterLaunch)
{
    launch();
    EXPECT_EQ(notesSync.syncs, 0);
    EXPECT_TRUE(test::waitUntil([&] { return notesSync.syncs == 1; }, 10000));
}

TEST_F(AppDelegateTest, AutoSyncTimerRunsOnlyWhenBothSwitchesAreOn)
{
    const QVariant values[] = {QVariant(), true, false, QString("off"), qlonglong(0)};
    AppDelegate& app = launch();
    for (const QVariant& enabled : values) {
        for (const QVariant& autoEnabled : values) {
            defaults().set("norvelle.sync.enabled", enabled);
            defaults().set("norvelle.sync.autoEnabled", autoEnabled);
            app.restartAutoSyncTimer();
            // Only a stored Boolean false switches either off, as the Sync pane shows them.
            const auto isFalse = [](const QVariant& value) { return value.typeId() == QMetaType::Bool && !value.toBool(); };
            const bool off = isFalse(enabled) || isFalse(autoEnabled);
            EXPECT_EQ(app.isAutoSyncScheduled(), !off)
                << enabled.toString().toStdString() << " / " << autoEnabled.toString().toStdString();
        }
    }
}

TEST_F(AppDelegateTest, TurningAutoSyncOnStartsTheTimerAtOnce)
{
    defaults().set("norvelle.sync.autoEnabled", false);
    AppDelegate& app = launch();
    EXPECT_FALSE(app.isAutoSyncScheduled());
    defaults().set("norvelle.sync.autoEnabled", true);
    AppDelegating::current()->restartAutoSyncTimer();
    EXPECT_TRUE(app.isAutoSyncScheduled());
}

TEST_F(AppDelegateTest, ShutdownEmptiesTheHistoryFirstAndRunsOnce)
{
    AppDelegate& app = launch();
    pasteboard.setText("secret");
    app.clipboardMonitor().poll();
    ASSERT_EQ(app.clipboardMonitor().items().size(), 1);
    coordinator.enqueue("note-1");

    bool itemsStillInstalled = false;
    NotificationCenter::defaultCenter().addObserver(ClipboardMonitor::historyChangedNotification, nullptr,
        [&](const Notification&) {
            steps << "historyChanged";
            itemsStillInstalled = app.clipStatusItem() && app.isAutoSyncScheduled();
            EXPECT_TRUE(app.clipboardMonitor().items().isEmpty());
        });
    steps.clear();
    app.applicationWillTerminate();
    app.applicationWillTerminate();

    EXPECT_EQ(steps, (QStringList {"historyChanged", "saveNoteStore"}));
    EXPECT_TRUE(itemsStillInstalled);
    EXPECT_FALSE(app.clipStatusItem());
    EXPECT_FALSE(app.stickyStatusItem());
    EXPECT_FALSE(app.isAutoSyncScheduled());
    EXPECT_EQ(notesSync.syncs, 1);
    EXPECT_TRUE(test::waitUntil([&] { return coordinatorSyncs == 1; }, 5000));
}

TEST_F(AppDelegateTest, SessionEndClosesTheWindowsAndShowsOnboarding)
{
    defaults().set("norvelle.hasCompletedOnboarding", true);
    AppDelegate& app = launch();
    app.openMainWindow();
    app.openSettings();
    QWidget* workspace = app.mainAppWindowController()->window();

    NotificationCenter::defaultCenter().post(AuthService::sessionEndedNotification);
    EXPECT_TRUE(workspace->isVisible()) << "handled on a later turn";
    nextTurn();
    EXPECT_FALSE(app.mainAppWindowController());
    EXPECT_FALSE(app.settingsWindowController());
    EXPECT_EQ(app.activationPolicy(), ActivationPolicy::accessory);
    EXPECT_TRUE(visible(app.onboardingWindowController()));
}

TEST_F(AppDelegateTest, SessionEndKeepsAnOpenOnboardingWindow)
{
    AppDelegate& app = launch();
    OnboardingWindowController* onboarding = app.onboardingWindowController();
    ASSERT_TRUE(visible(onboarding));
    app.openMainWindow();

    app.handleSessionEnded();
    EXPECT_EQ(app.onboardingWindowController(), onboarding);
    EXPECT_TRUE(visible(onboarding));
    EXPECT_FALSE(app.mainAppWindowController());
}

TEST_F(AppDelegateTest, SessionEndShowsAClosedUnfinishedOnboardingAgain)
{
    AppDelegate& app = launch();
    OnboardingWindowController* onboarding = app.onboardingWindowController();
    onboarding->close();
    ASSERT_FALSE(visible(onboarding));

    app.handleSessionEnded();
    EXPECT_EQ(app.onboardingWindowController(), onboarding);
    EXPECT_TRUE(visible(onboarding));
}

TEST_F(AppDelegateTest, LaunchClosesTheColorPanelAndEndsItsOwnership)
{
    QObject owner;
    ColorPanel::shared().open(&owner, Qt::red);
    launch();
    EXPECT_FALSE(ColorPanel::shared().isVisible());
    EXPECT_EQ(ColorPanel::shared().owner(), nullptr);
}
