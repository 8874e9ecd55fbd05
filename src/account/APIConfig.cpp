#include "account/APIConfig.h"

#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <arpa/inet.h>

namespace norvelle {

namespace {

// QUrl has already written any IPv4 form as four decimals; an IPv6 host may carry a zone.
bool isLoopbackHost(const QString& host)
{
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QByteArray address = host.section(QLatin1Char('%'), 0, 0).toLatin1();
    in_addr v4 {};
    if (inet_pton(AF_INET, address.constData(), &v4) == 1) {
        return ntohl(v4.s_addr) >> 24 == 127;
    }
    in6_addr v6 {};
    if (inet_pton(AF_INET6, address.constData(), &v6) == 1) {
        return IN6_IS_ADDR_LOOPBACK(&v6) || (IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127);
    }
    return false;
}

} // namespace

bool APIConfig::isPrivateTransport(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty()) {
        return false;
    }
    return url.scheme() == QLatin1String("https") || (url.scheme() == QLatin1String("http") && isLoopbackHost(url.host()));
}

QUrl APIConfig::defaultBaseURL()
{
    static const QUrl url(QStringLiteral("https://api.norvelle.app"), QUrl::StrictMode);
    return url;
}

QString APIConfig::webOrigin()
{
    return QStringLiteral("https://norvelle.app");
}

QString APIConfig::shareLinkBase()
{
    return webOrigin() + QStringLiteral("/share/");
}

bool APIConfig::isShareLink(const QString& link)
{
    const QUrl url(link, QUrl::StrictMode);
    return url.isValid() && url.scheme() == QLatin1String("https") && link.startsWith(shareLinkBase())
        && link.size() > shareLinkBase().size();
}

ServiceResult<APIConfig> APIConfig::current()
{
    const std::optional<QString> stored = UserDefaults::standard().string(storedSettings::apiBaseURL.key);
    const QUrl url = stored ? QUrl(*stored, QUrl::StrictMode) : QUrl();
    if (!url.isValid() || url.isEmpty()) {
        return APIConfig {defaultBaseURL()};
    }
    if (isPrivateTransport(url)) {
        return APIConfig {url};
    }
    if (url.scheme() == QLatin1String("http") && !url.host().isEmpty()) {
        return ServiceError::serverAddressRefused(
            QStringLiteral("plain http is only used for a server on this computer; use an https address."));
    }
    if (url.host().isEmpty()) {
        return ServiceError::serverAddressRefused(QStringLiteral("it names no server; write it as https:// and the server’s name."));
    }
    return ServiceError::serverAddressRefused(QStringLiteral("Norvelle only talks to a server over https."));
}

void APIConfig::setBaseURLOverride(const std::optional<QString>& text)
{
    storedSettings::apiBaseURL.set(text.value_or(QString()).trimmed());
}

} // namespace norvelle
