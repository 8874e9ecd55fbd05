#include "account/APIGateway.h"

#include "account/APIConfig.h"
#include "account/SessionIssuer.h"
#include "account/SyncCredentialStore.h"

#include <QStringList>

namespace norvelle {

namespace {

QStringList segments(const QString& path)
{
    return path.split(u'/', Qt::SkipEmptyParts);
}

QString normalisedBasePath(QString path)
{
    if (path == QLatin1String("/")) {
        path.clear();
    } else if (path.endsWith(u'/')) {
        path.chop(1);
    }
    if (path == QLatin1String("/v1")) {
        path.clear();
    } else if (path.endsWith(QLatin1String("/v1")) && path.size() >= 4) {
        path.chop(3);
        if (path.endsWith(u'/')) {
            path.chop(1);
        }
    }
    return path;
}

} // namespace

QUrl APIGateway::endpointURL(const QString& path)
{
    const ServiceResult<APIConfig> config = APIConfig::current();
    const APIConfig* base = std::get_if<APIConfig>(&config);
    return base ? endpointURL(path, base->baseURL) : QUrl();
}

QUrl APIGateway::endpointURL(const QString& path, const QUrl& base)
{
    const QStringList pathSegments = segments(path);
    if (base.scheme().isEmpty() || base.host().isEmpty()) {
        QUrl fallback = base;
        QString joined = base.path();
        for (const QString& segment : pathSegments) {
            if (!joined.endsWith(u'/')) {
                joined += u'/';
            }
            joined += segment;
        }
        fallback.setPath(joined);
        return fallback;
    }
    const QStringList all = segments(normalisedBasePath(base.path())) + pathSegments;
    QUrl url = base;
    url.setPath(u'/' + all.join(u'/'));
    url.setFragment(QString());
    return url;
}

ServiceResult<HttpRequest> APIGateway::request(const QByteArray& method, const QString& path,
    const std::optional<QByteArray>& body, qint64 maximumReplyBytes)
{
    const ServiceResult<APIConfig> config = APIConfig::current();
    if (const ServiceError* refused = std::get_if<ServiceError>(&config)) {
        return *refused;
    }
    HttpRequest request;
    request.method = method;
    request.url = endpointURL(path, std::get<APIConfig>(config).baseURL);
    request.maximumReplyBytes = maximumReplyBytes;
    if (body) {
        request.headers.append({QByteArrayLiteral("Content-Type"), QByteArrayLiteral("application/json")});
        request.body = *body;
    }
    return request;
}

ServiceResult<HttpRequest> APIGateway::sessionRequest(const QByteArray& method, const QString& path,
    const std::optional<QByteArray>& body, const std::optional<QString>& accessToken, qint64 maximumReplyBytes,
    const std::optional<QString>& issuer)
{
    ServiceResult<HttpRequest> result = request(method, path, body, maximumReplyBytes);
    HttpRequest* request = std::get_if<HttpRequest>(&result);
    if (!request) {
        return result;
    }
    if (const std::optional<ServiceError> elsewhere = SessionIssuer::check(issuer, request->url)) {
        return *elsewhere;
    }
    if (accessToken) {
        request->headers.append({QByteArrayLiteral("Authorization"), "Bearer " + accessToken->toUtf8()});
    }
    return result;
}

std::optional<ServiceError> APIGateway::sessionRefusal(SyncCredentialStore& credentials)
{
    const ServiceResult<HttpRequest> probe = sessionRequest("GET", QString(), std::nullopt, std::nullopt, 0, credentials.issuer());
    if (const ServiceError* refused = std::get_if<ServiceError>(&probe)) {
        return *refused;
    }
    return std::nullopt;
}

} // namespace norvelle
