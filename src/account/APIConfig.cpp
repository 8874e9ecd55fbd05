#include "account/APIConfig.h"

#include "platform/UserDefaults.h"

#include <QHostAddress>

namespace norvelle {

namespace {

bool isLoopbackHost(const QString& host)
{
    const QHostAddress address(host);
    return host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 || (!address.isNull() && address.isLoopback());
}

// Plain http would send the tokens readable on the network: only this computer may be reached
// that way (a development server).
bool isAcceptableBase(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty()) {
        return false;
    }
    return url.scheme() == QLatin1String("https") || (url.scheme() == QLatin1String("http") && isLoopbackHost(url.host()));
}

} // namespace

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

APIConfig APIConfig::current()
{
    const std::optional<QString> stored = UserDefaults::standard().string(overrideKey);
    if (stored && !stored->isEmpty()) {
        const QUrl url(*stored, QUrl::StrictMode);
        if (isAcceptableBase(url)) {
            return {url};
        }
    }
    return {defaultBaseURL()};
}

void APIConfig::setBaseURLOverride(const std::optional<QString>& text)
{
    const QString trimmed = text.value_or(QString()).trimmed();
    if (trimmed.isEmpty()) {
        UserDefaults::standard().remove(overrideKey);
    } else {
        UserDefaults::standard().set(overrideKey, trimmed);
    }
}

} // namespace norvelle
