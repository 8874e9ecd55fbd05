// The "Connected Devices" section against the loopback server: what each row shows, removal,
// and the text that replaces the list for each kind of failure.
#include "AccountPanesFixture.h"

#include "account/ServiceError.h"
#include "platform/InternetDateTime.h"
#include "platform/UserDefaults.h"
#include "settings/AccountPane.h"
#include "settings/ConnectedDeviceRow.h"
#include "settings/ConnectedDevicesView.h"
#include "settings/DevicesErrorMessage.h"
#include "settings/NamedRelativeDate.h"
#include "ui/BadgeLabel.h"
#include "ui/TextLabel.h"

#include <QPushButton>
#include <QTcpServer>

namespace norvelle {
namespace {

using test::click;
using test::ScriptedReply;

struct ConnectedDevicesTest : testing::Test, test::AccountPanesFixture {
    ConnectedDevicesView& list() { return *open<AccountPane>(SettingsPane::account).devicesView(); }
    QString message() { return list().messageLabel()->isVisible() ? list().messageLabel()->text() : QString(); }

    // Shows the window signed in and waits for the list.
    void showSignedIn()
    {
        signInDirectly();
        show();
        ASSERT_TRUE(devicesSettled());
    }

    void refresh()
    {
        click(list().refreshButton());
        ASSERT_TRUE(devicesSettled());
    }

    // BadgeLabel has no meta-object of its own: found by its C++ type.
    static QStringList badges(QWidget* row)
    {
        QStringList texts;
        for (QWidget* child : row->findChildren<QWidget*>()) {
            if (auto* badge = dynamic_cast<BadgeLabel*>(child)) {
                texts << badge->text();
            }
        }
        return texts;
    }

