#include "account/AuthService.h"

#include "account/APIGateway.h"
#include "account/AccountDisplayName.h"
#include "account/AccountFixture.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "support/LogCapture.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace norvelle;
using test::ScriptedReply;

namespace {

struct SignIn : test::AccountFixture {
    std::optional<ServiceError> email(bool signUp = true, const QString& password = "hunter22")
    {
        return run([&](Completion done) { auth.authenticateWithEmail("ann@example.com", password, signUp, std::nullopt, done); });
    }

    void registrationOk() { server.reply("/v1/devices/register", ScriptedReply::json(200, {})); }
};

} // namespace

TEST(AuthServiceSignIn, EmailSignUpStoresTheSessionThenRegistersTheDevice)
{
    SignIn s;
    s.server.reply("/v1/auth/email/signup", test::LoopbackApiServer::tokens("access-1", "2030-01-01T00:00:00.5Z", {{"displayName", "  Ann  "}}));
    s.registrationOk();
    EXPECT_FALSE(s.email());

    EXPECT_EQ(s.server.paths(), (QStringList {"/v1/auth/email/signup", "/v1/devices/register"}));
    const test::RecordedRequest signUp = s.server.requests().at(0);
    EXPECT_EQ(signUp.method, "POST");
    EXPECT_EQ(signUp.header("content-type"), "application/json");
    EXPECT_TRUE(signUp.header("authorization").isEmpty());
    const QJsonObject body = signUp.json();
    EXPECT_EQ(body.value("email"), "ann@example.com");
    EXPECT_EQ(body.value("password"), "hunter22");
    EXPECT_FALSE(body.contains("name"));
    EXPECT_EQ(body.value("deviceId"), s.attestation.deviceIdentifier());
    EXPECT_EQ(body.value("platform"), "macOS");
    EXPECT_TRUE(body.value("deviceName").isString());
    EXPECT_FALSE(body.contains("devicePublicKey"));

    const test::RecordedRequest registration = s.server.requests().at(1);
    EXPECT_EQ(registration.header("authorization"), "Bearer access-1");
    EXPECT_EQ(registration.json().keys(), (QStringList {"deviceId", "deviceName", "platform"}));

    const std::optional<StoredSyncSession> session = s.credentials.load();
    ASSERT_TRUE(session);
    EXPECT_EQ(session->accessToken, "access-1");
    EXPECT_EQ(session->refreshToken, "refresh-access-1");
    EXPECT_EQ(session->expiresAt.toMSecsSinceEpoch(), 1893456000500);
    EXPECT_EQ(storedAccountDisplayName(), "Ann");
    EXPECT_EQ(UserDefaults::standard().object(storedSettings::usedDevelopmentIdentity.key), QVariant(false));
    EXPECT_EQ(s.eventNames(), (QStringList {"auth_email_signup_requested", "auth_ok", "device_registered"}));
    EXPECT_EQ(s.event("auth_ok"), (AnalyticsMetadata {{"userId", "user-1"}, {"provider", "email"}, {"email", "ann@example.com"}}));
    EXPECT_EQ(s.event("device_registered"), (AnalyticsMetadata {{"path", "v1/devices/register"}}));
}

