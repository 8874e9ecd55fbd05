#pragma once

#include "account/ServiceError.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace norvelle {

// Reads the members of one JSON object strictly: a required member that is missing, null or
// of another JSON type, an optional one of another type, or a number with a fraction where an
// integer belongs, makes the whole record unreadable. Reads after the first failure give
// empty values; failure() says what went wrong (member names only, never values).
class JsonObjectReader {
public:
    explicit JsonObjectReader(QJsonObject object)
        : m_object(std::move(object))
    {
    }

    // The top-level object of `data`; nothing when it is not JSON or not an object.
    static std::optional<QJsonObject> parseObject(const QByteArray& data, QString* failure);

    QString requiredString(const QString& key);
    // A string without control characters: one that goes into a request header or names a
    // record, where a line break would smuggle in text of the server's choosing.
    QString requiredPlainString(const QString& key);
    std::optional<QString> optionalString(const QString& key);
    // An integer from `minimum` to `maximum`; anything else is of the wrong type.
    qint64 requiredInteger(const QString& key, qint64 minimum, qint64 maximum);
    std::optional<bool> optionalBool(const QString& key);
    QJsonArray requiredArray(const QString& key);
    // Missing or null reads as an empty array.
    QJsonArray optionalArray(const QString& key);
    QJsonObject requiredObject(const QString& key);

    bool ok() const { return m_failure.isEmpty(); }
    QString failure() const { return m_failure; }
    // Records a failure found by the caller (for instance in a nested record).
    void fail(const QString& why);

    // Each element of `array` as an object, else a failure naming `key`.
    QList<QJsonObject> objects(const QJsonArray& array, const QString& key);

private:
    // The member, or nothing (and a failure when `required`) when it is missing or null.
    std::optional<QJsonValue> member(const QString& key, bool required);
    void wrongType(const QString& key);

    QJsonObject m_object;
    QString m_failure;
};

// Decodes `data` as one JSON object, `read` making the record from its reader: data that is not
// an object, or a member `read` found missing or malformed, is a decoding error. `data` is
// freed as soon as it is parsed, so a large answer handed over whole is held twice at most.
template <typename Record, typename Read>
ServiceResult<Record> decodeJsonObject(QByteArray data, Read read)
{
    QString failure;
    const std::optional<QJsonObject> object = JsonObjectReader::parseObject(data, &failure);
    data = QByteArray();
    if (!object) {
        return ServiceError::decoding(failure);
    }
    JsonObjectReader reader(*object);
    Record record = read(reader);
    if (!reader.ok()) {
        return ServiceError::decoding(reader.failure());
    }
    return record;
}

} // namespace norvelle
