#include "account/AuthorizedRequester.h"

#include "account/APIGateway.h"
#include "account/SessionRefresher.h"
#include "account/SyncCredentialStore.h"

namespace norvelle {

AuthorizedRequester::AuthorizedRequester(HttpClient& http, SyncCredentialStore& credentials, SessionRefresher& refresher)
    : m_http(http)
    , m_credentials(credentials)
    , m_refresher(refresher)
{
}

void AuthorizedRequester::send(const QByteArray& method, const QStringList& paths, const std::optional<QByteArray>& body,
    qint64 maximumReplyBytes, ResponseHandler done)
{
    const std::optional<StoredSyncSession> session = m_credentials.load();
    if (!session) {
        done(ServiceError::noSession());
        return;
    }
    const Call call {method, paths, body, maximumReplyBytes};
    sendToPaths(call, 0, session->accessToken, [this, call, done](ServiceResult<HttpResponse> result) {
        const HttpResponse* response = std::get_if<HttpResponse>(&result);
        if (response && response->status == 401) {
            refreshAndResend(call, done);
        } else {
            done(std::move(result));
        }
    });
}

void AuthorizedRequester::refreshAndResend(const Call& call, ResponseHandler done)
{
    m_refresher.refreshSession([this, call, done](std::optional<ServiceError> error) {
        if (error) {
            done(*error);
            return;
        }
        const std::optional<StoredSyncSession> session = m_credentials.load();
        if (!session) {
            done(ServiceError::noSession());
            return;
        }
        sendToPaths(call, 0, session->accessToken, done);
    });
}

void AuthorizedRequester::sendToPaths(const Call& call, qsizetype index, const QString& token, ResponseHandler done)
{
    const ServiceResult<HttpRequest> request = APIGateway::sessionRequest(call.method, call.paths.at(index), call.body, token, call.maximumReplyBytes, m_credentials.issuer());
    if (const ServiceError* refused = std::get_if<ServiceError>(&request)) {
        done(*refused);
        return;
    }
    m_http.send(std::get<HttpRequest>(request), [this, call, index, token, done](HttpResult result) {
        if (const HttpError* error = std::get_if<HttpError>(&result)) {
            done(error->kind == HttpError::Kind::notHttp ? ServiceError::of(ServiceError::Kind::badServerResponse)
                                                         : ServiceError::transport(*error));
            return;
        }
        HttpResponse& response = std::get<HttpResponse>(result);
        if (response.status == 404 && index + 1 < call.paths.size()) {
            sendToPaths(call, index + 1, token, done);
            return;
        }
        done(std::move(response));
    });
}

} // namespace norvelle