TEST(AuthServiceSignIn, LoginAppleAndGoogleUseTheirOwnEndpointsAndBodies)
{
    SignIn s;
    s.registrationOk();
    for (const char* path : {"/v1/auth/email/login", "/v1/auth/apple", "/v1/auth/google"}) {
        s.server.reply(path, test::LoopbackApiServer::tokens());
    }
    EXPECT_FALSE(s.email(false));
    EXPECT_FALSE(s.run([&](Completion done) { s.auth.signInWithApple(AuthService::developmentIdentityToken, QString(""), std::nullopt, done); }));
    EXPECT_EQ(UserDefaults::standard().object(storedSettings::usedDevelopmentIdentity.key), QVariant(true));
    EXPECT_FALSE(s.run([&](Completion done) { s.auth.signInWithGoogle("g-id-token", std::nullopt, std::nullopt, done); }));
    EXPECT_EQ(UserDefaults::standard().object(storedSettings::usedDevelopmentIdentity.key), QVariant(false));

    const QJsonObject apple = s.server.requests("/v1/auth/apple").first().json();
    EXPECT_EQ(apple.value("identityToken"), AuthService::developmentIdentityToken);
    EXPECT_FALSE(apple.contains("email"));
    EXPECT_FALSE(apple.contains("fullName"));
    EXPECT_EQ(s.server.requests("/v1/auth/google").first().json().value("idToken"), "g-id-token");
    const QStringList names = s.eventNames();
    EXPECT_TRUE(names.contains("auth_email_login_requested"));
    EXPECT_TRUE(names.contains("auth_apple_signin_requested"));
    EXPECT_TRUE(names.contains("auth_google_signin_requested"));
    EXPECT_EQ(s.tracker.events().last().first, "device_registered");
    EXPECT_EQ(s.event("auth_ok")->value("provider"), "email");
}

TEST(AuthServiceSignIn, ARefusedSignInRecordsTheServersTextButShowsItsOwn)
{
    SignIn s;
    s.signInDirectly("earlier");
    s.server.reply("/v1/auth/email/signup", ScriptedReply::json(401, {{"error", "invalid_credentials"}}));
    const std::optional<ServiceError> error = s.email();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ServiceError::Kind::userAuthenticationRequired);
    EXPECT_FALSE(error->localizedDescription().contains("invalid_credentials"));
    EXPECT_EQ(s.event("auth_failed"), (AnalyticsMetadata {{"status", "401"}, {"error", "invalid_credentials"}}));
    EXPECT_EQ(s.credentials.load()->accessToken, "earlier");
    EXPECT_EQ(s.server.paths(), QStringList {"/v1/auth/email/signup"});
}

TEST(AuthServiceSignIn, EveryStatusButTwoHundredIsARefusal)
{
    SignIn s;
    ScriptedReply redirect = ScriptedReply::raw(302, "");
    redirect.headers.append({QByteArray("Location"), QByteArray("https://elsewhere.example.com/")});
    for (const ScriptedReply& reply : {ScriptedReply::raw(500, "<html>oops</html>"), ScriptedReply::json(201, {}),
             ScriptedReply::raw(204, ""), redirect}) {
        s.server.replyAlways("/v1/auth/email/signup", reply);
        const std::optional<ServiceError> error = s.email();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), ServiceError::Kind::userAuthenticationRequired);
        EXPECT_EQ(s.tracker.events().last(), (test::RecordingTracker::Event {"auth_failed", {{"status", QString::number(reply.status)}}}));
    }
    EXPECT_FALSE(s.credentials.load());
    EXPECT_FALSE(s.eventNames().contains("auth_ok"));
}

