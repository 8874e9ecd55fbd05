#include "account/GoogleSignInFixture.h"
#include "platform/LoopbackListener.h"
#include "support/LogCapture.h"

#include <QCryptographicHash>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

using namespace norvelle;
using test::ScriptedReply;

TEST(GoogleSignIn, VerifierStateAndChallengeFollowPkce)
{
    const QRegularExpression urlSafe("^[A-Za-z0-9_-]+$");
    const QString verifier = GoogleSignInManager::randomURLSafeToken(64);
    const QString state = GoogleSignInManager::randomURLSafeToken(16);
    EXPECT_EQ(verifier.size(), 86);
    EXPECT_EQ(state.size(), 22);
    EXPECT_TRUE(urlSafe.match(verifier).hasMatch());
    EXPECT_TRUE(urlSafe.match(state).hasMatch());
    EXPECT_NE(GoogleSignInManager::randomURLSafeToken(64), verifier);
    const QByteArray digest = QCryptographicHash::hash(verifier.toUtf8(), QCryptographicHash::Sha256);
    EXPECT_EQ(GoogleSignInManager::codeChallenge(verifier),
        QString(digest.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals)));
    EXPECT_EQ(GoogleSignInManager::codeChallenge(verifier).size(), 43);
}

TEST(GoogleSignIn, TheAuthorisationAddressAndTheFormBodyAreWrittenExactly)
{
    const QUrl url = GoogleSignInManager::authorizationURL(QUrl("https://auth.example.com/o/oauth2/v2/auth"), "id",
        QUrl("http://127.0.0.1:5000/oauth2redirect"), "chal", "st");
    QStringList keys;
    for (const auto& [key, value] : QUrlQuery(url).queryItems()) {
        keys << key;
    }
    EXPECT_EQ(keys, (QStringList {"client_id", "redirect_uri", "response_type", "scope", "code_challenge", "code_challenge_method", "state"}));
    EXPECT_EQ(QUrlQuery(url).queryItemValue("scope", QUrl::FullyDecoded), "openid email profile");
    EXPECT_EQ(GoogleSignInManager::formBody({{"code", "4/a-b_c.d~e é"}, {"grant_type", "authorization_code"}}),
        "code=4%2Fa%2Db%5Fc%2Ed%7Ee%20%C3%A9&grant_type=authorization%5Fcode");
}

TEST(GoogleSignIn, AnUnusableClientIdIsNotConfigured)
{
    for (const QString& id : {QString(), QString("   "), QString("123-abc.example.com"), GoogleSignInManager::clientIDSuffix}) {
        test::AccountFixture f;
        test::LogCapture log;
        GoogleSignInManager google(f.http, f.auth, id);
        std::optional<GoogleSignInError> result;
        google.signIn(nullptr, [&](std::optional<GoogleSignInError> error) { result = error; });
        ASSERT_TRUE(result);
        EXPECT_EQ(result->kind(), GoogleSignInError::Case::notConfigured);
        // The user reads what to do; how to set the build up goes to the log.
        EXPECT_FALSE(result->localizedDescription().contains("NORVELLE_GOOGLE_OAUTH_CLIENT_ID"));
        EXPECT_TRUE(log.messages().join('\n').contains("NORVELLE_GOOGLE_OAUTH_CLIENT_ID"));
    }
}

TEST(GoogleSignIn, TheWholeFlowEndsWithAStoredSession)
{
    test::GoogleSignInFixture g;
    EXPECT_FALSE(g.signIn());
    EXPECT_EQ(g.callbackStatus, 200);
    const QUrlQuery authorization(g.openedURL);
    EXPECT_EQ(g.openedURL.path(), "/o/oauth2/v2/auth");
    EXPECT_EQ(authorization.queryItemValue("client_id"), test::GoogleSignInFixture::clientID);
    EXPECT_EQ(authorization.queryItemValue("code_challenge_method"), "S256");
    const QUrl redirect(authorization.queryItemValue("redirect_uri", QUrl::FullyDecoded));
    EXPECT_EQ(redirect.host(), "127.0.0.1");
    EXPECT_EQ(redirect.path(), "/oauth2redirect");

    const test::RecordedRequest token = g.server.requests("/token").first();
    EXPECT_EQ(token.header("content-type"), "application/x-www-form-urlencoded");
    const QUrlQuery form(QString::fromUtf8(token.body));
    EXPECT_EQ(form.queryItemValue("code", QUrl::FullyDecoded), "4/auth-code");
    EXPECT_EQ(form.queryItemValue("grant_type"), "authorization_code");
    EXPECT_EQ(form.queryItemValue("client_id", QUrl::FullyDecoded), test::GoogleSignInFixture::clientID);
    EXPECT_EQ(form.queryItemValue("redirect_uri", QUrl::FullyDecoded), redirect.toString());
    EXPECT_EQ(GoogleSignInManager::codeChallenge(form.queryItemValue("code_verifier", QUrl::FullyDecoded)),
        authorization.queryItemValue("code_challenge"));

    EXPECT_EQ(g.server.requests("/v1/auth/google").first().json().value("idToken"), "google-id-token");
    EXPECT_EQ(g.credentials.load()->accessToken, "access-g");
    EXPECT_EQ(g.event("auth_ok")->value("provider"), "google");
}

