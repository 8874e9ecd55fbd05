#include "account/SyncPOSTResponse.h"

#include "account/JsonObjectReader.h"

namespace norvelle {

namespace {

QList<SyncPOSTResponse::RemoteNoteDTO> notes(JsonObjectReader& parent, const QString& key)
{
    QList<SyncPOSTResponse::RemoteNoteDTO> out;
    const QList<QJsonObject> objects = parent.objects(parent.requiredArray(key), key);
    out.reserve(objects.size());
    for (const QJsonObject& object : objects) {
        JsonObjectReader reader(object);
        SyncPOSTResponse::RemoteNoteDTO note;
        note.id = reader.requiredString(QStringLiteral("id"));
        note.version = reader.requiredInteger(QStringLiteral("version"), 0, SyncPOSTResponse::maximumVersion);
        note.title = reader.requiredString(QStringLiteral("title"));
        note.body = reader.requiredString(QStringLiteral("body"));
        note.updatedAt = reader.requiredString(QStringLiteral("updatedAt"));
        if (!reader.ok()) {
            parent.fail(key + QStringLiteral(": ") + reader.failure());
            return {};
        }
        out.append(std::move(note));
    }
    return out;
}

} // namespace

ServiceResult<SyncPOSTResponse> SyncPOSTResponse::fromJson(QByteArray data)
{
    return decodeJsonObject<SyncPOSTResponse>(std::move(data), [](JsonObjectReader& top) {
        JsonObjectReader envelope(top.requiredObject(QStringLiteral("applied")));
        SyncPOSTResponse response;
        if (top.ok()) {
            response.applied.applied = notes(envelope, QStringLiteral("applied"));
            for (const QJsonObject& conflict :
                envelope.objects(envelope.optionalArray(QStringLiteral("conflicts")), QStringLiteral("conflicts"))) {
                JsonObjectReader reader(conflict);
                response.applied.conflicts.append({reader.requiredString(QStringLiteral("id"))});
                if (!reader.ok()) {
                    envelope.fail(QStringLiteral("conflicts: ") + reader.failure());
                }
            }
            if (!envelope.ok()) {
                top.fail(QStringLiteral("applied: ") + envelope.failure());
            }
        }
        response.outgoing = notes(top, QStringLiteral("outgoing"));
        return response;
    });
}

} // namespace norvelle
