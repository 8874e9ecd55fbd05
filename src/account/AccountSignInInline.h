#pragma once

#include "account/EmailSignInForm.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;

namespace norvelle {

class AuthService;
class GoogleSignInButton;
class GoogleSignInManager;

// The compact form that signs in to the account or creates one: "Create account" / "Sign in"
// tabs, the Google button, e-mail and password, the submit button, the consent line and an
// inline error line. It stores nothing itself: after a successful sign-in the session is
// stored and `onSignedIn` runs. Opens in "Create account" mode.
class AccountSignInInline : public QWidget {
    Q_OBJECT
public:
    using Anchor = std::function<QWidget*()>;

    AccountSignInInline(Anchor anchor, std::function<void()> onSignedIn, QWidget* parent = nullptr);
    AccountSignInInline(Anchor anchor, std::function<void()> onSignedIn, AuthService& auth, GoogleSignInManager& google,
        QWidget* parent = nullptr);

    bool isSignUp() const { return m_form.isSignUp; }
    bool isBusy() const { return m_form.isBusy; }
    std::optional<QString> errorText() const { return m_errorText; }
    // Busy, an empty e-mail (as typed) or a password of fewer than 8 characters.
    bool isSubmitDisabled() const;

    void selectMode(bool isSignUp);
    void submit();
    void startGoogleSignIn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build();
    void refresh();
    void setError(const std::optional<QString>& text);

    Anchor m_anchor;
    std::function<void()> m_onSignedIn;
    AuthService& m_auth;
    GoogleSignInManager& m_google;
    EmailSignInForm m_form {.isSignUp = true};
    std::optional<QString> m_errorText;

    QPushButton* m_createTab = nullptr;
    QPushButton* m_signInTab = nullptr;
    GoogleSignInButton* m_googleButton = nullptr;
    QLabel* m_consent = nullptr;
    QLabel* m_error = nullptr;
};

} // namespace norvelle
