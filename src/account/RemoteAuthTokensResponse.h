#pragma once

#include "account/ServiceError.h"
#include "account/StoredSyncSession.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace norvelle {

class SyncCredentialStore;

// The answer of the sign-in endpoints and of the session refresh.
struct RemoteAuthTokensResponse {
    QString userId;
    QString accessToken;
    QString refreshToken;
    QString expiresAt;
    std::optional<QString> tokenType;
    std::optional<QString> displayName;
    std::optional<QString> avatarUrl;

    static ServiceResult<RemoteAuthTokensResponse> fromJson(const QByteArray& data);
    QByteArray toJson() const;

    // The session to store; cannotParseResponse when "expiresAt" is no internet date-time.
    ServiceResult<StoredSyncSession> session() const;

    // Reads a 200 answer of a sign-in or refresh from `issuer` and stores its session, noting
    // where it came from; nothing is stored when any of it is unreadable.
    static ServiceResult<RemoteAuthTokensResponse> storeSession(const QByteArray& data, SyncCredentialStore& store,
        const QUrl& issuer);
};

// The body of a refused sign-in: the server's error text.
struct RemoteAuthErrorResponse {
    QString error;

    static std::optional<RemoteAuthErrorResponse> fromJson(const QByteArray& data);
};

} // namespace norvelle
