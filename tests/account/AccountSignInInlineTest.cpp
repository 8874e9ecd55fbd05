#include "account/AccountSignInInline.h"

#include "account/APIConfig.h"
#include "account/GoogleSignInButton.h"

#include "account/GoogleSignInFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace norvelle;
using test::ScriptedReply;

namespace {

struct Form : test::GoogleSignInFixture {
    int signedIn = 0;
    AccountSignInInline form {[] { return nullptr; }, [this] { ++signedIn; }, auth, google};

    QLineEdit* email() { return form.findChild<QLineEdit*>("emailField"); }
    QLineEdit* password() { return form.findChild<QLineEdit*>("passwordField"); }
    QPushButton* submit() { return form.findChild<QPushButton*>("submitButton"); }
    QLabel* errorLine() { return form.findChild<QLabel*>("errorLine"); }
    QPushButton* tab(const QString& title)
    {
        for (QPushButton* button : form.findChildren<QPushButton*>()) {
            if (button->text() == title && button->isCheckable()) {
                return button;
            }
        }
        return nullptr;
    }

    void type(QLineEdit* field, const QString& text)
    {
        field->clear();
        QTest::keyClicks(field, text);
    }

    void clickSubmitAndWait()
    {
        QTest::mouseClick(submit(), Qt::LeftButton);
        EXPECT_TRUE(test::waitUntil([&] { return !form.isBusy(); }, 5000));
    }
};

} // namespace

TEST(AccountSignInInline, OpensToCreateAnAccount)
{
    Form f;
    EXPECT_TRUE(f.form.isSignUp());
    EXPECT_TRUE(f.tab("Create account")->isChecked());
    EXPECT_FALSE(f.tab("Sign in")->isChecked());
    EXPECT_EQ(f.submit()->text(), "Create account");
    EXPECT_FALSE(f.submit()->isEnabled());
    EXPECT_TRUE(f.form.findChild<QLabel*>("consentLine")->text().startsWith("By creating an account you agree to our "));
    EXPECT_TRUE(f.form.findChild<QLabel*>("consentLine")->text().contains(APIConfig::webOrigin() + "/privacy"));
    EXPECT_TRUE(f.errorLine()->isHidden());
    QTest::mouseClick(f.tab("Sign in"), Qt::LeftButton);
    EXPECT_EQ(f.submit()->text(), "Sign in");
    EXPECT_TRUE(f.form.findChild<QLabel*>("consentLine")->text().startsWith("By signing in you agree to our "));
}

TEST(AccountSignInInline, SubmitNeedsAnEmailAndEightCharacters)
{
    Form f;
    f.type(f.email(), "ann@example.com");
    f.type(f.password(), "1234567");
    EXPECT_FALSE(f.submit()->isEnabled());
    QTest::keyClicks(f.password(), "8");
    EXPECT_TRUE(f.submit()->isEnabled());
    // Eight characters of two code points each are eight, not sixteen.
    f.password()->setText(QString("e\u0301").repeated(7));
    EXPECT_FALSE(f.submit()->isEnabled());
    f.password()->setText(QString("e\u0301").repeated(8));
    EXPECT_TRUE(f.submit()->isEnabled());
    f.email()->clear();
    EXPECT_FALSE(f.submit()->isEnabled());
    // Blanks are not trimmed for the rule; the request then carries an empty address.
    f.type(f.email(), "   ");
    EXPECT_TRUE(f.submit()->isEnabled());
    f.server.reply("/v1/auth/email/signup", ScriptedReply::json(400, {{"error", "bad_email"}}));
    f.clickSubmitAndWait();
    EXPECT_EQ(f.server.requests("/v1/auth/email/signup").first().json().value("email"), "");
}

TEST(AccountSignInInline, ASuccessfulSubmitReportsOnceAndWaitsMeanwhile)
{
    Form f;
    ScriptedReply slow = test::LoopbackApiServer::tokens();
    slow.delayMs = 300;
    f.server.reply("/v1/auth/email/login", slow);
    QTest::mouseClick(f.tab("Sign in"), Qt::LeftButton);
    f.type(f.email(), "  ann@example.com ");
    f.type(f.password(), "correct horse");
    QTest::keyClick(f.password(), Qt::Key_Return);
    EXPECT_TRUE(f.form.isBusy());
    EXPECT_EQ(f.submit()->text(), "Please wait…");
    EXPECT_FALSE(f.submit()->isEnabled());
    ASSERT_TRUE(test::waitUntil([&] { return !f.form.isBusy(); }, 5000));
    EXPECT_EQ(f.signedIn, 1);
    EXPECT_EQ(f.submit()->text(), "Sign in");
    const QJsonObject body = f.server.requests("/v1/auth/email/login").first().json();
    EXPECT_EQ(body.value("email"), "ann@example.com");
    EXPECT_EQ(body.value("password"), "correct horse");
    EXPECT_TRUE(f.credentials.load());
}

TEST(AccountSignInInline, AFailureShowsInlineAndASwitchOfTabsClearsIt)
{
    Form f;
    f.server.reply("/v1/auth/email/signup", ScriptedReply::json(409, {{"error", "exists"}}));
    f.type(f.email(), "ann@example.com");
    f.type(f.password(), "hunter22");
    f.clickSubmitAndWait();
    EXPECT_EQ(f.signedIn, 0);
    EXPECT_FALSE(f.errorLine()->isHidden());
    EXPECT_EQ(f.errorLine()->text(), ServiceError::of(ServiceError::Kind::userAuthenticationRequired).localizedDescription());
    QTest::mouseClick(f.tab("Sign in"), Qt::LeftButton);
    EXPECT_TRUE(f.errorLine()->isHidden());
    EXPECT_EQ(f.email()->text(), "ann@example.com");
    EXPECT_EQ(f.password()->text(), "hunter22");
}

TEST(AccountSignInInline, GoogleSignsInOrStaysQuietWhenCancelled)
{
    Form f;
    QTest::mouseClick(f.form.findChild<GoogleSignInButton*>(), Qt::LeftButton);
    ASSERT_TRUE(test::waitUntil([&] { return f.signedIn == 1; }, 5000));
    EXPECT_FALSE(f.form.isBusy());
    EXPECT_TRUE(f.errorLine()->isHidden());

    Form cancelled;
    cancelled.google.session().setBrowser([](const QUrl&) { return true; });
    QTest::mouseClick(cancelled.form.findChild<GoogleSignInButton*>(), Qt::LeftButton);
    QTest::mouseClick(cancelled.google.session().waitingWindow()->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(cancelled.errorLine()->isHidden());
    EXPECT_EQ(cancelled.signedIn, 0);

    Form failing;
    failing.server.replyAlways("/token", ScriptedReply::json(500, {}));
    QTest::mouseClick(failing.form.findChild<GoogleSignInButton*>(), Qt::LeftButton);
    ASSERT_TRUE(test::waitUntil([&] { return !failing.errorLine()->isHidden(); }, 5000));
    EXPECT_EQ(failing.errorLine()->text(), "Couldn’t complete Google sign-in. Please try again.");
}
