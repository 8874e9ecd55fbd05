#pragma once

#include "account/ServiceError.h"
#include "platform/HttpClient.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace norvelle {

class SyncCredentialStore;

// Turns endpoint paths into request URLs under the configured base, and builds the requests
// every account and sync call shares (POST or GET, JSON, bearer token where needed).
class APIGateway {
public:
    // The base's origin and path prefix (a trailing "/v1" dropped, so the endpoint's own
    // "v1/" is never doubled), then the path's segments; the base's query stays, its
    // fragment goes.
    // Under the base in force; empty when the stored server address is refused.
    static QUrl endpointURL(const QString& path);
    static QUrl endpointURL(const QString& path, const QUrl& base);

    // A request to `path` that carries no session; "Content-Type: application/json" when there
    // is a body. Refused (nothing to send) when the stored server address is.
    static ServiceResult<HttpRequest> request(const QByteArray& method, const QString& path,
        const std::optional<QByteArray>& body, qint64 maximumReplyBytes);
    // The same for a request carrying the session `issuer` issued: its access token as
    // "Authorization: Bearer <token>" when given (else the body holds the session's refresh
    // token). Also refused when the request would go to another server than the issuer, or
    // the issuer is not known.
    static ServiceResult<HttpRequest> sessionRequest(const QByteArray& method, const QString& path,
        const std::optional<QByteArray>& body, const std::optional<QString>& accessToken, qint64 maximumReplyBytes,
        const std::optional<QString>& issuer);
    // Why the session `credentials` hold can't be sent anywhere now, or nothing.
    static std::optional<ServiceError> sessionRefusal(SyncCredentialStore& credentials);

    // Each answer is refused beyond what its largest real form needs. Tokens: a session the
    // session file can hold (1 MiB) with room for escapes and the profile fields.
    static constexpr qint64 maximumTokensReplyBytes = 2 * 1024 * 1024;
    // Thousands of devices.
    static constexpr qint64 maximumDevicesReplyBytes = 4 * 1024 * 1024;
    // Answers whose body is never read (an error page at most).
    static constexpr qint64 maximumUnreadReplyBytes = 64 * 1024;
};

} // namespace norvelle
