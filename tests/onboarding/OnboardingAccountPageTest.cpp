// The onboarding's account page over the account services and a loopback server.
#include "onboarding/OnboardingAccountPage.h"
#include "account/GoogleSignInButton.h"
#include "account/GoogleSignInFixture.h"
#include "ui/PlainButton.h"
#include "ui/TextLabel.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace norvelle {
namespace {

using test::LoopbackApiServer;
using test::ScriptedReply;

class OnboardingAccountPageTest : public testing::Test {
protected:
    OnboardingAccountPageTest()
    {
        QObject::connect(&page, &OnboardingAccountPage::finished, [this] { ++finishes; });
        page.resize(480, 640);
        page.show();
    }

    void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }
    void submitAndWait()
    {
        click(page.submitButton());
        EXPECT_TRUE(test::waitUntil([this] { return !page.isBusy(); }, 5000));
    }
    QJsonObject sent(const QString& path) const { return account.server.requests(path).value(0).json(); }

    test::GoogleSignInFixture account;
    int finishes = 0;
    OnboardingAccountPage page {account.auth, account.google};
};

TEST_F(OnboardingAccountPageTest, SubmitWaitsForAnEmailAndEightCharacters)
{
    EXPECT_EQ(page.submitButton()->text(), "Sign in");
    EXPECT_FALSE(page.submitButton()->isEnabled());
    type(page.emailField(), "ada@example.com");
    type(page.passwordField(), "1234567");
    EXPECT_FALSE(page.submitButton()->isEnabled());
    QTest::keyClick(page.passwordField(), Qt::Key_Return);
    EXPECT_FALSE(page.isBusy());
    QTest::keyClick(page.passwordField(), Qt::Key_8);
    EXPECT_TRUE(page.submitButton()->isEnabled());
    // Characters are counted as the user sees them: an accented letter made of two code
    // units is one.
    page.passwordField()->setText(QString::fromUtf8("abcdefge\u0301"));
    EXPECT_TRUE(page.submitButton()->isEnabled());
    page.passwordField()->setText(QString::fromUtf8("abcdefe\u0301"));
    EXPECT_FALSE(page.submitButton()->isEnabled());
}

TEST_F(OnboardingAccountPageTest, ASignInSendsTheTrimmedEmailStoresTheSessionAndFinishes)
{
    ScriptedReply slow = LoopbackApiServer::tokens("access-e");
    slow.delayMs = 300;
    account.server.reply("/v1/auth/email/login", slow);
    account.server.reply("/v1/devices/register", ScriptedReply::json(200, {}));
    page.emailField()->setText(QStringLiteral("  ada@example.com \n"));
    page.passwordField()->setText(QStringLiteral(" pass word "));
    click(page.submitButton());
    EXPECT_TRUE(page.isBusy());
    EXPECT_EQ(page.submitButton()->text(), "Please wait…");
    EXPECT_FALSE(page.submitButton()->isEnabled());
    // Everything else stays usable meanwhile.
    EXPECT_TRUE(page.switchLink()->isEnabled());
    EXPECT_TRUE(page.googleButton()->isEnabled());
    EXPECT_TRUE(page.continueWithoutAccountButton()->isEnabled());

    ASSERT_TRUE(test::waitUntil([this] { return !page.isBusy(); }, 5000));
    EXPECT_EQ(finishes, 1);
    EXPECT_FALSE(page.errorLabel()->isVisible());
    EXPECT_EQ(sent("/v1/auth/email/login").value("email"), "ada@example.com");
    EXPECT_EQ(sent("/v1/auth/email/login").value("password"), " pass word ");
    EXPECT_TRUE(account.server.requests("/v1/auth/email/signup").isEmpty());
    const std::optional<StoredSyncSession> stored = SyncCredentialStore(account.folder).load();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->accessToken, "access-e");
}

TEST_F(OnboardingAccountPageTest, AnEmailOfSpacesIsSentEmpty)
{
    account.server.reply("/v1/auth/email/login", ScriptedReply::json(400, {{"error", "bad_email"}}));
    page.emailField()->setText(QStringLiteral("   "));
    page.passwordField()->setText(QStringLiteral("12345678"));
    ASSERT_TRUE(page.submitButton()->isEnabled());
    // Return in the password field sends the form.
    QTest::keyClick(page.passwordField(), Qt::Key_Return);
    EXPECT_TRUE(test::waitUntil([this] { return !page.isBusy(); }, 5000));
    EXPECT_EQ(sent("/v1/auth/email/login").value("email"), "");
    EXPECT_EQ(finishes, 0);
}

