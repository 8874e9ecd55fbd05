// The Account pane against the loopback server: signing in with the embedded form, signing
// out, and deleting the account after typing the confirmation word.
#include "AccountPanesFixture.h"

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "settings/AccountPane.h"
#include "settings/ConnectedDeviceRow.h"
#include "settings/ConnectedDevicesView.h"
#include "settings/DeleteAccountSheet.h"
#include "settings/SyncPane.h"
#include "ui/BadgeLabel.h"
#include "ui/SchemePalette.h"
#include "ui/TextLabel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include <algorithm>

namespace norvelle {
namespace {

using test::click;
using test::ScriptedReply;

struct AccountPaneTest : testing::Test, test::AccountPanesFixture {
    AccountPane& pane() { return open<AccountPane>(SettingsPane::account); }
    QString status() { return open<SyncPane>(SettingsPane::sync).statusLabel()->text(); }
    DeleteAccountSheet& sheet() { return *pane().deleteSheet(); }

    void signInWithTheForm()
    {
        AccountSignInInline* form = pane().signInForm();
        ASSERT_TRUE(form);
        QTest::keyClicks(form->findChild<QLineEdit*>("emailField"), "ann@example.com");
        QTest::keyClicks(form->findChild<QLineEdit*>("passwordField"), "correct horse");
        QTest::mouseClick(form->findChild<QPushButton*>("submitButton"), Qt::LeftButton);
        ASSERT_TRUE(test::waitUntil([&] { return pane().signedInCard()->isVisible(); }, 5000));
        ASSERT_TRUE(devicesSettled());
    }

    void beginDeletion()
    {
        click(pane().deleteAccountButton());
        ASSERT_TRUE(pane().deleteSheet());
        ASSERT_TRUE(sheet().isVisible());
    }

    void typeConfirmation(const QString& text)
    {
        sheet().confirmField()->selectAll();
        QTest::keyClick(sheet().confirmField(), Qt::Key_Backspace);
        QTest::keyClicks(sheet().confirmField(), text);
    }

