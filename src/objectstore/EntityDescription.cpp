#include "objectstore/EntityDescription.h"

#include <QDateTime>
#include <QUuid>

namespace norvelle {

int EntityDescription::indexOf(const QString& attribute) const
{
    for (size_t i = 0; i < attributes.size(); ++i) {
        if (attributes[i].name == attribute) {
            return int(i);
        }
    }
    return -1;
}

const EntityDescription* ObjectModel::entity(const QString& entityName) const
{
    for (const EntityDescription* description : entities) {
        if (description->name == entityName) {
            return description;
        }
    }
    return nullptr;
}

QVariant normalizedValue(AttributeType type, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    switch (type) {
    case AttributeType::UUID: {
        const QUuid uuid = value.typeId() == QMetaType::QUuid ? value.toUuid() : QUuid(value.toString());
        return uuid.isNull() ? QVariant() : QVariant(uuid);
    }
    case AttributeType::Date: {
        const QDateTime date = value.toDateTime();
        return date.isValid() ? QVariant(QDateTime::fromMSecsSinceEpoch(date.toMSecsSinceEpoch(), Qt::UTC)) : QVariant();
    }
    case AttributeType::String: {
        const QString text = value.toString();
        return text.isNull() ? QVariant() : QVariant(text);
    }
    case AttributeType::Binary: {
        const QByteArray bytes = value.toByteArray();
        return bytes.isNull() ? QVariant() : QVariant(bytes);
    }
    case AttributeType::Integer64:
        return value.canConvert<qint64>() ? QVariant(value.toLongLong()) : QVariant();
    case AttributeType::Boolean:
        return value.toBool();
    case AttributeType::Double:
        return value.canConvert<double>() ? QVariant(value.toDouble()) : QVariant();
    }
    return {};
}

QVariant storedForm(AttributeType type, const QVariant& value)
{
    if (!value.isValid()) {
        return {};
    }
    switch (type) {
    case AttributeType::UUID:
        return value.toUuid().toString(QUuid::WithoutBraces);
    case AttributeType::Date:
        return qint64(value.toDateTime().toMSecsSinceEpoch());
    case AttributeType::Boolean:
        return qint64(value.toBool() ? 1 : 0);
    case AttributeType::String:
    case AttributeType::Binary:
    case AttributeType::Integer64:
    case AttributeType::Double:
        return value;
    }
    return {};
}

QVariant valueFromStoredForm(AttributeType type, const QVariant& stored)
{
    if (!stored.isValid()) {
        return {};
    }
    if (type == AttributeType::Date) {
        bool ok = false;
        const qint64 milliseconds = stored.toLongLong(&ok);
        return ok ? QVariant(QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC)) : QVariant();
    }
    if (type == AttributeType::Boolean) {
        return stored.toLongLong() != 0;
    }
    return normalizedValue(type, stored);
}

} // namespace norvelle
