#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;

namespace norvelle {

class PlainButton;
class TextLabel;

// The onboarding's last page: sign in (or create an account) by e-mail, or go on without an
// account. A successful sign-in and "Continue without an account" both finish the onboarding.
class OnboardingAccountPage : public QWidget {
    Q_OBJECT
public:
    // Signs in, or up, with the e-mail as given; calls `done` with the error to show, or with
    // nothing once the session is stored.
    using EmailSignIn = std::function<void(const QString& email, const QString& password, bool signUp,
        std::function<void(std::optional<QString> error)> done)>;

    explicit OnboardingAccountPage(EmailSignIn signIn, QWidget* parent = nullptr);

    QLineEdit* emailField() const { return m_email; }
    QLineEdit* passwordField() const { return m_password; }
    QPushButton* submitButton() const { return m_submit; }
    TextLabel* errorLabel() const { return m_error; }
    PlainButton* switchLink() const { return m_switch; }
    PlainButton* continueWithoutAccountButton() const { return m_continue; }

    bool isSignUp() const { return m_isSignUp; }
    bool isBusy() const { return m_busy; }
    std::optional<QString> emailError() const { return m_emailError; }

    void submit();

signals:
    // Signed in, or chose to go on without an account.
    void finished();

private:
    QWidget* makeDivider();
    void refresh();

    EmailSignIn m_signIn;
    bool m_isSignUp = false;
    bool m_busy = false;
    std::optional<QString> m_emailError;

    QLineEdit* m_email = nullptr;
    QLineEdit* m_password = nullptr;
    QPushButton* m_submit = nullptr;
    TextLabel* m_error = nullptr;
    PlainButton* m_switch = nullptr;
    PlainButton* m_continue = nullptr;
};

} // namespace norvelle
