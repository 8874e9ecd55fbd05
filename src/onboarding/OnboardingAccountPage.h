#pragma once

#include "account/EmailSignInForm.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace norvelle {

class AuthService;
class GoogleSignInButton;
class GoogleSignInManager;
class PlainButton;
class TextLabel;

// The onboarding's last page: sign in with Google, sign in (or create an account) by e-mail, or
// go on without an account. A successful sign-in and "Continue without an account" both finish
// the onboarding.
class OnboardingAccountPage : public QWidget {
    Q_OBJECT
public:
    OnboardingAccountPage(AuthService& auth, GoogleSignInManager& google, QWidget* parent = nullptr);

    GoogleSignInButton* googleButton() const { return m_google; }
    QLineEdit* emailField() const { return m_form.email; }
    QLineEdit* passwordField() const { return m_form.password; }
    QPushButton* submitButton() const { return m_form.submit; }
    TextLabel* errorLabel() const { return m_error; }
    PlainButton* switchLink() const { return m_switch; }
    PlainButton* continueWithoutAccountButton() const { return m_continue; }

    bool isSignUp() const { return m_form.isSignUp; }
    bool isBusy() const { return m_form.isBusy; }

    void submit();
    void startGoogleSignIn();
    // The "Sign in with Google" alert of the last failed Google sign-in, while it shows.
    QMessageBox* googleAlert() const { return m_googleAlert; }

signals:
    // Signed in, or chose to go on without an account.
    void finished();

private:
    QWidget* makeDivider();
    void refresh();
    void showGoogleAlert(const QString& message);

    AuthService& m_auth;
    GoogleSignInManager& m_googleSignIn;
    EmailSignInForm m_form;
    std::optional<QString> m_emailError;

    GoogleSignInButton* m_google = nullptr;
    QPointer<QMessageBox> m_googleAlert;
    TextLabel* m_error = nullptr;
    PlainButton* m_switch = nullptr;
    PlainButton* m_continue = nullptr;
};

} // namespace norvelle
