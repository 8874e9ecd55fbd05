#include "account/SessionIssuer.h"

#include "account/SyncCredentialStore.h"
#include "platform/Crypto.h"
#include "platform/StoredSettings.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace norvelle {

namespace {

const QString serverKey = QStringLiteral("server");
const QString sessionKey = QStringLiteral("sessionSha256");

} // namespace

QString SessionIssuer::serverOf(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
        .toString(QUrl::FullyEncoded);
}

std::optional<ServiceError> SessionIssuer::check(const std::optional<QString>& issuer, const QUrl& url)
{
    if (!issuer) {
        return ServiceError::of(ServiceError::Kind::sessionIssuerUnknown);
    }
    if (*issuer != serverOf(url)) {
        return ServiceError::of(ServiceError::Kind::sessionFromOtherServer);
    }
    return std::nullopt;
}

QByteArray SessionIssuer::record(const QString& server, const QByteArray& sessionFile)
{
    const QJsonObject object {{serverKey, server}, {sessionKey, Crypto::sha256Hex(sessionFile)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<QString> SessionIssuer::fromRecord(const QByteArray& record, const QByteArray& sessionFile)
{
    const QJsonObject object = QJsonDocument::fromJson(record).object();
    const QJsonValue server = object.value(serverKey);
    const QJsonValue session = object.value(sessionKey);
    if (!server.isString() || server.toString().isEmpty() || session.toString() != Crypto::sha256Hex(sessionFile)) {
        return std::nullopt;
    }
    return server.toString();
}

void SessionIssuer::carryOverFromSettings(SyncCredentialStore& store)
{
    const QString kept = storedSettings::sessionServer.value();
    if (kept.isEmpty()) {
        return;
    }
    const QUrl url(kept, QUrl::StrictMode);
    if (url.isValid() && !url.host().isEmpty()) {
        if (const std::optional<SyncCredentialError> error = store.adoptIssuer(serverOf(url))) {
            // The settings keep it for the next launch.
            SystemLog(QStringLiteral("sync")).error(QStringLiteral("The session's server was not recorded: ") + error->underlying());
            return;
        }
    }
    UserDefaults::standard().remove(storedSettings::sessionServer.key);
}

} // namespace norvelle
