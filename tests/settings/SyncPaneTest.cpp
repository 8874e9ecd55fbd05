// The Sync pane against the loopback server: connecting with Google, "Sync now" and its status
// texts, signing out, and the two sync switches.
#include "AccountPanesFixture.h"

#include "account/APIGateway.h"
#include "account/GoogleSignInButton.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "settings/SettingsSection.h"
#include "settings/SyncPane.h"
#include "settings/ToggleSwitch.h"
#include "ui/BadgeLabel.h"
#include "ui/TextLabel.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>

namespace norvelle {
namespace {

using test::click;
using test::ScriptedReply;

struct SyncPaneTest : testing::Test, test::AccountPanesFixture {
    SyncPane& pane() { return open<SyncPane>(SettingsPane::sync); }
    QString status() { return pane().statusLabel()->text(); }

    // Clicks "Sync now" and waits for the status it ends with.
    void syncNow()
    {
        QSignalSpy ended(&state(), &SettingsAccountState::changed);
        click(pane().syncNowButton());
        ASSERT_TRUE(ended.wait(5000));
    }

    // Points the program at a port where nothing listens, as the server that issued the session.
    void serverDown()
    {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost, 0);
        const QString down = QString("http://127.0.0.1:%1").arg(closed.serverPort());
        UserDefaults::standard().set("norvelle.api.baseURL", down);
        ASSERT_FALSE(credentials.save(*credentials.load(), QUrl(down)));
    }
};

TEST_F(SyncPaneTest, SignedOutOffersGoogleAndDisablesTheActions)
{
    show();
    SyncPane& p = pane();
    EXPECT_EQ(status(), "Sync state: Idle");
    EXPECT_EQ(p.connectionBadge()->text(), "Disconnected");
    EXPECT_FALSE(p.signOutButton()->isVisible());
    EXPECT_TRUE(p.signInPrompt()->isVisible());
    EXPECT_EQ(p.googleButton()->size(), QSize(280, 44));
    EXPECT_FALSE(p.connectErrorLabel()->isVisible());
    EXPECT_TRUE(p.actionsSection()->isVisible());
    EXPECT_FALSE(p.autoSyncSwitch()->isEnabled());
    EXPECT_FALSE(p.syncNowButton()->isEnabled());
    EXPECT_EQ(p.accountEmailField()->placeholderText(), "you@example.com");
    // Nothing was asked of the server without an account.
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(SyncPaneTest, GoogleSignsInShowsConnectedAndLoadsTheDevices)
{
    server.reply("/v1/devices", devices({device(attestation.deviceIdentifier(), "This computer")}));
    show();
    click(pane().googleButton());
    ASSERT_TRUE(test::waitUntil([&] { return state().accountConnected(); }, 5000));
    ASSERT_TRUE(devicesSettled());
    EXPECT_EQ(status(), "Sync state: Connected");
    EXPECT_EQ(pane().connectionBadge()->text(), "Connected");
    EXPECT_TRUE(pane().signOutButton()->isVisible());
    EXPECT_FALSE(pane().signInPrompt()->isVisible());
    EXPECT_TRUE(pane().syncNowButton()->isEnabled());
    EXPECT_TRUE(pane().autoSyncSwitch()->isEnabled());
    EXPECT_EQ(credentials.load()->accessToken, "access-g");
    EXPECT_EQ(server.requests("/v1/devices").size(), 1);
    EXPECT_EQ(state().devices().devices().size(), 1);
}

TEST_F(SyncPaneTest, AFailedGoogleSignInShowsItsErrorAndACancelledOneNothing)
{
    server.replyAlways("/v1/auth/google", ScriptedReply::json(401, {{"error", "invalid_token"}}));
    show();
    click(pane().googleButton());
    ASSERT_TRUE(test::waitUntil([&] { return pane().connectErrorLabel()->isVisible(); }, 5000));
    EXPECT_EQ(pane().connectErrorLabel()->text(),
        "The server didn’t accept this sign-in. Check your details and try again.");
    EXPECT_EQ(status(), "Sync state: Idle");
    EXPECT_EQ(pane().connectionBadge()->text(), "Disconnected");

    // The user closes the waiting window: the earlier error stays, nothing else changes.
    google.session().setBrowser([](const QUrl&) { return true; });
    click(pane().googleButton());
    QWidget* waiting = google.session().waitingWindow();
    ASSERT_TRUE(waiting);
    QTest::mouseClick(waiting->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    ASSERT_TRUE(test::waitUntil([&] { return !google.session().waitingWindow(); }));
    test::waitUntil([] { return false; }, 50);
    EXPECT_EQ(pane().connectErrorLabel()->text(),
        "The server didn’t accept this sign-in. Check your details and try again.");
    EXPECT_EQ(status(), "Sync state: Idle");
    EXPECT_FALSE(credentials.load());
}

TEST_F(SyncPaneTest, SyncNowSaysWhetherThePullWentThrough)
{
    signInDirectly();
    show();
    EXPECT_EQ(status(), "Sync state: Connected");
    syncNow();
    EXPECT_EQ(status(), "Sync state: Synced just now");
    EXPECT_EQ(server.requests("/v1/notes/sync").size(), 1);

    serverDown();
    syncNow();
    EXPECT_EQ(status(), "Sync state: Sync failed: Couldn’t reach the server. Check your connection and try again.");

    server.useAsApiBase();
    ASSERT_FALSE(credentials.save(*credentials.load(), server.baseURL()));
    server.replyAlways("/v1/notes/sync", ScriptedReply::json(500, {}));
    syncNow();
    EXPECT_EQ(status(), "Sync state: Sync failed: Server error (HTTP 500).");
    EXPECT_TRUE(pane().signOutButton()->isVisible());

    // A session the server turns away even after a refresh shows as not connected.
    server.replyAlways("/v1/notes/sync", ScriptedReply::json(401, {}));
    server.replyAlways("/v1/auth/refresh", ScriptedReply::json(401, {}));
    syncNow();
    EXPECT_TRUE(status().startsWith("Sync state: Sync failed: ")) << status().toStdString();
    EXPECT_EQ(pane().connectionBadge()->text(), "Disconnected");
    EXPECT_FALSE(pane().signOutButton()->isVisible());
    EXPECT_TRUE(pane().googleButton()->isVisible());
}

TEST_F(SyncPaneTest, ARefusedAddressOrAnotherServerSendsNothingAndNeverSaysConnected)
{
    signInDirectly();
    UserDefaults::standard().set("norvelle.api.baseURL", QString("http://example.com"));
    show();
    EXPECT_TRUE(pane().connectErrorLabel()->isVisible());
    EXPECT_TRUE(pane().connectErrorLabel()->text().startsWith("This server address can’t be used: "))
        << pane().connectErrorLabel()->text().toStdString();
    EXPECT_EQ(status(), "Sync state: Disconnected");
    EXPECT_EQ(pane().connectionBadge()->text(), "Disconnected");
    EXPECT_FALSE(pane().syncNowButton()->isEnabled());
    EXPECT_TRUE(pane().signOutButton()->isVisible()) << "signing in again would not help";

    test::LoopbackApiServer other;
    other.useAsApiBase();
    controller.window()->hide();
    show();
    EXPECT_EQ(status(), "Sync state: Disconnected");
    EXPECT_EQ(pane().connectionBadge()->text(), "Disconnected");
    EXPECT_TRUE(pane().googleButton()->isVisible());
    EXPECT_EQ(pane().connectErrorLabel()->text(),
        "You signed in on another server than the one set now. Sign in again to sync with this one.");
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_TRUE(other.requests().isEmpty());
}

// As a crash or a bad disk leaves it: the address and everything else in the settings is lost,
// the session beside them is not.
TEST_F(SyncPaneTest, AfterTheSettingsFileIsCutThePaneAsksToSignInAgainAndSendsNothing)
{
    signInDirectly();
    UserDefaults::standard().synchronize();
    const QString path = UserDefaults::standard().filePath();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();
    UserDefaults::resetStandard();
    ASSERT_FALSE(UserDefaults::standard().contains("norvelle.api.baseURL"));

    show();
    EXPECT_EQ(status(), "Sync state: Disconnected");
    EXPECT_EQ(pane().connectionBadge()->text(), "Disconnected");
    EXPECT_TRUE(pane().googleButton()->isVisible());
    EXPECT_TRUE(pane().connectErrorLabel()->text().contains("Sign in again")) << pane().connectErrorLabel()->text().toStdString();
    EXPECT_FALSE(pane().syncNowButton()->isEnabled());
    bool pulled = false;
    std::optional<ServiceError> failure;
    sync.syncNow([&](std::optional<ServiceError> error) {
        failure = error;
        pulled = true;
    });
    ASSERT_TRUE(test::waitUntil([&] { return pulled; }));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind(), ServiceError::Kind::sessionFromOtherServer) << "refused here, never sent";

    // Without the record beside it, no server is known to have issued the session: it goes
    // nowhere, not even to the server set again.
    ASSERT_TRUE(QFile::remove(credentials.issuerFilePath()));
    SyncCredentialStore fresh(folder);
    server.useAsApiBase();
    ASSERT_EQ(APIGateway::sessionRefusal(fresh)->kind(), ServiceError::Kind::sessionIssuerUnknown);
}

TEST_F(SyncPaneTest, ASyncThatEndsAfterSigningOutAsksToSignIn)
{
    signInDirectly();
    ScriptedReply slow = emptySyncAnswer();
    slow.delayMs = 300;
    server.replyAlways("/v1/notes/sync", slow);
    show();
    click(pane().syncNowButton());
    click(pane().signOutButton());
    EXPECT_EQ(status(), "Sync state: Disconnected");
    ASSERT_TRUE(test::waitUntil([&] { return status() == "Sync state: Sign in to sync"; }, 5000));
}

TEST_F(SyncPaneTest, SignOutOnlySignsOut)
{
    signInDirectly();
    show();
    int sessionsEnded = 0;
    NotificationCenter::defaultCenter().addObserver("norvelleSessionEnded", nullptr, [&](const Notification&) { ++sessionsEnded; });
    click(pane().signOutButton());
    EXPECT_FALSE(credentials.load());
    EXPECT_EQ(sessionsEnded, 1);
    EXPECT_EQ(status(), "Sync state: Disconnected");
    EXPECT_EQ(pane().connectionBadge()->text(), "Disconnected");
    EXPECT_FALSE(pane().signOutButton()->isVisible());
    EXPECT_TRUE(pane().signInPrompt()->isVisible());
    EXPECT_EQ(event("sync_account_toggle"), (AnalyticsMetadata {{"connected", "false"}}));

    // Pressed again once signed out (a press that raced the first): no sign-in of any kind.
    state().toggleAccountConnection();
    test::waitUntil([] { return false; }, 50);
    EXPECT_EQ(sessionsEnded, 1);
    EXPECT_FALSE(credentials.load());
    EXPECT_TRUE(server.requests("/v1/auth/apple").isEmpty());
    EXPECT_EQ(status(), "Sync state: Disconnected");
}

TEST_F(SyncPaneTest, TheSyncSwitchesRestartTheTimerAndHideTheActions)
{
    signInDirectly();
    storedSettings::autoSyncEnabled.set(false);
    show();
    app.calls.clear();
    SyncPane& p = pane();
    EXPECT_FALSE(p.autoSyncSwitch()->isChecked());

    click(p.enableSyncSwitch());
    EXPECT_FALSE(storedSettings::syncEnabled.value());
    EXPECT_FALSE(p.actionsSection()->isVisible());
    EXPECT_EQ(app.calls, QStringList {"restartAutoSyncTimer:"});

    click(p.enableSyncSwitch());
    EXPECT_TRUE(p.actionsSection()->isVisible());
    EXPECT_FALSE(p.autoSyncSwitch()->isChecked());
    click(p.autoSyncSwitch());
    EXPECT_TRUE(storedSettings::autoSyncEnabled.value());
    EXPECT_EQ(app.calls.size(), 3);
}

} // namespace
} // namespace norvelle