TEST_F(OnboardingAccountPageTest, ARefusalShowsInRedUntilTheSwitchLinkIsUsed)
{
    account.server.reply("/v1/auth/email/login", ScriptedReply::json(401, {{"error", "invalid_credentials"}}));
    account.server.reply("/v1/auth/email/signup", ScriptedReply::json(409, {{"error", "exists"}}));
    type(page.emailField(), "ada@example.com");
    type(page.passwordField(), "12345678");
    submitAndWait();
    EXPECT_EQ(finishes, 0);
    EXPECT_TRUE(page.errorLabel()->isVisible());
    EXPECT_EQ(page.errorLabel()->text(),
        ServiceError::of(ServiceError::Kind::userAuthenticationRequired).localizedDescription());
    EXPECT_EQ(page.emailField()->text(), "ada@example.com");
    EXPECT_EQ(page.passwordField()->text(), "12345678");
    EXPECT_TRUE(page.submitButton()->isEnabled());
    EXPECT_EQ(page.submitButton()->text(), "Sign in");
    EXPECT_FALSE(SyncCredentialStore(account.folder).load());

    EXPECT_EQ(page.switchLink()->text(), "New here? Create an account");
    click(page.switchLink());
    EXPECT_FALSE(page.errorLabel()->isVisible());
    EXPECT_EQ(page.submitButton()->text(), "Create account");
    EXPECT_EQ(page.switchLink()->text(), "Already have an account? Sign in");
    submitAndWait();
    EXPECT_EQ(account.server.requests("/v1/auth/email/signup").size(), 1);
    EXPECT_TRUE(page.errorLabel()->isVisible());
}

TEST_F(OnboardingAccountPageTest, AnUnreachableServerIsShownAndNothingStored)
{
    ScriptedReply garbage;
    garbage.mode = ScriptedReply::Mode::notHttp;
    account.server.reply("/v1/auth/email/login", garbage);
    type(page.emailField(), "ada@example.com");
    type(page.passwordField(), "12345678");
    submitAndWait();
    EXPECT_EQ(finishes, 0);
    EXPECT_TRUE(page.errorLabel()->isVisible());
    EXPECT_FALSE(page.errorLabel()->text().isEmpty());
    EXPECT_FALSE(SyncCredentialStore(account.folder).load());
}

TEST_F(OnboardingAccountPageTest, ContinuingWithoutAnAccountFinishesWithoutSigningIn)
{
    click(page.continueWithoutAccountButton());
    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(account.server.requests().isEmpty());
}

TEST_F(OnboardingAccountPageTest, GoogleSignsInAndFinishes)
{
    EXPECT_EQ(page.googleButton()->size(), QSize(300, 44));
    click(page.googleButton());
    ASSERT_TRUE(test::waitUntil([this] { return finishes == 1; }, 5000));
    EXPECT_EQ(sent("/v1/auth/google").value("idToken"), "google-id-token");
    EXPECT_TRUE(SyncCredentialStore(account.folder).load());
    EXPECT_FALSE(page.googleAlert());
}

TEST_F(OnboardingAccountPageTest, ACancelledGoogleSignInShowsNothing)
{
    account.google.session().setBrowser([](const QUrl&) { return true; });
    click(page.googleButton());
    QWidget* waiting = account.google.session().waitingWindow();
    ASSERT_TRUE(waiting);
    click(waiting->findChild<QPushButton*>("cancelButton"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(page.googleAlert());
    EXPECT_FALSE(page.errorLabel()->isVisible());
    EXPECT_EQ(finishes, 0);
}

TEST_F(OnboardingAccountPageTest, AFailedGoogleSignInShowsItsAlertUntilOk)
{
    account.server.replyAlways("/token", ScriptedReply::json(500, {}));
    click(page.googleButton());
    ASSERT_TRUE(test::waitUntil([this] { return page.googleAlert() && page.googleAlert()->isVisible(); }, 5000));
    QMessageBox* alert = page.googleAlert();
    EXPECT_EQ(alert->text(), "Sign in with Google");
    EXPECT_EQ(alert->informativeText(), "Couldn’t complete Google sign-in. Please try again.");
    ASSERT_EQ(alert->buttons().size(), 1);
    EXPECT_EQ(alert->buttons().first()->text(), "OK");
    click(alert->buttons().first());
    EXPECT_TRUE(test::waitUntil([this] { return !page.googleAlert(); }));
    EXPECT_EQ(finishes, 0);
    // The e-mail form is untouched by a Google failure.
    EXPECT_FALSE(page.errorLabel()->isVisible());
}

TEST(OnboardingAccountPage, ASignInThatEndsAfterThePageIsGoneStillStoresTheSession)
{
    test::GoogleSignInFixture account;
    ScriptedReply slow = LoopbackApiServer::tokens();
    slow.delayMs = 200;
    account.server.reply("/v1/auth/email/login", slow);
    auto page = std::make_unique<OnboardingAccountPage>(account.auth, account.google);
    page->emailField()->setText("a@b.c");
    page->passwordField()->setText("12345678");
    page->submit();
    page.reset();
    EXPECT_TRUE(test::waitUntil([&] { return SyncCredentialStore(account.folder).load().has_value(); }, 5000));
}

} // namespace
} // namespace norvelle