TEST(GoogleSignIn, ARedirectWithAnotherStateIsRefusedAndNothingIsExchanged)
{
    test::GoogleSignInFixture g;
    g.callbackQuery = [](const QUrlQuery& authorization) {
        QUrlQuery query;
        query.addQueryItem("code", "4/auth-code");
        query.addQueryItem("state", authorization.queryItemValue("state").toUpper() + "x");
        return query;
    };
    g.google.session().setTimeLimitMs(1500);
    const std::optional<GoogleSignInError> error = g.signIn();
    EXPECT_EQ(g.callbackStatus, 404);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), GoogleSignInError::Case::other);
    EXPECT_EQ(error->localizedDescription(), WebAuthSession::message(WebAuthSession::Failure::timedOut));
    EXPECT_TRUE(g.server.requests("/token").isEmpty());
    EXPECT_FALSE(g.credentials.load());
}

TEST(GoogleSignIn, AnErrorRedirectOrAFailedExchangeStoreNothing)
{
    test::GoogleSignInFixture denied;
    denied.callbackQuery = [](const QUrlQuery& authorization) {
        QUrlQuery query;
        query.addQueryItem("error", "access_denied");
        query.addQueryItem("state", authorization.queryItemValue("state"));
        return query;
    };
    EXPECT_EQ(denied.signIn()->kind(), GoogleSignInError::Case::badCallback);
    EXPECT_TRUE(denied.server.requests("/token").isEmpty());

    for (const ScriptedReply& reply : {ScriptedReply::json(201, {{"id_token", "x"}}), ScriptedReply::json(200, {{"access_token", "x"}}),
             ScriptedReply::raw(200, "id_token=x")}) {
        test::GoogleSignInFixture g;
        g.server.replyAlways("/token", reply);
        const std::optional<GoogleSignInError> error = g.signIn();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), GoogleSignInError::Case::exchangeFailed);
        EXPECT_EQ(error->localizedDescription(), "Couldn’t complete Google sign-in. Please try again.");
        EXPECT_TRUE(g.server.requests("/v1/auth/google").isEmpty());
        EXPECT_FALSE(g.credentials.load());
    }
}

TEST(GoogleSignIn, CancellingInTheWaitingWindowIsCancelled)
{
    test::GoogleSignInFixture g;
    g.google.session().setBrowser([](const QUrl&) { return true; }); // the user never comes back
    bool finished = false;
    std::optional<GoogleSignInError> result;
    g.google.signIn(nullptr, [&](std::optional<GoogleSignInError> error) {
        result = error;
        finished = true;
    });
    QWidget* waiting = g.google.session().waitingWindow();
    ASSERT_TRUE(waiting);
    EXPECT_TRUE(waiting->isVisible());
    QTest::mouseClick(waiting->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    ASSERT_TRUE(test::waitUntil([&] { return finished; }));
    EXPECT_EQ(result->kind(), GoogleSignInError::Case::cancelled);
    EXPECT_EQ(result->localizedDescription(), "Sign-in was cancelled.");
    EXPECT_FALSE(g.google.session().waitingWindow());
}

TEST(GoogleSignIn, CallersThatSayNothingAreDroppedAndEndingTheSignInClosesEveryConnection)
{
    test::GoogleSignInFixture g;
    quint16 port = 0;
    g.google.session().setBrowser([&](const QUrl& url) {
        port = QUrl(QUrlQuery(url).queryItemValue("redirect_uri", QUrl::FullyDecoded)).port();
        return true;
    });
    bool finished = false;
    g.google.signIn(nullptr, [&](std::optional<GoogleSignInError>) { finished = true; });
    ASSERT_NE(port, 0);
    const auto connectSilently = [port](int count) {
        std::vector<std::unique_ptr<QTcpSocket>> sockets;
        for (int i = 0; i < count; ++i) {
            sockets.push_back(std::make_unique<QTcpSocket>());
            sockets.back()->connectToHost(QHostAddress::LocalHost, port);
        }
        return sockets;
    };
    const auto allClosed = [](const std::vector<std::unique_ptr<QTcpSocket>>& sockets) {
        return std::all_of(sockets.begin(), sockets.end(), [](const auto& s) { return s->state() == QAbstractSocket::UnconnectedState; });
    };

    const auto lingering = connectSilently(1);
    ASSERT_TRUE(lingering.front()->waitForConnected(3000));
    EXPECT_TRUE(test::waitUntil([&] { return allClosed(lingering); }, LoopbackListener::connectionDeadlineMs + 3000));

    const auto waiting = connectSilently(10);
    ASSERT_TRUE(std::all_of(waiting.begin(), waiting.end(), [](const auto& s) { return s->waitForConnected(3000); }));
    test::waitUntil([] { return false; }, 300);
    EXPECT_FALSE(allClosed(waiting));
    g.google.session().cancel();
    EXPECT_TRUE(finished);
    EXPECT_TRUE(test::waitUntil([&] { return allClosed(waiting); }, 2000));
}
