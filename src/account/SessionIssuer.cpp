#include "account/SessionIssuer.h"

#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

namespace norvelle {

namespace {

QString serverOf(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
        .toString(QUrl::FullyEncoded);
}

} // namespace

void SessionIssuer::remember(const QUrl& url)
{
    UserDefaults::standard().set(storedSettings::sessionServer.key, serverOf(url));
}

std::optional<ServiceError> SessionIssuer::check(const QUrl& url)
{
    const std::optional<QString> issuer = UserDefaults::standard().string(storedSettings::sessionServer.key);
    if (!issuer || issuer->isEmpty()) {
        remember(url);
        return std::nullopt;
    }
    if (*issuer != serverOf(url)) {
        return ServiceError::of(ServiceError::Kind::sessionFromOtherServer);
    }
    return std::nullopt;
}

} // namespace norvelle
