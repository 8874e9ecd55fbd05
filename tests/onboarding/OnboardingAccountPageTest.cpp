// The onboarding's account page over a stand-in for the account service.
#include "ui/PlainButton.h"
#include "ui/TextLabel.h"
#include "onboarding/OnboardingAccountPage.h"
#include "support/TestHome.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace norvelle {
namespace {

struct SignInCall {
    QString email;
    QString password;
    bool signUp;
    std::function<void(std::optional<QString>)> done;
};

class OnboardingAccountPageTest : public testing::Test {
protected:
    OnboardingAccountPageTest()
        : page([this](const QString& email, const QString& password, bool signUp, auto done) {
            calls.append({email, password, signUp, std::move(done)});
        })
    {
        QObject::connect(&page, &OnboardingAccountPage::finished, [this] { ++finishes; });
        page.resize(480, 600);
        page.show();
    }

    void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }

    QList<SignInCall> calls;
    int finishes = 0;
    OnboardingAccountPage page;
};

TEST_F(OnboardingAccountPageTest, SubmitWaitsForAnEmailAndEightCharacters)
{
    EXPECT_EQ(page.submitButton()->text(), "Sign in");
    EXPECT_FALSE(page.submitButton()->isEnabled());
    type(page.emailField(), "ada@example.com");
    type(page.passwordField(), "1234567");
    EXPECT_FALSE(page.submitButton()->isEnabled());
    QTest::keyClick(page.passwordField(), Qt::Key_8);
    EXPECT_TRUE(page.submitButton()->isEnabled());
    // Characters are counted as the user sees them: an accented letter made of two code
    // units is one.
    page.passwordField()->setText(QString::fromUtf8("abcdefge\u0301"));
    EXPECT_TRUE(page.submitButton()->isEnabled());
    page.passwordField()->setText(QString::fromUtf8("abcdefe\u0301"));
    EXPECT_FALSE(page.submitButton()->isEnabled());
}

TEST_F(OnboardingAccountPageTest, TheEmailIsTrimmedAndThePasswordSentAsTyped)
{
    page.emailField()->setText(QStringLiteral("  ada@example.com \n"));
    page.passwordField()->setText(QStringLiteral(" pass word "));
    click(page.submitButton());
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].email, "ada@example.com");
    EXPECT_EQ(calls[0].password, " pass word ");
    EXPECT_FALSE(calls[0].signUp);
    EXPECT_TRUE(page.isBusy());
    EXPECT_EQ(page.submitButton()->text(), "Please wait…");
    EXPECT_FALSE(page.submitButton()->isEnabled());
    // Everything else stays usable meanwhile.
    EXPECT_TRUE(page.switchLink()->isEnabled());
    EXPECT_TRUE(page.continueWithoutAccountButton()->isEnabled());

    calls[0].done(std::nullopt);
    EXPECT_EQ(finishes, 1);
    EXPECT_FALSE(page.isBusy());
}

TEST_F(OnboardingAccountPageTest, AnEmailOfSpacesIsSentEmpty)
{
    page.emailField()->setText(QStringLiteral("   "));
    page.passwordField()->setText(QStringLiteral("12345678"));
    ASSERT_TRUE(page.submitButton()->isEnabled());
    click(page.submitButton());
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].email, "");
}

TEST_F(OnboardingAccountPageTest, AFailureShowsInRedUntilTheSwitchLinkIsUsed)
{
    page.emailField()->setText(QStringLiteral("ada@example.com"));
    page.passwordField()->setText(QStringLiteral("12345678"));
    click(page.submitButton());
    calls[0].done(QStringLiteral("Wrong e-mail or password."));
    EXPECT_EQ(finishes, 0);
    EXPECT_TRUE(page.errorLabel()->isVisible());
    EXPECT_EQ(page.errorLabel()->text(), "Wrong e-mail or password.");
    EXPECT_EQ(page.emailField()->text(), "ada@example.com");
    EXPECT_TRUE(page.submitButton()->isEnabled());
    EXPECT_EQ(page.submitButton()->text(), "Sign in");

    EXPECT_EQ(page.switchLink()->text(), "New here? Create an account");
    click(page.switchLink());
    EXPECT_FALSE(page.errorLabel()->isVisible());
    EXPECT_EQ(page.submitButton()->text(), "Create account");
    EXPECT_EQ(page.switchLink()->text(), "Already have an account? Sign in");
    click(page.submitButton());
    ASSERT_EQ(calls.size(), 2);
    EXPECT_TRUE(calls[1].signUp);
}

TEST_F(OnboardingAccountPageTest, ContinuingWithoutAnAccountFinishesWithoutSigningIn)
{
    click(page.continueWithoutAccountButton());
    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(calls.isEmpty());
}

TEST(OnboardingAccountPage, AnAnswerAfterThePageIsGoneIsDropped)
{
    std::function<void(std::optional<QString>)> pending;
    auto page = std::make_unique<OnboardingAccountPage>(
        [&pending](const QString&, const QString&, bool, auto done) { pending = std::move(done); });
    page->emailField()->setText("a@b.c");
    page->passwordField()->setText("12345678");
    page->submit();
    page.reset();
    pending(std::nullopt);
}

} // namespace
} // namespace norvelle
