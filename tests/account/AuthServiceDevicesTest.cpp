#include "account/AuthService.h"

#include "account/AccountDisplayName.h"
#include "account/AccountFixture.h"
#include "account/NotesSyncService.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <QFile>
#include <QJsonArray>
#include <gtest/gtest.h>

using namespace norvelle;
using test::ScriptedReply;

namespace {

const QJsonObject twoDevices {{"devices", QJsonArray {QJsonObject {{"id", "d1"}, {"name", "Desk"}, {"platform", "macOS"}}, QJsonObject {{"id", "d2"}, {"name", "Lap"}, {"platform", "macOS"}}}}};

struct Devices : test::AccountFixture {
    ServiceResult<RemoteDevicesResponse> fetch()
    {
        std::optional<ServiceResult<RemoteDevicesResponse>> result;
        auth.fetchDevices([&](ServiceResult<RemoteDevicesResponse> r) { result = std::move(r); });
        EXPECT_TRUE(test::waitUntil([&] { return result.has_value(); }, 5000));
        return result.value_or(ServiceError::noSession());
    }
};

} // namespace

TEST(AuthServiceDevices, TheListIsAskedWithTheBearerAndNoBody)
{
    Devices d;
    d.signInDirectly("access-0");
    d.server.reply("/v1/devices", ScriptedReply::json(200, twoDevices));
    const auto result = d.fetch();
    ASSERT_TRUE(std::holds_alternative<RemoteDevicesResponse>(result));
    EXPECT_EQ(std::get<RemoteDevicesResponse>(result).devices.size(), 2);
    const test::RecordedRequest request = d.server.requests().first();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.header("authorization"), "Bearer access-0");
    EXPECT_TRUE(request.header("content-type").isEmpty());
}

TEST(AuthServiceDevices, A401RefreshesOnceAndAsksAgain)
{
    Devices d;
    d.signInDirectly("access-0");
    d.server.reply("/v1/devices", ScriptedReply::json(401, {}));
    d.server.reply("/v1/devices", ScriptedReply::json(200, twoDevices));
    d.server.reply("/v1/auth/refresh", test::LoopbackApiServer::tokens("access-2"));
    ASSERT_TRUE(std::holds_alternative<RemoteDevicesResponse>(d.fetch()));
    EXPECT_EQ(d.server.paths(), (QStringList {"/v1/devices", "/v1/auth/refresh", "/v1/devices"}));
    EXPECT_EQ(d.server.requests("/v1/auth/refresh").first().json(), (QJsonObject {{"refreshToken", "refresh-0"}}));
    EXPECT_TRUE(d.server.requests("/v1/auth/refresh").first().header("authorization").isEmpty());
    EXPECT_EQ(d.server.requests().last().header("authorization"), "Bearer access-2");
    EXPECT_EQ(d.credentials.load()->accessToken, "access-2");
}

TEST(AuthServiceDevices, ASecond401IsFinal)
{
    Devices d;
    d.signInDirectly();
    d.server.reply("/v1/devices", ScriptedReply::json(401, {}));
    d.server.reply("/v1/auth/refresh", test::LoopbackApiServer::tokens("access-2"));
    const auto result = d.fetch();
    ASSERT_TRUE(std::holds_alternative<ServiceError>(result));
    EXPECT_EQ(std::get<ServiceError>(result), ServiceError::badStatus(401));
    EXPECT_EQ(std::get<ServiceError>(result).localizedDescription(), "Session rejected (401). Disconnect and sign in again.");
    EXPECT_EQ(d.server.requests("/v1/auth/refresh").size(), 1);
}

TEST(AuthServiceDevices, AFailedRefreshFailsTheCallAndKeepsTheSession)
{
    Devices d;
    d.signInDirectly("access-0");
    d.server.reply("/v1/devices", ScriptedReply::json(401, {}));
    d.server.reply("/v1/auth/refresh", ScriptedReply::json(401, {}));
    const auto result = d.fetch();
    EXPECT_EQ(std::get<ServiceError>(result), ServiceError::badStatus(401));
    EXPECT_EQ(d.credentials.load()->accessToken, "access-0");
    // A refresh answer with a date alone is refused too, and stores nothing.
    d.server.replyAlways("/v1/auth/refresh", test::LoopbackApiServer::tokens("access-9", "2030-01-01"));
    EXPECT_EQ(std::get<ServiceError>(d.fetch()).kind(), ServiceError::Kind::cannotParseResponse);
    EXPECT_EQ(d.credentials.load()->accessToken, "access-0");
}

TEST(AuthServiceDevices, ConcurrentRefreshesShareOneRequest)
{
    Devices d;
    d.signInDirectly();
    d.server.reply("/v1/devices", ScriptedReply::json(401, {}));
    d.server.reply("/v1/devices", ScriptedReply::json(401, {}));
    d.server.reply("/v1/devices", ScriptedReply::json(200, twoDevices));
    ScriptedReply slowRefresh = test::LoopbackApiServer::tokens("access-2");
    slowRefresh.delayMs = 200;
    d.server.reply("/v1/auth/refresh", slowRefresh);
    int succeeded = 0;
    for (int i = 0; i < 2; ++i) {
        d.auth.fetchDevices([&](ServiceResult<RemoteDevicesResponse> r) { succeeded += std::holds_alternative<RemoteDevicesResponse>(r); });
    }
    EXPECT_TRUE(test::waitUntil([&] { return succeeded == 2; }, 5000));
    EXPECT_EQ(d.server.requests("/v1/auth/refresh").size(), 1);
}

