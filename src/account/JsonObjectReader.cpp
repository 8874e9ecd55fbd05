#include "account/JsonObjectReader.h"

#include <QJsonDocument>

#include <algorithm>
#include <limits>

namespace norvelle {

std::optional<QJsonObject> JsonObjectReader::parseObject(const QByteArray& data, QString* failure)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError) {
        *failure = QStringLiteral("not JSON");
        return std::nullopt;
    }
    if (!document.isObject()) {
        *failure = QStringLiteral("not an object");
        return std::nullopt;
    }
    return document.object();
}

void JsonObjectReader::fail(const QString& why)
{
    if (m_failure.isEmpty()) {
        m_failure = why;
    }
}

void JsonObjectReader::wrongType(const QString& key)
{
    fail(QStringLiteral("wrong type for \"%1\"").arg(key));
}

std::optional<QJsonValue> JsonObjectReader::member(const QString& key, bool required)
{
    if (!ok()) {
        return std::nullopt;
    }
    const QJsonValue value = m_object.value(key);
    if (value.isUndefined() || value.isNull()) {
        if (required) {
            fail(QStringLiteral("missing \"%1\"").arg(key));
        }
        return std::nullopt;
    }
    return value;
}

QString JsonObjectReader::requiredString(const QString& key)
{
    const std::optional<QJsonValue> value = member(key, true);
    if (value && !value->isString()) {
        wrongType(key);
    }
    return ok() && value ? value->toString() : QString();
}

QString JsonObjectReader::requiredPlainString(const QString& key)
{
    const QString text = requiredString(key);
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; })) {
        fail(QStringLiteral("control character in \"%1\"").arg(key));
        return {};
    }
    return text;
}

std::optional<QString> JsonObjectReader::optionalString(const QString& key)
{
    const std::optional<QJsonValue> value = member(key, false);
    if (!value) {
        return std::nullopt;
    }
    if (!value->isString()) {
        wrongType(key);
        return std::nullopt;
    }
    return value->toString();
}

qint64 JsonObjectReader::requiredInteger(const QString& key, qint64 minimum, qint64 maximum)
{
    const std::optional<QJsonValue> value = member(key, true);
    if (!value) {
        return 0;
    }
    // toInteger() gives the default for a fraction or a value beyond 64 bits: two different
    // defaults tell such a value from a real one equal to a default.
    constexpr qint64 low = std::numeric_limits<qint64>::min();
    constexpr qint64 high = std::numeric_limits<qint64>::max();
    const qint64 first = value->toInteger(low);
    if (!value->isDouble() || first != value->toInteger(high) || first < minimum || first > maximum) {
        wrongType(key);
        return 0;
    }
    return first;
}

std::optional<bool> JsonObjectReader::optionalBool(const QString& key)
{
    const std::optional<QJsonValue> value = member(key, false);
    if (!value) {
        return std::nullopt;
    }
    if (!value->isBool()) {
        wrongType(key);
        return std::nullopt;
    }
    return value->toBool();
}

QJsonArray JsonObjectReader::requiredArray(const QString& key)
{
    const std::optional<QJsonValue> value = member(key, true);
    if (value && !value->isArray()) {
        wrongType(key);
    }
    return ok() && value ? value->toArray() : QJsonArray();
}

QJsonArray JsonObjectReader::optionalArray(const QString& key)
{
    const std::optional<QJsonValue> value = member(key, false);
    if (value && !value->isArray()) {
        wrongType(key);
    }
    return ok() && value ? value->toArray() : QJsonArray();
}

QJsonObject JsonObjectReader::requiredObject(const QString& key)
{
    const std::optional<QJsonValue> value = member(key, true);
    if (value && !value->isObject()) {
        wrongType(key);
    }
    return ok() && value ? value->toObject() : QJsonObject();
}

QList<QJsonObject> JsonObjectReader::objects(const QJsonArray& array, const QString& key)
{
    QList<QJsonObject> out;
    out.reserve(array.size());
    for (const QJsonValue& element : array) {
        if (!element.isObject()) {
            wrongType(key);
            return {};
        }
        out.append(element.toObject());
    }
    return out;
}

} // namespace norvelle