TEST(AuthServiceSignIn, MalformedAnswersFailClearlyAndStoreNothing)
{
    struct Case {
        ScriptedReply reply;
        ServiceError::Kind kind;
    };
    ScriptedReply truncated = test::LoopbackApiServer::tokens();
    truncated.mode = ScriptedReply::Mode::truncated;
    ScriptedReply notHttp;
    notHttp.mode = ScriptedReply::Mode::notHttp;
    ScriptedReply silent;
    silent.mode = ScriptedReply::Mode::never;
    QJsonObject wrongType {{"userId", "u"}, {"accessToken", 5}, {"refreshToken", "r"}, {"expiresAt", "2030-01-01T00:00:00Z"}};
    const Case cases[] = {
        {ScriptedReply::raw(200, "not json"), ServiceError::Kind::decoding},
        {ScriptedReply::json(200, {{"userId", "u"}}), ServiceError::Kind::decoding},
        {ScriptedReply::json(200, wrongType), ServiceError::Kind::decoding},
        {test::LoopbackApiServer::tokens("abc\r\nX-Injected: 1"), ServiceError::Kind::decoding},
        {test::LoopbackApiServer::tokens(QString(SyncCredentialStore::maximumFileBytes * 6 / 10, 'a')), ServiceError::Kind::sessionTooLarge},
        {test::LoopbackApiServer::tokens("a", "2030-01-01"), ServiceError::Kind::cannotParseResponse},
        {test::LoopbackApiServer::tokens("a", "2030-01-01T00:00:00"), ServiceError::Kind::cannotParseResponse},
        {truncated, ServiceError::Kind::transport},
        {notHttp, ServiceError::Kind::badServerResponse},
        {silent, ServiceError::Kind::transport},
        {ScriptedReply::raw(200, QByteArray(APIGateway::maximumTokensReplyBytes + 1, ' ')), ServiceError::Kind::transport},
    };
    for (const Case& c : cases) {
        SignIn s;
        s.server.reply("/v1/auth/email/signup", c.reply);
        const std::optional<ServiceError> error = s.email();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), c.kind) << error->debugDescription().toStdString();
        EXPECT_FALSE(error->localizedDescription().isEmpty());
        EXPECT_FALSE(s.credentials.load());
        EXPECT_FALSE(s.eventNames().contains("auth_ok"));
    }
}

TEST(AuthServiceSignIn, RegistrationFallsBackToThePathWithoutV1)
{
    SignIn s;
    s.server.reply("/v1/auth/email/signup", test::LoopbackApiServer::tokens());
    s.server.reply("/devices/register", ScriptedReply::json(200, {}));
    EXPECT_FALSE(s.email());
    EXPECT_EQ(s.server.paths(), (QStringList {"/v1/auth/email/signup", "/v1/devices/register", "/devices/register"}));
    EXPECT_EQ(s.event("device_registered"), (AnalyticsMetadata {{"path", "devices/register"}}));
}

TEST(AuthServiceSignIn, AFailedRegistrationIsRecordedAndTheSignInStillSucceeds)
{
    ScriptedReply notHttp;
    notHttp.mode = ScriptedReply::Mode::notHttp;
    ScriptedReply silent;
    silent.mode = ScriptedReply::Mode::never;
    struct Case {
        QList<std::pair<QString, ScriptedReply>> replies;
        AnalyticsMetadata recorded;
    };
    const Case cases[] = {
        {{}, {{"status", "404"}, {"path", "all"}}},
        {{{"/devices/register", notHttp}}, {{"status", "404"}, {"path", "all"}}},
        {{{"/v1/devices/register", ScriptedReply::json(500, {})}}, {{"status", "500"}, {"path", "v1/devices/register"}}},
        {{{"/v1/devices/register", ScriptedReply::json(201, {})}}, {{"status", "201"}, {"path", "v1/devices/register"}}},
        {{{"/v1/devices/register", silent}}, {{"path", "v1/devices/register"}, {"error", "transport(timedOut)"}}},
    };
    for (const Case& c : cases) {
        SignIn s;
        s.server.reply("/v1/auth/email/signup", test::LoopbackApiServer::tokens());
        for (const auto& [path, reply] : c.replies) {
            s.server.reply(path, reply);
        }
        EXPECT_FALSE(s.email());
        EXPECT_TRUE(s.credentials.load());
        EXPECT_EQ(s.tracker.events().last(), (test::RecordingTracker::Event {"device_register_failed", c.recorded}));
    }
}

TEST(AuthServiceSignIn, NeitherPasswordNorTokensReachTheLog)
{
    test::LogCapture log;
    SignIn s;
    s.server.reply("/v1/auth/email/signup", test::LoopbackApiServer::tokens("secret-access"));
    s.registrationOk();
    EXPECT_FALSE(s.email(true, "pa55word-xyz"));
    for (const QString& line : log.messages()) {
        EXPECT_FALSE(line.contains("pa55word-xyz") || line.contains("secret-access")) << line.toStdString();
    }
}
