#include "account/SyncPOSTBody.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace norvelle {

QByteArray SyncPOSTBody::toJson() const
{
    QJsonArray array;
    for (const SyncNotePayload& note : notes) {
        array.append(QJsonObject {{QStringLiteral("id"), note.id}, {QStringLiteral("version"), note.version},
            {QStringLiteral("title"), note.title}, {QStringLiteral("body"), note.body},
            {QStringLiteral("updatedAt"), note.updatedAt}});
    }
    const QJsonObject object {
        {QStringLiteral("deviceId"), deviceId}, {QStringLiteral("sinceVersion"), sinceVersion}, {QStringLiteral("notes"), array}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace norvelle
