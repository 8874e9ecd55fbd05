#include "account/AuthRequestBodies.h"
#include "account/RemoteAuthTokensResponse.h"
#include "account/RemoteDeviceRecord.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

DeviceFields device(bool attested = false)
{
    DeviceFields fields {"nvd_0123", "desk", "macOS", std::nullopt};
    if (attested) {
        fields.attestation = DeviceAttestation::Payload {"nve_x", "PUBKEY", "SIG", 1772357400};
    }
    return fields;
}

QJsonObject object(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

QStringList keys(const QByteArray& json)
{
    QStringList out = object(json).keys();
    out.sort();
    return out;
}

std::optional<QString> failure(const QByteArray& json)
{
    const auto result = RemoteAuthTokensResponse::fromJson(json);
    if (const ServiceError* error = std::get_if<ServiceError>(&result)) {
        return error->debugDescription();
    }
    return std::nullopt;
}

} // namespace

TEST(AuthWireRecords, OptionalTextsAndTheAttestationAreLeftOutWhenAbsent)
{
    EXPECT_EQ(keys(EmailAuthBody {"a@b.c", "secret12", QString(""), device()}.toJson()),
        (QStringList {"deviceId", "deviceName", "email", "password", "platform"}));
    EXPECT_EQ(object(EmailAuthBody {"a@b.c", "p", QString("Ann"), device()}.toJson()).value("name"), "Ann");
    EXPECT_EQ(keys(AppleSignInBody {"tok", device(), QString(""), std::nullopt}.toJson()),
        (QStringList {"deviceId", "deviceName", "identityToken", "platform"}));
    EXPECT_EQ(keys(GoogleSignInBody {"tok", device(), QString("a@b.c"), QString("Ann Lee")}.toJson()),
        (QStringList {"deviceId", "deviceName", "email", "fullName", "idToken", "platform"}));
    EXPECT_EQ(keys(RegisterDeviceBody {device()}.toJson()), (QStringList {"deviceId", "deviceName", "platform"}));
    EXPECT_EQ(object(RemoveDeviceBody {"dev-9"}.toJson()), (QJsonObject {{"deviceId", "dev-9"}}));
}

TEST(AuthWireRecords, AnAttestationIsFlattenedWithAnIntegerTimestamp)
{
    const QJsonObject body = object(RegisterDeviceBody {device(true)}.toJson());
    EXPECT_EQ(body.value("devicePublicKey"), "PUBKEY");
    EXPECT_EQ(body.value("deviceAttestation"), "SIG");
    EXPECT_TRUE(body.value("attestationTimestamp").isDouble());
    EXPECT_EQ(body.value("attestationTimestamp").toInteger(), 1772357400);
    EXPECT_EQ(body.value("deviceId"), "nvd_0123");
    EXPECT_TRUE(RegisterDeviceBody {device(true)}.toJson().contains("\"attestationTimestamp\":1772357400"));
}

