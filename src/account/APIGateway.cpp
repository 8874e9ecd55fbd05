#include "account/APIGateway.h"

#include "account/APIConfig.h"

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
    return endpointURL(path, APIConfig::current().baseURL);
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

HttpRequest APIGateway::request(const QByteArray& method, const QString& path, const std::optional<QByteArray>& body,
    const std::optional<QString>& accessToken, qint64 maximumReplyBytes)
{
    HttpRequest request;
    request.method = method;
    request.url = endpointURL(path);
    request.maximumReplyBytes = maximumReplyBytes;
    if (body) {
        request.headers.append({QByteArrayLiteral("Content-Type"), QByteArrayLiteral("application/json")});
        request.body = *body;
    }
    if (accessToken) {
        request.headers.append({QByteArrayLiteral("Authorization"), "Bearer " + accessToken->toUtf8()});
    }
    return request;
}

} // namespace norvelle
