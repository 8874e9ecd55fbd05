#include "account/AuthService.h"

#include "account/APIGateway.h"
#include "account/AccountDisplayName.h"
#include "account/AuthRequestBodies.h"
#include "account/DeviceAttestation.h"
#include "account/NotesSyncService.h"
#include "account/ProfileAvatarStore.h"
#include "account/RemoteAuthTokensResponse.h"
#include "account/SessionRefresher.h"
#include "account/SyncCredentialStore.h"
#include "core/OSLogAnalyticsTracker.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

namespace norvelle {

namespace {

const QStringList registerPaths {QStringLiteral("v1/devices/register"), QStringLiteral("devices/register")};
const QStringList devicesPaths {QStringLiteral("v1/devices"), QStringLiteral("devices")};
const QStringList removePaths {QStringLiteral("v1/devices/remove"), QStringLiteral("devices/remove")};
const QStringList deletePaths {QStringLiteral("v1/account/delete"), QStringLiteral("account/delete")};

} // namespace

AuthService::AuthService(HttpClient& http, AnalyticsTracking& tracker, SyncCredentialStore& credentials,
    DeviceAttestation& attestation, ProfileAvatarStore& avatars, SessionRefresher& refresher)
    : m_http(http)
    , m_tracker(tracker)
    , m_credentials(credentials)
    , m_attestation(attestation)
    , m_avatars(avatars)
    , m_requester(http, credentials, refresher)
{
}

AuthService& AuthService::shared()
{
    static AuthService service(HttpClient::shared(), OSLogAnalyticsTracker::shared(), SyncCredentialStore::shared(),
        DeviceAttestation::shared(), ProfileAvatarStore::shared(), SessionRefresher::shared());
    return service;
}

void AuthService::authenticateWithEmail(const QString& email, const QString& password, bool signUp,
    const std::optional<QString>& name, Completion done)
{
    m_tracker.track(signUp ? QStringLiteral("auth_email_signup_requested") : QStringLiteral("auth_email_login_requested"));
    const EmailAuthBody body {email, password, name, DeviceFields::current(m_attestation)};
    signIn(signUp ? QStringLiteral("v1/auth/email/signup") : QStringLiteral("v1/auth/email/login"), body.toJson(),
        {{QStringLiteral("provider"), QStringLiteral("email")}, {QStringLiteral("email"), email}}, false, std::move(done));
}

void AuthService::signInWithApple(const QString& identityToken, const std::optional<QString>& email,
    const std::optional<QString>& fullName, Completion done)
{
    m_tracker.track(QStringLiteral("auth_apple_signin_requested"));
    const AppleSignInBody body {identityToken, DeviceFields::current(m_attestation), email, fullName};
    signIn(QStringLiteral("v1/auth/apple"), body.toJson(), {}, identityToken == developmentIdentityToken, std::move(done));
}

void AuthService::signInWithGoogle(const QString& idToken, const std::optional<QString>& email,
    const std::optional<QString>& fullName, Completion done)
{
    m_tracker.track(QStringLiteral("auth_google_signin_requested"));
    const GoogleSignInBody body {idToken, DeviceFields::current(m_attestation), email, fullName};
    signIn(QStringLiteral("v1/auth/google"), body.toJson(), {{QStringLiteral("provider"), QStringLiteral("google")}}, false,
        std::move(done));
}

void AuthService::signIn(const QString& path, const QByteArray& body, const AnalyticsMetadata& okMetadata,
    bool usedDevelopmentIdentity, Completion done)
{
    const ServiceResult<HttpRequest> request = APIGateway::request("POST", path, body, APIGateway::maximumTokensReplyBytes);
    if (const ServiceError* refused = std::get_if<ServiceError>(&request)) {
        done(*refused);
        return;
    }
    const QUrl issuer = std::get<HttpRequest>(request).url;
    m_http.send(std::get<HttpRequest>(request), [this, okMetadata, usedDevelopmentIdentity, issuer, done](HttpResult result) {
        if (const HttpError* error = std::get_if<HttpError>(&result)) {
            done(error->kind == HttpError::Kind::notHttp ? ServiceError::of(ServiceError::Kind::badServerResponse)
                                                         : ServiceError::transport(*error));
            return;
        }
        const HttpResponse& response = std::get<HttpResponse>(result);
        if (response.status != 200) {
            done(signInFailureError(response.body, response.status));
            return;
        }
        const ServiceResult<RemoteAuthTokensResponse> tokens = RemoteAuthTokensResponse::storeSession(response.body, m_credentials, issuer);
        if (const ServiceError* error = std::get_if<ServiceError>(&tokens)) {
            done(*error);
            return;
        }
        const RemoteAuthTokensResponse& reply = std::get<RemoteAuthTokensResponse>(tokens);
        storedSettings::usedDevelopmentIdentity.set(usedDevelopmentIdentity);
        AnalyticsMetadata metadata = okMetadata;
        metadata.insert(QStringLiteral("userId"), reply.userId);
        m_tracker.track(QStringLiteral("auth_ok"), metadata);
        m_avatars.applyAccountProfile(reply.displayName, reply.avatarUrl, [this, done] {
            registerDevice([done] { done(std::nullopt); });
        });
    });
}

ServiceError AuthService::signInFailureError(const QByteArray& data, int statusCode)
{
    AnalyticsMetadata metadata {{QStringLiteral("status"), QString::number(statusCode)}};
    if (const std::optional<RemoteAuthErrorResponse> reply = RemoteAuthErrorResponse::fromJson(data)) {
        metadata.insert(QStringLiteral("error"), reply->error);
    }
    m_tracker.track(QStringLiteral("auth_failed"), metadata);
    return ServiceError::of(ServiceError::Kind::userAuthenticationRequired);
}

void AuthService::registerDevice(std::function<void()> done)
{
    const std::optional<StoredSyncSession> session = m_credentials.load();
    if (!session) {
        done();
        return;
    }
    const RegisterDeviceBody body {DeviceFields::current(m_attestation)};
    registerAt(registerPaths, 0, body.toJson(), session->accessToken, std::move(done));
}

void AuthService::registerAt(const QStringList& paths, qsizetype index, const QByteArray& body, const QString& token,
    std::function<void()> done)
{
    if (index == paths.size()) {
        m_tracker.track(QStringLiteral("device_register_failed"),
            {{QStringLiteral("status"), QStringLiteral("404")}, {QStringLiteral("path"), QStringLiteral("all")}});
        done();
        return;
    }
    const QString path = paths.at(index);
    const ServiceResult<HttpRequest> request = APIGateway::sessionRequest("POST", path, body, token, APIGateway::maximumUnreadReplyBytes, m_credentials.issuer());
    if (const ServiceError* refused = std::get_if<ServiceError>(&request)) {
        m_tracker.track(QStringLiteral("device_register_failed"),
            {{QStringLiteral("path"), path}, {QStringLiteral("error"), refused->debugDescription()}});
        done();
        return;
    }
    m_http.send(std::get<HttpRequest>(request), [this, paths, index, body, token, path, done](HttpResult result) {
        if (const HttpError* error = std::get_if<HttpError>(&result)) {
            if (error->kind == HttpError::Kind::notHttp) {
                registerAt(paths, index + 1, body, token, done);
                return;
            }
            // The session is stored already: a registration that could not be sent is recorded
            // and the sign-in still succeeds.
            m_tracker.track(QStringLiteral("device_register_failed"),
                {{QStringLiteral("path"), path}, {QStringLiteral("error"), ServiceError::transport(*error).debugDescription()}});
            done();
            return;
        }
        const int status = std::get<HttpResponse>(result).status;
        if (status == 404) {
            registerAt(paths, index + 1, body, token, done);
            return;
        }
        if (status == 200) {
            m_tracker.track(QStringLiteral("device_registered"), {{QStringLiteral("path"), path}});
        } else {
            m_tracker.track(QStringLiteral("device_register_failed"),
                {{QStringLiteral("status"), QString::number(status)}, {QStringLiteral("path"), path}});
        }
        done();
    });
}

void AuthService::sendAuthorized(const QByteArray& method, const QStringList& paths, const std::optional<QByteArray>& body,
    qint64 maximumReplyBytes, AuthorizedRequester::ResponseHandler done)
{
    m_requester.send(method, paths, body, maximumReplyBytes, [done](ServiceResult<HttpResponse> result) {
        if (const HttpResponse* response = std::get_if<HttpResponse>(&result); response && response->status != 200) {
            done(ServiceError::badStatus(response->status));
            return;
        }
        done(std::move(result));
    });
}

void AuthService::fetchDevices(std::function<void(ServiceResult<RemoteDevicesResponse>)> done)
{
    sendAuthorized("GET", devicesPaths, std::nullopt, APIGateway::maximumDevicesReplyBytes, [done](ServiceResult<HttpResponse> result) {
        if (const ServiceError* error = std::get_if<ServiceError>(&result)) {
            done(*error);
            return;
        }
        done(RemoteDevicesResponse::fromJson(std::get<HttpResponse>(result).body));
    });
}

void AuthService::removeDevice(const QString& id, Completion done)
{
    sendAuthorized("POST", removePaths, RemoveDeviceBody {id}.toJson(), APIGateway::maximumUnreadReplyBytes,
        [done](ServiceResult<HttpResponse> result) {
            const ServiceError* error = std::get_if<ServiceError>(&result);
            done(error ? std::optional(*error) : std::nullopt);
        });
}

void AuthService::deleteAccount(Completion done)
{
    sendAuthorized("POST", deletePaths, std::nullopt, APIGateway::maximumUnreadReplyBytes,
        [this, done](ServiceResult<HttpResponse> result) {
            if (const ServiceError* error = std::get_if<ServiceError>(&result)) {
                done(*error);
                return;
            }
            disconnect();
            m_tracker.track(QStringLiteral("account_deleted"));
            done(std::nullopt);
        });
}

void AuthService::disconnect()
{
    m_credentials.clear();
    UserDefaults& defaults = UserDefaults::standard();
    defaults.remove(storedSettings::accountDisplayName.key);
    m_avatars.removeStoredAvatar();
    storedSettings::usedDevelopmentIdentity.set(false);
    defaults.remove(storedSettings::sinceGlobalVersionKey);
    m_tracker.track(QStringLiteral("auth_disconnected"));
    NotificationCenter::defaultCenter().post(sessionEndedNotification);
}

} // namespace norvelle
