#include "account/AppleSignInRunner.h"

#include "account/AccountFixture.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

// A provider that answers with a fixed credential, twice.
struct ApprovingProvider : AppleIDProvider {
    AppleIDCredential credential;
    void performRequest(QWidget*, std::function<void(std::optional<AppleIDCredential>, QString)> done) override
    {
        done(credential, {});
        done(credential, {});
    }
};

} // namespace

TEST(AppleSignInRunner, OnThisSystemItAnswersNoAtOnce)
{
    test::AccountFixture f;
    std::optional<bool> answer;
    auto runner = AppleSignInRunner::make(nullptr, f.auth);
    runner->start([&](bool signedIn) { answer = signedIn; });
    EXPECT_EQ(answer, false);
    EXPECT_EQ(runner->lastError(), "Sign in with Apple isn’t available on this computer.");
    EXPECT_TRUE(f.server.requests().isEmpty());
}

TEST(AppleSignInRunner, HandsTheTokenAndTheNamePartsPresentToTheAccountServiceOnce)
{
    test::AccountFixture f;
    f.server.reply("/v1/auth/apple", test::LoopbackApiServer::tokens());
    f.server.reply("/v1/devices/register", test::ScriptedReply::json(200, {}));
    ApprovingProvider provider;
    provider.credential = {QByteArray("apple-token"), std::nullopt, QString("Ann"), std::nullopt};
    int answers = 0;
    bool signedIn = false;
    AppleSignInRunner::make(nullptr, f.auth, provider)->start([&](bool ok) {
        ++answers;
        signedIn = ok;
    });
    ASSERT_TRUE(test::waitUntil([&] { return answers > 0; }, 5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(answers, 1);
    EXPECT_TRUE(signedIn);
    EXPECT_EQ(f.server.requests("/v1/auth/apple").size(), 1);
    const QJsonObject body = f.server.requests("/v1/auth/apple").first().json();
    EXPECT_EQ(body.value("identityToken"), "apple-token");
    EXPECT_EQ(body.value("fullName"), "Ann");
    EXPECT_FALSE(body.contains("email"));

    provider.credential = {QByteArray("\xff\xfe"), QString("a@b.c"), QString("Ann"), QString("Lee")};
    std::optional<bool> badToken;
    AppleSignInRunner::make(nullptr, f.auth, provider)->start([&](bool ok) { badToken = ok; });
    EXPECT_EQ(badToken, false);
}
