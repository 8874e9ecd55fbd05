#include "settings/DevicesErrorMessage.h"

#include "account/ServiceError.h"

namespace norvelle {

namespace {

std::optional<QString> transportMessage(HttpError::Kind kind)
{
    switch (kind) {
    case HttpError::Kind::cannotConnect: return QStringLiteral("Can’t reach the server. Check your connection and try again.");
    case HttpError::Kind::timedOut:
        return QStringLiteral("The server didn’t respond in time. Check your connection and try again.");
    case HttpError::Kind::noNetwork: return QStringLiteral("No network connection.");
    case HttpError::Kind::secureConnection:
        return QStringLiteral("Couldn’t make a secure connection to the server. Check your connection and try again.");
    case HttpError::Kind::notHttp:
    case HttpError::Kind::replyTooLarge:
    case HttpError::Kind::transferFailed:
    case HttpError::Kind::unsafeRequest: return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

QString devicesErrorMessage(const ServiceError& error)
{
    if (const std::optional<HttpError::Kind> kind = error.transportKind()) {
        if (const std::optional<QString> message = transportMessage(*kind)) {
            return *message;
        }
    }
    const QString description = error.localizedDescription();
    if (description.contains(QLatin1String("404"))) {
        return QStringLiteral("Couldn’t load devices (404). Try again later.");
    }
    if (description.isEmpty() || description == QStringLiteral("The operation couldn’t be completed.")) {
        return QStringLiteral("Couldn’t load devices. Try again later.");
    }
    return QStringLiteral("Couldn’t load devices: ") + description;
}

} // namespace norvelle
