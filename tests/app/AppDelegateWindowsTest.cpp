#include "app/AppDelegateFixture.h"

#include "account/CollaborationWindowController.h"
#include "onboarding/OnboardingWindowController.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "settings/NorvelleSettingsView.h"
#include "settings/SettingsPane.h"
#include "settings/SettingsWindowController.h"
#include "settings/SyncPane.h"
#include "settings/ToggleSwitch.h"
#include "settings/UserInput.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "workspace/MainAppWindowController.h"

#include <QAction>

using namespace norvelle;
using test::AppDelegateTest;

using AppWindowsTest = AppDelegateTest;

TEST_F(AppWindowsTest, PolicyStaysRegularWhileEitherPrimaryWindowIsOpen)
{
    for (const bool workspaceFirst : {true, false}) {
        app().openMainWindow();
        app().openSettings();
        ASSERT_EQ(app().activationPolicy(), ActivationPolicy::regular);
        WindowController* first = workspaceFirst ? static_cast<WindowController*>(app().mainAppWindowController())
                                                 : app().settingsWindowController();
        WindowController* second = workspaceFirst ? static_cast<WindowController*>(app().settingsWindowController())
                                                  : app().mainAppWindowController();
        first->close();
        nextTurn();
        EXPECT_EQ(app().activationPolicy(), ActivationPolicy::regular);

        second->close();
        EXPECT_EQ(app().activationPolicy(), ActivationPolicy::regular) << "decided on the next turn";
        nextTurn();
        EXPECT_EQ(app().activationPolicy(), ActivationPolicy::accessory);
    }
}

TEST_F(AppWindowsTest, ControllersOutliveTheirWindows)
{
    app().openMainWindow();
    MainAppWindowController* workspace = app().mainAppWindowController();
    workspace->close();
    app().openMainWindow();
    app().openMainWindow();
    EXPECT_EQ(app().mainAppWindowController(), workspace);
    EXPECT_TRUE(visible(workspace));
    EXPECT_EQ(workspace->window()->windowTitle(), "Norvelle");
    EXPECT_EQ(workspace->window()->size(), QSize(1100, 680));
}

TEST_F(AppWindowsTest, SettingsPostThePaneOnlyWhenOneIsNamed)
{
    QStringList panes;
    NotificationCenter::defaultCenter().addObserver(openSettingsPaneNotification, nullptr,
        [&](const Notification& notification) { panes << notification.userInfo.value("pane").toString(); });
    app().openSettings();
    app().openSettings("sync");
    app().settingsAction()->trigger();
    EXPECT_EQ(panes, QStringList {"sync"});
    EXPECT_EQ(app().settingsWindowController()->window()->windowTitle(), "Settings");
    EXPECT_EQ(app().settingsWindowController()->window()->size(), QSize(640, 480));
    EXPECT_EQ(app().settingsAction()->text(), "Settings…");
    EXPECT_EQ(app().settingsAction()->shortcut(), QKeySequence("Ctrl+,"));
}

TEST_F(AppWindowsTest, TheSettingsSyncSwitchesStartAndStopTheAutomaticSync)
{
    app().openSettings("Sync");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app().settingsWindowController()->window()));
    auto& sync = *static_cast<SyncPane*>(app().settingsWindowController()->view()->currentForm());
    ASSERT_TRUE(app().isAutoSyncScheduled());

    test::click(sync.enableSyncSwitch());
    EXPECT_FALSE(app().isAutoSyncScheduled());
    test::click(sync.enableSyncSwitch());
    EXPECT_TRUE(app().isAutoSyncScheduled());
    // The automatic switch waits for an account; its stored value is followed all the same.
    UserDefaults::standard().set("norvelle.sync.autoEnabled", false);
    EXPECT_FALSE(app().isAutoSyncScheduled());
    EXPECT_FALSE(sync.autoSyncSwitch()->isChecked());
    UserDefaults::standard().set("norvelle.sync.autoEnabled", true);
    EXPECT_TRUE(app().isAutoSyncScheduled());
}

TEST_F(AppWindowsTest, ReopenOpensTheWorkspaceOnlyWhenNothingIsVisible)
{
    EXPECT_TRUE(app().applicationShouldHandleReopen(true));
    EXPECT_FALSE(app().mainAppWindowController());
    EXPECT_FALSE(app().hasVisibleWindows());
    EXPECT_TRUE(app().applicationShouldHandleReopen(app().hasVisibleWindows()));
    EXPECT_TRUE(visible(app().mainAppWindowController()));
    EXPECT_TRUE(app().hasVisibleWindows());
}

TEST_F(AppWindowsTest, FinishingOnboardingOpensTheWorkspace)
{
    launch();
    UserDefaults::standard().remove("norvelle.hasCompletedOnboarding");
    app().showOnboarding();
    OnboardingWindowController* onboarding = app().onboardingWindowController();
    EXPECT_EQ(app().activationPolicy(), ActivationPolicy::accessory);
    EXPECT_EQ(onboarding->window()->size(), QSize(560, 640));

    onboarding->finish();
    EXPECT_TRUE(UserDefaults::standard().boolValue("norvelle.hasCompletedOnboarding"));
    EXPECT_FALSE(app().onboardingWindowController());
    EXPECT_TRUE(visible(app().mainAppWindowController()));
    EXPECT_EQ(app().activationPolicy(), ActivationPolicy::regular);
    nextTurn();
}

TEST_F(AppWindowsTest, ShareWindowOpensWithoutLeavingTheTray)
{
    PersistenceController store(true);
    const auto note = StickyNote::insert(store.viewContext());
    app().openCollaboration(*note);
    CollaborationWindowController* first = app().collaborationWindowController();
    ASSERT_TRUE(visible(first));
    EXPECT_EQ(first->window()->windowTitle(), "Share & Collaborate");
    EXPECT_EQ(first->window()->size(), QSize(420, 320));
    EXPECT_EQ(app().activationPolicy(), ActivationPolicy::accessory);

    // A second opening replaces the controller; the earlier window stays until closed.
    QPointer<QWidget> firstWindow = first->window();
    app().openCollaboration(*note);
    EXPECT_NE(app().collaborationWindowController(), first);
    nextTurn();
    ASSERT_TRUE(firstWindow);
    EXPECT_TRUE(firstWindow->isVisible());
    firstWindow->close();
    nextTurn();
    EXPECT_FALSE(firstWindow);
    EXPECT_EQ(app().activationPolicy(), ActivationPolicy::accessory);
}
