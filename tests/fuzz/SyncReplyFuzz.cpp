// Feeds any bytes to the sync answer reader: it must never crash, what it reads must carry only
// versions a later pull can send back, and a well-formed answer must be read whole, never as
// nothing.
#include "FuzzInput.h"

#include "account/SyncPOSTResponse.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace norvelle;

namespace {

// A whole number from 0 to the largest version, as JSON writes one.
std::optional<qint64> version(const QJsonValue& value)
{
    const QVariant number = value.toVariant();
    if (number.typeId() == QMetaType::LongLong) {
        const qint64 whole = number.toLongLong();
        return whole >= 0 && whole <= SyncPOSTResponse::maximumVersion ? std::optional(whole) : std::nullopt;
    }
    if (number.typeId() == QMetaType::Double) {
        const double real = number.toDouble();
        if (real == std::floor(real) && real >= 0 && real <= double(SyncPOSTResponse::maximumVersion)) {
            return qint64(real);
        }
    }
    return std::nullopt;
}

// The notes of a well-formed list of notes, in order; nothing when it is not one.
std::optional<QList<SyncPOSTResponse::RemoteNoteDTO>> notes(const QJsonValue& list)
{
    if (!list.isArray()) {
        return std::nullopt;
    }
    QList<SyncPOSTResponse::RemoteNoteDTO> out;
    for (const QJsonValue& element : list.toArray()) {
        const QJsonObject note = element.toObject();
        const std::optional<qint64> noteVersion = version(note.value("version"));
        if (!element.isObject() || !noteVersion || !note.value("id").isString() || !note.value("title").isString()
            || !note.value("body").isString() || !note.value("updatedAt").isString()) {
            return std::nullopt;
        }
        out.append({note.value("id").toString(), *noteVersion, note.value("title").toString(), note.value("body").toString(),
            note.value("updatedAt").toString()});
    }
    return out;
}

bool conflictsWellFormed(const QJsonValue& conflicts)
{
    if (conflicts.isUndefined() || conflicts.isNull()) {
        return true;
    }
    if (!conflicts.isArray()) {
        return false;
    }
    const QJsonArray list = conflicts.toArray();
    return std::all_of(list.begin(), list.end(), [](const QJsonValue& conflict) {
        return conflict.isObject() && conflict.toObject().value("id").isString();
    });
}

bool sameNotes(const QList<SyncPOSTResponse::RemoteNoteDTO>& read, const QList<SyncPOSTResponse::RemoteNoteDTO>& sent)
{
    return std::equal(read.begin(), read.end(), sent.begin(), sent.end(), [](const auto& a, const auto& b) {
        return a.id == b.id && a.version == b.version && a.title == b.title && a.body == b.body && a.updatedAt == b.updatedAt;
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const ServiceResult<SyncPOSTResponse> reply = SyncPOSTResponse::fromJson(input);
    const SyncPOSTResponse* response = std::get_if<SyncPOSTResponse>(&reply);
    if (response) {
        for (const auto* notes : {&response->applied.applied, &response->outgoing}) {
            for (const SyncPOSTResponse::RemoteNoteDTO& note : *notes) {
                fuzz::require(note.version >= 0 && note.version <= SyncPOSTResponse::maximumVersion);
            }
        }
    }
    const QJsonObject top = QJsonDocument::fromJson(input).object();
    const QJsonObject envelope = top.value("applied").toObject();
    const auto applied = notes(envelope.value("applied"));
    const auto outgoing = notes(top.value("outgoing"));
    if (top.value("applied").isObject() && applied && outgoing && conflictsWellFormed(envelope.value("conflicts"))) {
        fuzz::require(response && sameNotes(response->applied.applied, *applied) && sameNotes(response->outgoing, *outgoing));
    }
    return 0;
}
