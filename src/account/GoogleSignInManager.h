#pragma once

#include "account/GoogleSignInError.h"
#include "platform/WebAuthSession.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QWidget;

namespace norvelle {

class AuthService;
class HttpClient;

// Google's OAuth 2.0 authorisation and token endpoints.
struct GoogleOAuthEndpoints {
    QUrl authorization = QUrl(QStringLiteral("https://accounts.google.com/o/oauth2/v2/auth"));
    QUrl token = QUrl(QStringLiteral("https://oauth2.googleapis.com/token"));
};

// Signs in with a Google account: the authorisation-code flow with PKCE (S256) in the user's
// browser, the code exchanged for Google's ID token, and that token exchanged by the account
// service for the session. Main thread.
class GoogleSignInManager {
public:
    using Completion = std::function<void(std::optional<GoogleSignInError>)>;

    GoogleSignInManager(HttpClient& http, AuthService& auth, QString clientID = configuredClientID(),
        GoogleOAuthEndpoints endpoints = GoogleOAuthEndpoints());

    static GoogleSignInManager& shared();
    // The client id the build was configured with, trimmed.
    static QString configuredClientID();

    // Nothing once the session is stored; a cancelled sign-in reports cancelled.
    void signIn(QWidget* anchor, Completion done);

    // `byteCount` random bytes, base64url without "=".
    static QString randomURLSafeToken(int byteCount);
    static QString codeChallenge(const QString& verifier);
    static QUrl authorizationURL(const QUrl& endpoint, const QString& clientID, const QUrl& redirectURI,
        const QString& challenge, const QString& state);
    // Form fields, each value percent-encoded so that only letters and digits stay as they are.
    static QByteArray formBody(const QList<std::pair<QString, QString>>& fields);

    // The browser session of the running (or last) sign-in.
    WebAuthSession& session() { return m_session; }

    static inline const QString clientIDSuffix = QStringLiteral(".apps.googleusercontent.com");

private:
    void exchangeCode(const QString& code, const QString& verifier, const QUrl& redirectURI,
        std::function<void(std::optional<QString> idToken, std::optional<GoogleSignInError>)> done);

    HttpClient& m_http;
    AuthService& m_auth;
    QString m_clientID;
    GoogleOAuthEndpoints m_endpoints;
    WebAuthSession m_session;
};

} // namespace norvelle