TEST(AuthWireRecords, TokenRepliesAreReadStrictly)
{
    const QByteArray good = R"({"userId":"u","accessToken":"a","refreshToken":"r","expiresAt":"2030-01-01T00:00:00Z",
        "displayName":null,"avatarUrl":"https://x/a.png","other":[1,2]})";
    const auto result = RemoteAuthTokensResponse::fromJson(good);
    ASSERT_TRUE(std::holds_alternative<RemoteAuthTokensResponse>(result));
    const RemoteAuthTokensResponse& reply = std::get<RemoteAuthTokensResponse>(result);
    EXPECT_FALSE(reply.displayName);
    EXPECT_EQ(reply.avatarUrl, "https://x/a.png");
    EXPECT_EQ(failure(R"({"userId":"u","accessToken":"a","expiresAt":"2030-01-01T00:00:00Z"})"), "decoding(missing \"refreshToken\")");
    EXPECT_EQ(failure(R"({"userId":7,"accessToken":"a","refreshToken":"r","expiresAt":"x"})"), "decoding(wrong type for \"userId\")");
    EXPECT_EQ(failure(R"({"userId":"u","accessToken":null,"refreshToken":"r","expiresAt":"x"})"), "decoding(missing \"accessToken\")");
    EXPECT_EQ(failure(R"({"userId":"u","accessToken":"a","refreshToken":"r","expiresAt":"x","displayName":3})"),
        "decoding(wrong type for \"displayName\")");
    // Tokens go into request headers, and the user id decides whose answer a sync is.
    EXPECT_EQ(failure(R"({"userId":"u","accessToken":"abc\r\nX-Injected: 1","refreshToken":"r","expiresAt":"x"})"),
        "decoding(control character in \"accessToken\")");
    EXPECT_EQ(failure(R"({"userId":"u","accessToken":"a","refreshToken":"r\u0000","expiresAt":"x"})"),
        "decoding(control character in \"refreshToken\")");
    EXPECT_EQ(failure(R"({"userId":"u\n","accessToken":"a","refreshToken":"r","expiresAt":"x"})"),
        "decoding(control character in \"userId\")");
    EXPECT_EQ(failure("<html>"), "decoding(not JSON)");
    EXPECT_EQ(failure("[1]"), "decoding(not an object)");
    EXPECT_EQ(failure(R"({"userId":"u","accessToken":"a","refreshToken":"r","expiresAt":"2030-01-01T00:00:00Z"} trailing)"),
        "decoding(not JSON)");
}

TEST(AuthWireRecords, TheSessionTakesTheExpiryInEitherFormAndNothingElse)
{
    RemoteAuthTokensResponse reply {"u", "a", "r", "2030-01-01T00:00:00.250Z", {}, {}, {}};
    ASSERT_TRUE(std::holds_alternative<StoredSyncSession>(reply.session()));
    EXPECT_EQ(std::get<StoredSyncSession>(reply.session()).expiresAt.toMSecsSinceEpoch(), 1893456000250);
    reply.expiresAt = "2030-01-01T00:00:00Z";
    EXPECT_TRUE(std::holds_alternative<StoredSyncSession>(reply.session()));
    for (const char* bad : {"2030-01-01", "2030-01-01 00:00:00Z", "2030-01-01T00:00:00"}) {
        reply.expiresAt = bad;
        ASSERT_TRUE(std::holds_alternative<ServiceError>(reply.session())) << bad;
        EXPECT_EQ(std::get<ServiceError>(reply.session()).kind(), ServiceError::Kind::cannotParseResponse);
    }
}

TEST(AuthWireRecords, DeviceListsReadTheirOptionalFieldsAsAbsent)
{
    const auto list = RemoteDevicesResponse::fromJson(
        R"({"devices":[{"id":"d1","name":"Desk","platform":"macOS"},
                       {"id":"d2","name":"Lap","platform":"macOS","active":true,"lastSeenIp":"10.0.0.2","lastSeenAt":null}]})");
    ASSERT_TRUE(std::holds_alternative<RemoteDevicesResponse>(list));
    const QList<RemoteDeviceRecord> devices = std::get<RemoteDevicesResponse>(list).devices;
    ASSERT_EQ(devices.size(), 2);
    EXPECT_FALSE(devices[0].active);
    EXPECT_FALSE(devices[0].lastSeenIp);
    EXPECT_EQ(devices[1].active, true);
    EXPECT_FALSE(devices[1].lastSeenAt);
    EXPECT_TRUE(std::get<RemoteDevicesResponse>(RemoteDevicesResponse::fromJson(R"({"devices":[]})")).devices.isEmpty());
    for (const char* bad : {"{}", R"({"devices":null})", R"({"devices":[{"id":"d1","name":"x"}]})",
             R"({"devices":[{"id":"d1","name":"x","platform":"p","active":"yes"}]})", R"({"devices":[7]})",
             R"({"devices":[{"id":"d1\r\nX: 1","name":"x","platform":"p"}]})"}) {
        EXPECT_TRUE(std::holds_alternative<ServiceError>(RemoteDevicesResponse::fromJson(bad))) << bad;
    }
}
