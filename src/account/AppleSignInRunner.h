#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace norvelle {

class AuthService;

// What the system's Apple ID provider hands back when the user approves.
struct AppleIDCredential {
    std::optional<QByteArray> identityToken;
    std::optional<QString> email;
    std::optional<QString> givenName;
    std::optional<QString> familyName;
};

// The system's Sign in with Apple. This system has none: the provider says so at once.
class AppleIDProvider {
public:
    virtual ~AppleIDProvider() = default;
    // Asks for full name and e-mail; `done` runs with the credential, or with nothing and why
    // not. It may run more than once; the runner listens only to the first.
    virtual void performRequest(QWidget* anchor, std::function<void(std::optional<AppleIDCredential>, QString error)> done);

    static AppleIDProvider& system();
    static inline const QString unavailableMessage = QStringLiteral("Sign in with Apple isn’t available on this computer.");
};

// Runs one Sign in with Apple attempt and hands the identity token to the account service.
// Reports once: true when the session was stored, false otherwise (failures carry no message
// beyond the provider's). Keeps itself alive until it has reported.
class AppleSignInRunner : public std::enable_shared_from_this<AppleSignInRunner> {
public:
    static std::shared_ptr<AppleSignInRunner> make(QWidget* anchor, AuthService& auth, AppleIDProvider& provider = AppleIDProvider::system());

    void start(std::function<void(bool)> continuation);
    // Why the last attempt ended without a session, when the provider said.
    QString lastError() const { return m_lastError; }

private:
    AppleSignInRunner(QWidget* anchor, AuthService& auth, AppleIDProvider& provider);
    void finish(bool signedIn);

    QWidget* m_anchor;
    AuthService& m_auth;
    AppleIDProvider& m_provider;
    std::function<void(bool)> m_continuation;
    std::shared_ptr<AppleSignInRunner> m_retain;
    QString m_lastError;
    bool m_reported = false;
};

} // namespace norvelle
