#include "account/SessionRefresher.h"

#include "account/APIGateway.h"
#include "account/ProfileAvatarStore.h"
#include "account/RemoteAuthTokensResponse.h"
#include "account/SyncCredentialStore.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace norvelle {

SessionRefresher::SessionRefresher(HttpClient& http, SyncCredentialStore& credentials, ProfileAvatarStore& avatars)
    : m_http(http)
    , m_credentials(credentials)
    , m_avatars(avatars)
{
}

SessionRefresher& SessionRefresher::shared()
{
    static SessionRefresher refresher(HttpClient::shared(), SyncCredentialStore::shared(), ProfileAvatarStore::shared());
    return refresher;
}

void SessionRefresher::refreshSession(Completion done)
{
    m_waiting.push_back(std::move(done));
    if (m_waiting.size() == 1) {
        send();
    }
}

void SessionRefresher::send()
{
    const std::optional<StoredSyncSession> session = m_credentials.load();
    if (!session) {
        finish(ServiceError::noSession());
        return;
    }
    const QByteArray body = QJsonDocument(QJsonObject {{QStringLiteral("refreshToken"), session->refreshToken}})
                                .toJson(QJsonDocument::Compact);
    const ServiceResult<HttpRequest> request = APIGateway::sessionRequest(
        "POST", QStringLiteral("v1/auth/refresh"), body, std::nullopt, APIGateway::maximumTokensReplyBytes, m_credentials.issuer());
    if (const ServiceError* refused = std::get_if<ServiceError>(&request)) {
        finish(*refused);
        return;
    }
    const QUrl issuer = std::get<HttpRequest>(request).url;
    m_http.send(std::get<HttpRequest>(request),
        [this, sentToken = session->refreshToken, issuer](HttpResult result) {
            // Signed out, or signed in afresh, while the request ran: its tokens must not bring
            // the ended session back or replace the new one.
            const std::optional<StoredSyncSession> current = m_credentials.load();
            if (!current || current->refreshToken != sentToken) {
                finish(ServiceError::noSession());
                return;
            }
            if (const HttpError* error = std::get_if<HttpError>(&result)) {
                finish(error->kind == HttpError::Kind::notHttp ? ServiceError::badStatus(0) : ServiceError::transport(*error));
                return;
            }
            const HttpResponse& response = std::get<HttpResponse>(result);
            if (response.status != 200) {
                finish(ServiceError::badStatus(response.status));
                return;
            }
            const ServiceResult<RemoteAuthTokensResponse> tokens = RemoteAuthTokensResponse::storeSession(response.body, m_credentials, issuer);
            if (const ServiceError* error = std::get_if<ServiceError>(&tokens)) {
                finish(*error);
                return;
            }
            // The waiting requests go on first: a slow picture server must not hold them.
            const RemoteAuthTokensResponse reply = std::get<RemoteAuthTokensResponse>(tokens);
            finish(std::nullopt);
            m_avatars.applyAccountProfile(reply.displayName, reply.avatarUrl, [] {});
        });
}

void SessionRefresher::finish(const std::optional<ServiceError>& error)
{
    std::vector<Completion> waiting;
    waiting.swap(m_waiting);
    for (const Completion& done : waiting) {
        done(error);
    }
}

} // namespace norvelle
