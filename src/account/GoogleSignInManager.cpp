#include "account/GoogleSignInManager.h"

#include "account/APIGateway.h"
#include "account/AuthService.h"
#include "account/JsonObjectReader.h"
#include "platform/Crypto.h"
#include "platform/HttpClient.h"
#include "platform/SystemLog.h"

#include <QUrlQuery>

#ifndef NORVELLE_GOOGLE_OAUTH_CLIENT_ID
#define NORVELLE_GOOGLE_OAUTH_CLIENT_ID ""
#endif

namespace norvelle {

namespace {

QString base64Url(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

bool isAlphanumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

GoogleSignInManager::GoogleSignInManager(HttpClient& http, AuthService& auth, QString clientID, GoogleOAuthEndpoints endpoints)
    : m_http(http)
    , m_auth(auth)
    , m_clientID(clientID.trimmed())
    , m_endpoints(std::move(endpoints))
{
}

GoogleSignInManager& GoogleSignInManager::shared()
{
    static GoogleSignInManager manager(HttpClient::shared(), AuthService::shared());
    return manager;
}

QString GoogleSignInManager::configuredClientID()
{
    return QString::fromUtf8(NORVELLE_GOOGLE_OAUTH_CLIENT_ID).trimmed();
}

QString GoogleSignInManager::randomURLSafeToken(int byteCount)
{
    // The system generator failing leaves no safe token to use: an empty one fails the flow.
    return base64Url(Crypto::randomBytes(byteCount).value_or(QByteArray()));
}

QString GoogleSignInManager::codeChallenge(const QString& verifier)
{
    return base64Url(Crypto::sha256(verifier.toUtf8()));
}

QUrl GoogleSignInManager::authorizationURL(const QUrl& endpoint, const QString& clientID, const QUrl& redirectURI,
    const QString& challenge, const QString& state)
{
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("client_id"), clientID);
    query.addQueryItem(QStringLiteral("redirect_uri"), redirectURI.toString());
    query.addQueryItem(QStringLiteral("response_type"), QStringLiteral("code"));
    query.addQueryItem(QStringLiteral("scope"), QStringLiteral("openid email profile"));
    query.addQueryItem(QStringLiteral("code_challenge"), challenge);
    query.addQueryItem(QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
    query.addQueryItem(QStringLiteral("state"), state);
    QUrl url = endpoint;
    url.setQuery(query);
    return url;
}

QByteArray GoogleSignInManager::formBody(const QList<std::pair<QString, QString>>& fields)
{
    QByteArrayList parts;
    for (const auto& [key, value] : fields) {
        QByteArray encoded;
        for (const char c : value.toUtf8()) {
            if (isAlphanumeric(c)) {
                encoded += c;
            } else {
                encoded += '%' + QByteArray::number(uchar(c), 16).rightJustified(2, '0').toUpper();
            }
        }
        parts.append(key.toUtf8() + '=' + encoded);
    }
    return parts.join('&');
}

void GoogleSignInManager::signIn(QWidget* anchor, Completion done)
{
    if (m_clientID.isEmpty() || !m_clientID.endsWith(clientIDSuffix) || m_clientID == clientIDSuffix) {
        // The user is told Google sign-in is not available; how to add it is for whoever builds.
        SystemLog(QStringLiteral("google")).error(QStringLiteral("Google sign-in is not configured: this build has no usable OAuth client ID (set "
                                                                 "NORVELLE_GOOGLE_OAUTH_CLIENT_ID, ending in %1, when configuring the build with CMake)")
                                                      .arg(clientIDSuffix));
        done(GoogleSignInError(GoogleSignInError::Case::notConfigured));
        return;
    }
    const QString verifier = randomURLSafeToken(64);
    const QString state = randomURLSafeToken(16);
    if (verifier.isEmpty() || state.isEmpty()) {
        done(GoogleSignInError(GoogleSignInError::Case::exchangeFailed));
        return;
    }
    const QString challenge = codeChallenge(verifier);
    auto redirectURI = std::make_shared<QUrl>();
    m_session.start(
        [this, challenge, state, redirectURI](const QUrl& redirect) {
            *redirectURI = redirect;
            return authorizationURL(m_endpoints.authorization, m_clientID, redirect, challenge, state);
        },
        state, anchor,
        [this, verifier, state, redirectURI, done](WebAuthSession::Result result) {
            if (result.failure) {
                done(*result.failure == WebAuthSession::Failure::cancelled
                        ? GoogleSignInError(GoogleSignInError::Case::cancelled)
                        : GoogleSignInError(GoogleSignInError::Case::other, WebAuthSession::message(*result.failure)));
                return;
            }
            const QUrlQuery query(*result.callbackURL);
            const QString code = query.queryItemValue(QStringLiteral("code"), QUrl::FullyDecoded);
            const QString returnedState = query.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded);
            if (code.isEmpty() || returnedState != state) {
                done(GoogleSignInError(GoogleSignInError::Case::badCallback));
                return;
            }
            exchangeCode(code, verifier, *redirectURI,
                [this, done](std::optional<QString> idToken, std::optional<GoogleSignInError> error) {
                    if (error) {
                        done(error);
                        return;
                    }
                    m_auth.signInWithGoogle(*idToken, std::nullopt, std::nullopt, [done](std::optional<ServiceError> failure) {
                        done(failure ? std::optional(GoogleSignInError(GoogleSignInError::Case::other, failure->localizedDescription()))
                                     : std::nullopt);
                    });
                });
        });
}

void GoogleSignInManager::exchangeCode(const QString& code, const QString& verifier, const QUrl& redirectURI,
    std::function<void(std::optional<QString>, std::optional<GoogleSignInError>)> done)
{
    HttpRequest request;
    request.method = "POST";
    request.url = m_endpoints.token;
    request.maximumReplyBytes = APIGateway::maximumTokensReplyBytes;
    request.headers.append({QByteArrayLiteral("Content-Type"), QByteArrayLiteral("application/x-www-form-urlencoded")});
    request.body = formBody({{QStringLiteral("code"), code}, {QStringLiteral("client_id"), m_clientID},
        {QStringLiteral("code_verifier"), verifier}, {QStringLiteral("grant_type"), QStringLiteral("authorization_code")},
        {QStringLiteral("redirect_uri"), redirectURI.toString()}});
    m_http.send(request, [done](HttpResult result) {
        if (const HttpError* error = std::get_if<HttpError>(&result)) {
            done(std::nullopt, GoogleSignInError(GoogleSignInError::Case::other, error->message));
            return;
        }
        const HttpResponse& response = std::get<HttpResponse>(result);
        QString failure;
        const std::optional<QJsonObject> object = response.status == 200 ? JsonObjectReader::parseObject(response.body, &failure) : std::nullopt;
        std::optional<QString> idToken;
        if (object) {
            JsonObjectReader reader(*object);
            idToken = reader.optionalString(QStringLiteral("id_token"));
            if (!reader.ok()) {
                idToken.reset();
            }
        }
        if (!idToken) {
            done(std::nullopt, GoogleSignInError(GoogleSignInError::Case::exchangeFailed));
            return;
        }
        done(idToken, std::nullopt);
    });
}

} // namespace norvelle