TEST(AuthServiceDevices, ListRemoveAndDeleteFallBackOn404AndNeedASession)
{
    Devices d;
    EXPECT_EQ(std::get<ServiceError>(d.fetch()), ServiceError::noSession());
    EXPECT_EQ(d.run([&](Completion done) { d.auth.removeDevice("d1", done); }), ServiceError::noSession());
    EXPECT_EQ(d.run([&](Completion done) { d.auth.deleteAccount(done); }), ServiceError::noSession());
    EXPECT_TRUE(d.server.requests().isEmpty());

    d.signInDirectly();
    d.server.reply("/devices", ScriptedReply::json(200, twoDevices));
    d.server.reply("/devices/remove", ScriptedReply::json(200, {}));
    EXPECT_TRUE(std::holds_alternative<RemoteDevicesResponse>(d.fetch()));
    EXPECT_FALSE(d.run([&](Completion done) { d.auth.removeDevice("d2", done); }));
    EXPECT_EQ(d.server.paths(), (QStringList {"/v1/devices", "/devices", "/v1/devices/remove", "/devices/remove"}));
    const test::RecordedRequest removal = d.server.requests().last();
    EXPECT_EQ(removal.json(), (QJsonObject {{"deviceId", "d2"}}));
    EXPECT_EQ(removal.header("content-type"), "application/json");

    d.server.replyAlways("/v1/devices/remove", ScriptedReply::json(204, {}));
    EXPECT_EQ(d.run([&](Completion done) { d.auth.removeDevice("d2", done); }), ServiceError::badStatus(204));
    d.server.replyAlways("/v1/devices", ScriptedReply::raw(200, "{\"devices\":"));
    EXPECT_EQ(std::get<ServiceError>(d.fetch()).kind(), ServiceError::Kind::decoding);
}

TEST(AuthServiceDevices, DeletingTheAccountSignsOutThenRecordsIt)
{
    Devices d;
    d.signInDirectly();
    d.server.reply("/v1/account/delete", ScriptedReply::json(500, {}));
    EXPECT_EQ(d.run([&](Completion done) { d.auth.deleteAccount(done); }), ServiceError::badStatus(500));
    EXPECT_TRUE(d.credentials.load());

    d.server.replyAlways("/v1/account/delete", ScriptedReply::json(200, {}));
    int ended = 0;
    NotificationCenter::defaultCenter().addObserver(AuthService::sessionEndedNotification, nullptr, [&](const Notification&) { ++ended; });
    EXPECT_FALSE(d.run([&](Completion done) { d.auth.deleteAccount(done); }));
    const test::RecordedRequest request = d.server.requests().last();
    EXPECT_EQ(request.method, "POST");
    EXPECT_TRUE(request.body.isEmpty());
    EXPECT_TRUE(request.header("content-type").isEmpty());
    EXPECT_FALSE(QFile::exists(d.credentials.sessionFilePath()));
    EXPECT_EQ(ended, 1);
    const QStringList names = d.eventNames();
    EXPECT_LT(names.indexOf("auth_disconnected"), names.indexOf("account_deleted"));
}

TEST(AuthServiceDevices, DisconnectClearsEveryTraceBeforeAnnouncingIt)
{
    Devices d;
    d.signInDirectly();
    UserDefaults& defaults = UserDefaults::standard();
    setStoredAccountDisplayName(QString("Ann"));
    defaults.set(storedSettings::usedDevelopmentIdentity.key, true);
    defaults.set(storedSettings::sinceGlobalVersionKey, 42);
    defaults.set(storedSettings::profileAvatarPath.key, d.avatars.pictureFilePath());
    QFile picture(d.avatars.pictureFilePath());
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.close();

    bool clearedWhenAnnounced = false;
    NotificationCenter::defaultCenter().addObserver(AuthService::sessionEndedNotification, nullptr, [&](const Notification&) {
        clearedWhenAnnounced = !d.credentials.load() && !storedAccountDisplayName() && !defaults.contains(storedSettings::profileAvatarPath.key)
            && !QFile::exists(d.avatars.pictureFilePath()) && defaults.object(storedSettings::usedDevelopmentIdentity.key) == QVariant(false)
            && !defaults.contains(storedSettings::sinceGlobalVersionKey) && d.eventNames().last() == "auth_disconnected";
    });
    d.auth.disconnect();
    EXPECT_TRUE(clearedWhenAnnounced);

    // Without a session every step still runs.
    clearedWhenAnnounced = false;
    d.auth.disconnect();
    EXPECT_TRUE(clearedWhenAnnounced);
}
