#include "settings/DevicesErrorMessage.h"

#include "account/ServiceError.h"

namespace norvelle {

namespace {

std::optional<QString> transportMessage(HttpError::Kind kind)
{
    switch (kind) {
    case HttpError::Kind::cannotConnect:
        return QStringLiteral("Couldn’t reach the server. Start the Norvelle backend (e.g. node backend on port %1) and "
                              "set the same URL under Settings → Sync → API base URL.")
            .arg(developmentServerPort);
    case HttpError::Kind::timedOut:
        return QStringLiteral("The server didn’t respond in time. Check the API URL and that the backend is running.");
    case HttpError::Kind::noNetwork: return QStringLiteral("No network connection.");
    case HttpError::Kind::secureConnection:
        return QStringLiteral("Secure connection failed. If you use HTTPS, ensure the certificate is valid; for local dev use %1.")
            .arg(developmentServerOrigin);
    case HttpError::Kind::notHttp:
    case HttpError::Kind::replyTooLarge:
    case HttpError::Kind::transferFailed:
    case HttpError::Kind::unsafeRequest: return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

QString devicesErrorMessage(const ServiceError& error, const QString& triedURL)
{
    if (const std::optional<HttpError::Kind> kind = error.transportKind()) {
        if (const std::optional<QString> message = transportMessage(*kind)) {
            return *message;
        }
    }
    const QString description = error.localizedDescription();
    if (description.contains(QLatin1String("404"))) {
        return QStringLiteral("Couldn’t load devices (404). Tried: %1. That host must be the Norvelle Node server with "
                              "GET /v1/devices. Use origin only under Sync (e.g. %2). If this URL looks wrong, fix the "
                              "field, then Disconnect and Connect again.")
            .arg(triedURL, developmentServerOrigin);
    }
    if (description.isEmpty() || description == QStringLiteral("The operation couldn’t be completed.")) {
        return QStringLiteral("Couldn’t load devices. Confirm you’re signed in (Sync), the API base URL is correct, and "
                              "GET /v1/devices returns 200 — tried ")
            + triedURL;
    }
    return QStringLiteral("Couldn’t load devices: ") + description + QStringLiteral(" — request: ") + triedURL;
}

} // namespace norvelle
