#include "account/RemoteAuthTokensResponse.h"

#include "account/JsonObjectReader.h"
#include "account/SyncCredentialStore.h"
#include "platform/InternetDateTime.h"

#include <QJsonDocument>

namespace norvelle {

ServiceResult<RemoteAuthTokensResponse> RemoteAuthTokensResponse::fromJson(const QByteArray& data)
{
    return decodeJsonObject<RemoteAuthTokensResponse>(data, [](JsonObjectReader& reader) {
        RemoteAuthTokensResponse response;
        response.userId = reader.requiredPlainString(QStringLiteral("userId"));
        response.accessToken = reader.requiredPlainString(QStringLiteral("accessToken"));
        response.refreshToken = reader.requiredPlainString(QStringLiteral("refreshToken"));
        response.expiresAt = reader.requiredString(QStringLiteral("expiresAt"));
        response.tokenType = reader.optionalString(QStringLiteral("tokenType"));
        response.displayName = reader.optionalString(QStringLiteral("displayName"));
        response.avatarUrl = reader.optionalString(QStringLiteral("avatarUrl"));
        return response;
    });
}

QByteArray RemoteAuthTokensResponse::toJson() const
{
    QJsonObject object {{QStringLiteral("userId"), userId}, {QStringLiteral("accessToken"), accessToken},
        {QStringLiteral("refreshToken"), refreshToken}, {QStringLiteral("expiresAt"), expiresAt}};
    for (const auto& [key, value] : {std::pair {QStringLiteral("tokenType"), tokenType},
             std::pair {QStringLiteral("displayName"), displayName}, std::pair {QStringLiteral("avatarUrl"), avatarUrl}}) {
        if (value) {
            object.insert(key, *value);
        }
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

ServiceResult<StoredSyncSession> RemoteAuthTokensResponse::session() const
{
    const std::optional<QDateTime> expiry = InternetDateTime::parse(expiresAt);
    if (!expiry) {
        return ServiceError::of(ServiceError::Kind::cannotParseResponse);
    }
    return StoredSyncSession {userId, accessToken, refreshToken, *expiry};
}

ServiceResult<RemoteAuthTokensResponse> RemoteAuthTokensResponse::storeSession(const QByteArray& data, SyncCredentialStore& store,
    const QUrl& issuer)
{
    ServiceResult<RemoteAuthTokensResponse> tokens = fromJson(data);
    if (std::holds_alternative<ServiceError>(tokens)) {
        return tokens;
    }
    const ServiceResult<StoredSyncSession> session = std::get<RemoteAuthTokensResponse>(tokens).session();
    if (const ServiceError* error = std::get_if<ServiceError>(&session)) {
        return *error;
    }
    if (const std::optional<SyncCredentialError> error = store.save(std::get<StoredSyncSession>(session), issuer)) {
        return error->kind() == SyncCredentialError::Kind::TooLarge ? ServiceError::of(ServiceError::Kind::sessionTooLarge)
                                                                    : ServiceError::sessionNotSaved(error->underlying());
    }
    return tokens;
}

std::optional<RemoteAuthErrorResponse> RemoteAuthErrorResponse::fromJson(const QByteArray& data)
{
    QString failure;
    const std::optional<QJsonObject> object = JsonObjectReader::parseObject(data, &failure);
    if (!object) {
        return std::nullopt;
    }
    JsonObjectReader reader(*object);
    RemoteAuthErrorResponse response {reader.requiredString(QStringLiteral("error"))};
    if (!reader.ok()) {
        return std::nullopt;
    }
    return response;
}

} // namespace norvelle
