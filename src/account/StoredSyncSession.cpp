#include "account/StoredSyncSession.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace norvelle {

namespace {

// Milliseconds between the Unix epoch and 2001-01-01 00:00:00 UTC.
constexpr qint64 referenceDateOffset = 978307200000;

} // namespace

std::optional<QByteArray> StoredSyncSession::toJson() const
{
    if (!expiresAt.isValid()) {
        return std::nullopt;
    }
    QJsonObject object;
    object["userId"] = userId;
    object["accessToken"] = accessToken;
    object["refreshToken"] = refreshToken;
    object["expiresAt"] = (expiresAt.toMSecsSinceEpoch() - referenceDateOffset) / 1000.0;
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<StoredSyncSession> StoredSyncSession::fromJson(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    const QJsonValue userId = object.value("userId");
    const QJsonValue accessToken = object.value("accessToken");
    const QJsonValue refreshToken = object.value("refreshToken");
    const QJsonValue expiresAt = object.value("expiresAt");
    if (!userId.isString() || !accessToken.isString() || !refreshToken.isString() || !expiresAt.isDouble()) {
        return std::nullopt;
    }
    const double milliseconds = std::round(expiresAt.toDouble() * 1000.0);
    // Beyond what a date can hold: not a session this program wrote.
    if (!std::isfinite(milliseconds) || std::fabs(milliseconds) > 8.0e15) {
        return std::nullopt;
    }
    StoredSyncSession session;
    session.userId = userId.toString();
    session.accessToken = accessToken.toString();
    session.refreshToken = refreshToken.toString();
    session.expiresAt = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(milliseconds) + referenceDateOffset, Qt::UTC);
    return session;
}

} // namespace norvelle