    static QStringList texts(QWidget* row)
    {
        QStringList texts;
        for (TextLabel* label : row->findChildren<TextLabel*>()) {
            texts << label->text();
        }
        return texts;
    }
};

TEST_F(ConnectedDevicesTest, SignedOutAsksToConnectWithoutARequest)
{
    show();
    EXPECT_EQ(message(), "Connect account to manage devices.");
    click(list().refreshButton());
    EXPECT_EQ(message(), "Connect account to manage devices.");
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(ConnectedDevicesTest, RowsShowEachDeviceAndMarkThisComputer)
{
    const QString recent = InternetDateTime::format(QDateTime::currentDateTimeUtc().addSecs(-3 * 3600 - 30));
    server.reply("/v1/devices", devices({device("nvd_office", "Office desktop", {{"platform", "macOS"}, {"lastSeenAt", recent}, {"lastSeenIp", ""}}), device(attestation.deviceIdentifier(), "ann-laptop", {{"lastSeenAt", "someday"}, {"lastSeenIp", "10.0.0.7"}})}));
    showSignedIn();
    const QList<ConnectedDeviceRow*> rows = list().rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_FALSE(list().messageLabel()->isVisible());
    EXPECT_EQ(texts(rows[0]), (QStringList {"Office desktop", "macOS • 3 hours ago"}));
    EXPECT_TRUE(rows[0]->removeButton());
    EXPECT_TRUE(badges(rows[0]).isEmpty());
    EXPECT_EQ(texts(rows[1]), (QStringList {"ann-laptop", "Linux • last seen unknown", "Last IP 10.0.0.7", "Active here"}));
    EXPECT_FALSE(rows[1]->removeButton());
    EXPECT_EQ(badges(rows[1]), QStringList {"This device"});
    EXPECT_EQ(server.requests("/v1/devices").first().header("authorization"), "Bearer access-0");

    // This computer is never removed, even when asked.
    state().devices().remove(state().devices().devices().at(1));
    server.replyAlways("/v1/devices", devices({}));
    server.reply("/v1/devices/remove", ScriptedReply::json(200, {}));
    click(rows[0]->removeButton());
    ASSERT_TRUE(test::waitUntil([&] { return message() == "No active devices"; }, 5000));
    ASSERT_EQ(server.requests("/v1/devices/remove").size(), 1);
    EXPECT_EQ(server.requests("/v1/devices/remove").first().json(), (QJsonObject {{"deviceId", "nvd_office"}}));
}

TEST_F(ConnectedDevicesTest, ALongDeviceNameIsCutSoRemoveAndActiveHereStayInTheWindow)
{
    const QString longName = "Alice's Laptop with a really long device name that goes on and on";
    server.reply("/v1/devices", devices({device("nvd_office", longName), device(attestation.deviceIdentifier(), longName)}));
    showSignedIn();
    const QList<ConnectedDeviceRow*> rows = list().rows();
    ASSERT_EQ(rows.size(), 2);
    QWidget* shown = view().form(SettingsPane::account)->viewport();
    const auto seen = [shown](QWidget* widget) {
        return shown->rect().contains(QRect(widget->mapTo(shown, QPoint(0, 0)), widget->size()));
    };
    EXPECT_TRUE(seen(rows[0]->removeButton()));
    TextLabel* active = nullptr;
    for (TextLabel* label : rows[1]->findChildren<TextLabel*>()) {
        active = label->text() == "Active here" ? label : active;
    }
    ASSERT_TRUE(active);
    EXPECT_TRUE(seen(active));
    EXPECT_TRUE(texts(rows[0]).first().endsWith(QStringLiteral("…")));
    EXPECT_EQ(rows[0]->findChildren<TextLabel*>().first()->toolTip(), longName);
}

TEST_F(ConnectedDevicesTest, ARefusedRemovalSaysSoUntilTheNextLoad)
{
    server.reply("/v1/devices", devices({device("nvd_office", "Office desktop")}));
    server.replyAlways("/v1/devices/remove", ScriptedReply::json(403, {}));
    showSignedIn();
    click(list().rows().first()->removeButton());
    ASSERT_TRUE(test::waitUntil([&] { return message() == "Failed to remove device."; }, 5000));
    EXPECT_EQ(state().devices().devices().size(), 1);
    refresh();
    EXPECT_EQ(list().rows().size(), 1);
}

TEST_F(ConnectedDevicesTest, EachFailureSaysWhatTheUserCanDo)
{
    server.reply("/v1/devices", devices({device("nvd_office", "Office desktop")}));
    showSignedIn();

    server.replyAlways("/v1/devices", ScriptedReply::json(404, {}));
    server.replyAlways("/devices", ScriptedReply::json(404, {}));
    refresh();
    EXPECT_EQ(message(), "Couldn’t load devices (404). Try again later.");
    EXPECT_TRUE(list().rows().isEmpty());
    EXPECT_EQ(state().devices().devices().size(), 1) << "the last list is kept, hidden";

    server.replyAlways("/v1/devices", ScriptedReply::json(500, {}));
    refresh();
    EXPECT_EQ(message(), "Couldn’t load devices: Server error (HTTP 500).");

    ScriptedReply silent;
    silent.mode = ScriptedReply::Mode::never;
    server.replyAlways("/v1/devices", silent);
    refresh();
    EXPECT_EQ(message(), "The server didn’t respond in time. Check your connection and try again.");

    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const QString down = QString("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    UserDefaults::standard().set("norvelle.api.baseURL", "  " + down + "\n");
    ASSERT_FALSE(credentials.save(*credentials.load(), QUrl(down)));
    refresh();
    EXPECT_EQ(message(), "Can’t reach the server. Check your connection and try again.");
    EXPECT_EQ(UserDefaults::standard().string("norvelle.api.baseURL"), down) << "the typed address, trimmed";
}

TEST(DevicesErrorMessage, TransportFailuresWithoutAnAnswer)
{
    EXPECT_EQ(devicesErrorMessage(ServiceError::transport({HttpError::Kind::noNetwork, "No network connection."})),
        "No network connection.");
    EXPECT_EQ(devicesErrorMessage(ServiceError::transport({HttpError::Kind::secureConnection, "TLS"})),
        "Couldn’t make a secure connection to the server. Check your connection and try again.");
    EXPECT_EQ(devicesErrorMessage(ServiceError::transport({HttpError::Kind::transferFailed, ""})),
        "Couldn’t load devices. Try again later.");
    EXPECT_EQ(devicesErrorMessage(ServiceError::noSession()),
        "Couldn’t load devices: No sync session. Connect your account under Settings → Sync.");
}

TEST(ConnectedDeviceRow, LastSeenReadsInternetDatesOnly)
{
    const QDateTime now = QDateTime::fromString("2026-12-09T12:00:00Z", Qt::ISODate);
    EXPECT_EQ(ConnectedDeviceRow::lastSeenText("2026-12-09T11:58:30.250Z", now), "1 minute ago");
    EXPECT_EQ(ConnectedDeviceRow::lastSeenText("2026-12-09T11:59:58Z", now), "2 seconds ago");
    for (const std::optional<QString>& text : {std::optional<QString>(), std::optional<QString>("2026-12-09"),
             std::optional<QString>("2026-12-09 11:00:00Z"), std::optional<QString>("")}) {
        EXPECT_EQ(ConnectedDeviceRow::lastSeenText(text, now), "last seen unknown");
    }
    EXPECT_EQ(namedRelativeDateText(now, now), "now");
    EXPECT_EQ(namedRelativeDateText(now.addSecs(-2 * 3600), now), "2 hours ago");
    EXPECT_EQ(namedRelativeDateText(now.addDays(-1), now), "yesterday");
    EXPECT_EQ(namedRelativeDateText(now.addDays(-3), now), "3 days ago");
    EXPECT_EQ(namedRelativeDateText(now.addDays(-8), now), "last week");
    EXPECT_EQ(namedRelativeDateText(now.addDays(-15), now), "2 weeks ago");
    EXPECT_EQ(namedRelativeDateText(now.addMonths(-5), now), "5 months ago");
    EXPECT_EQ(namedRelativeDateText(now.addYears(-1), now), "last year");
    EXPECT_EQ(namedRelativeDateText(now.addSecs(3 * 60), now), "in 3 minutes");
    EXPECT_EQ(namedRelativeDateText(now.addDays(1), now), "tomorrow");
}

} // namespace
} // namespace norvelle
