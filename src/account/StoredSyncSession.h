#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace norvelle {

// The signed-in session as kept in the session file. Its JSON form has exactly the four keys;
// "expiresAt" is a number of seconds since 2001-01-01 00:00:00 UTC, fraction kept.
struct StoredSyncSession {
    QString userId;
    QString accessToken;
    QString refreshToken;
    QDateTime expiresAt;

    // Compact JSON, or nothing when the date is not valid.
    std::optional<QByteArray> toJson() const;
    // Nothing unless the data is one object holding all four keys with their types.
    static std::optional<StoredSyncSession> fromJson(const QByteArray& data);

    bool operator==(const StoredSyncSession&) const = default;
};

} // namespace norvelle
