#pragma once

#include "account/ServiceError.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace norvelle {

class HttpClient;
class SessionRefresher;
class SyncCredentialStore;

// Sends requests that carry the stored session's access token. Each request goes to its
// first path, and to the next one when the server answers 404; a 401 makes one session
// refresh and one resend with the new token. The final answer comes back whatever its
// status. Main thread.
class AuthorizedRequester {
public:
    using ResponseHandler = std::function<void(ServiceResult<HttpResponse>)>;

    AuthorizedRequester(HttpClient& http, SyncCredentialStore& credentials, SessionRefresher& refresher);

    // noSession without a stored session (nothing sent); badServerResponse for an answer that
    // is not HTTP; transport errors and a failed refresh as they are.
    void send(const QByteArray& method, const QStringList& paths, const std::optional<QByteArray>& body,
        qint64 maximumReplyBytes, ResponseHandler done);

private:
    struct Call {
        QByteArray method;
        QStringList paths;
        std::optional<QByteArray> body;
        qint64 maximumReplyBytes;
    };
    void sendToPaths(const Call& call, qsizetype index, const QString& token, ResponseHandler done);
    void refreshAndResend(const Call& call, ResponseHandler done);

    HttpClient& m_http;
    SyncCredentialStore& m_credentials;
    SessionRefresher& m_refresher;
};

} // namespace norvelle