    QStringList deviceNames()
    {
        QStringList names;
        for (const RemoteDeviceRecord& device : state().devices().devices()) {
            names << device.name;
        }
        return names;
    }
};

TEST_F(AccountPaneTest, TheWholeAccountFlowAgainstTheServer)
{
    const QString self = attestation.deviceIdentifier();
    server.reply("/v1/auth/email/signup", test::LoopbackApiServer::tokens("access-e"));
    server.reply("/v1/devices", devices({device(self, "ann-laptop"), device("nvd_office", "Office desktop")}));
    server.reply("/v1/devices/remove", ScriptedReply::json(200, {}));
    server.reply("/v1/devices", devices({device(self, "ann-laptop")}));
    show();
    EXPECT_FALSE(pane().signedInCard()->isVisible());
    EXPECT_FALSE(pane().deleteAccountButton()->isEnabled());
    EXPECT_EQ(pane().devicesView()->messageLabel()->text(), "Connect account to manage devices.");

    // Signing in with the form shows the card and the devices; the status line says what the
    // Sync pane's badge says.
    signInWithTheForm();
    EXPECT_FALSE(pane().signInForm());
    EXPECT_EQ(credentials.load()->accessToken, "access-e");
    EXPECT_EQ(deviceNames(), (QStringList {"ann-laptop", "Office desktop"}));
    EXPECT_EQ(status(), "Sync state: Connected");
    EXPECT_EQ(open<SyncPane>(SettingsPane::sync).connectionBadge()->text(), "Connected");
    EXPECT_TRUE(pane().deleteAccountButton()->isEnabled());

    // Sync now.
    QSignalSpy synced(&state(), &SettingsAccountState::changed);
    click(open<SyncPane>(SettingsPane::sync).syncNowButton());
    ASSERT_TRUE(synced.wait(5000));
    EXPECT_EQ(status(), "Sync state: Synced just now");
    EXPECT_EQ(server.requests("/v1/notes/sync").size(), 1);

    // The other device goes; this one cannot.
    QList<ConnectedDeviceRow*> rows = pane().devicesView()->rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_FALSE(rows[0]->removeButton());
    click(rows[1]->removeButton());
    ASSERT_TRUE(test::waitUntil([&] { return deviceNames() == QStringList {"ann-laptop"}; }, 5000));
    EXPECT_EQ(server.requests("/v1/devices/remove").first().json(), (QJsonObject {{"deviceId", "nvd_office"}}));
    EXPECT_EQ(server.requests("/v1/devices/remove").first().header("authorization"), "Bearer access-e");
    EXPECT_EQ(pane().devicesView()->rows().size(), 1);

    // Signing out here ends the session and brings a fresh form back.
    int sessionsEnded = 0;
    NotificationCenter::defaultCenter().addObserver("norvelleSessionEnded", nullptr, [&](const Notification&) { ++sessionsEnded; });
    click(pane().signOutButton());
    EXPECT_EQ(sessionsEnded, 1);
    EXPECT_FALSE(credentials.load());
    EXPECT_EQ(status(), "Sync state: Signed out");
    ASSERT_TRUE(pane().signInForm());
    EXPECT_TRUE(pane().signInForm()->findChild<QLineEdit*>("emailField")->text().isEmpty());

    // Back in, then the account goes for good.
    server.reply("/v1/account/delete", ScriptedReply::json(200, {}));
    signInWithTheForm();
    beginDeletion();
    EXPECT_FALSE(sheet().deleteButton()->isEnabled());
    typeConfirmation(" Delete ");
    ASSERT_TRUE(sheet().deleteButton()->isEnabled());
    click(sheet().deleteButton());
    EXPECT_EQ(sheet().deleteButton()->text(), "Deleting…");
    EXPECT_EQ(pane().deleteAccountButton()->text(), "Deleting…");
    EXPECT_FALSE(pane().deleteAccountButton()->isEnabled());
    ASSERT_TRUE(test::waitUntil([&] { return !sheet().isVisible(); }, 5000));
    EXPECT_EQ(server.requests("/v1/account/delete").first().header("authorization"), "Bearer access-e");
    EXPECT_FALSE(credentials.load());
    EXPECT_EQ(status(), "Sync state: Account deleted");
    EXPECT_EQ(sessionsEnded, 2);
    EXPECT_EQ(eventNames().count("account_deleted"), 2);
    EXPECT_TRUE(sheet().confirmField()->text().isEmpty());
}

TEST_F(AccountPaneTest, OnlyTheWordDeleteEnablesDeletion)
{
    signInDirectly();
    show();
    beginDeletion();
    for (const QString& typed : {QString("DELETE"), QString("  delete  "), QString("delete\n")}) {
        sheet().confirmField()->setText(QString());
        state().setDeleteConfirmText(typed);
        EXPECT_TRUE(sheet().deleteButton()->isEnabled()) << typed.toStdString();
    }
    for (const QString& typed : {QString("deletee"), QString("to delete"), QString("del ete"), QString()}) {
        typeConfirmation(typed);
        EXPECT_FALSE(sheet().deleteButton()->isEnabled()) << typed.toStdString();
    }
    EXPECT_TRUE(server.requests("/v1/account/delete").isEmpty());
}

TEST_F(AccountPaneTest, InTheDarkLookTheDeletionSheetIsDarkToo)
{
    UserDefaults::standard().set("norvelle.appearance", "dark");
    signInDirectly();
    show();
    beginDeletion();
    EXPECT_EQ(schemeOf(sheet().palette()), ColorScheme::dark);
}

TEST_F(AccountPaneTest, AFailedDeletionKeepsTheSheetOpenAndEscapeClearsIt)
{
    signInDirectly();
    server.replyAlways("/v1/account/delete", ScriptedReply::json(500, {}));
    show();
    beginDeletion();
    typeConfirmation("delete");
    click(sheet().deleteButton());
    ASSERT_TRUE(test::waitUntil([&] { return sheet().errorLabel()->isVisible(); }, 5000));
    const QString error = "Couldn’t delete account: Server error (HTTP 500).";
    EXPECT_EQ(sheet().errorLabel()->text(), error);
    // The sheet grows with the text: nothing in it is squeezed or cut off.
    EXPECT_TRUE(test::waitUntil([&] {
        QList<QWidget*> parts {sheet().confirmField(), sheet().deleteButton()};
        for (QLabel* label : sheet().findChildren<QLabel*>()) {
            parts << label;
        }
        return std::all_of(parts.begin(), parts.end(), [&](const QWidget* part) {
            const QRect place(part->mapTo(&sheet(), QPoint(0, 0)), part->size());
            return sheet().rect().contains(place) && part->height() >= part->minimumSizeHint().height()
                && (!part->hasHeightForWidth() || part->height() >= part->heightForWidth(part->width()));
        });
    },
        5000));
    EXPECT_EQ(pane().deleteAccountErrorLabel()->text(), error);
    EXPECT_TRUE(pane().deleteAccountErrorLabel()->isVisible());
    EXPECT_TRUE(sheet().isVisible());
    EXPECT_EQ(sheet().confirmField()->text(), "delete");
    EXPECT_TRUE(sheet().deleteButton()->isEnabled());
    EXPECT_EQ(sheet().deleteButton()->text(), "Delete Account");
    EXPECT_TRUE(credentials.load());

    QTest::keyClick(sheet().confirmField(), Qt::Key_Escape);
    EXPECT_FALSE(sheet().isVisible());
    EXPECT_FALSE(pane().deleteAccountErrorLabel()->isVisible());
    beginDeletion();
    EXPECT_TRUE(sheet().confirmField()->text().isEmpty());
    EXPECT_FALSE(sheet().errorLabel()->isVisible());
}

TEST_F(AccountPaneTest, WithoutAStoredSessionNothingIsDeleted)
{
    signInDirectly();
    show();
    beginDeletion();
    // The session goes elsewhere while the sheet is open.
    credentials.clear();
    typeConfirmation("delete");
    click(sheet().deleteButton());
    EXPECT_EQ(sheet().errorLabel()->text(),
        "Couldn’t delete account: No sync session. Connect your account under Settings → Sync.");
    EXPECT_TRUE(server.requests("/v1/account/delete").isEmpty());
    click(sheet().cancelButton());
    EXPECT_FALSE(sheet().isVisible());

    // This window may still count itself connected: the button goes by the stored session.
    state().markSignedIn();
    EXPECT_TRUE(state().accountConnected());
    EXPECT_FALSE(pane().deleteAccountButton()->isEnabled());
    EXPECT_TRUE(pane().signInForm());
}

} // namespace
} // namespace norvelle
