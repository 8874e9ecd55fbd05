#pragma once

#include "objectstore/Predicate.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace norvelle {

class ManagedObject;

// The value types an attribute can hold. In memory: QUuid, QDateTime, QString, QByteArray,
// qint64, bool, double; an invalid QVariant is an absent value.
enum class AttributeType { UUID,
    Date,
    String,
    Binary,
    Integer64,
    Boolean,
    Double };

struct AttributeDescription {
    QString name;
    AttributeType type;
    // What a newly inserted object holds; invalid = absent.
    QVariant defaultValue = {};
    // A large value (a note's text) that objects read by the thousand leave in the store
    // until it is first used.
    bool readWhenUsed = false;
};

// One entity of a model: its name (also its table), its attributes in declaration order, and
// how to make an object of its class.
struct EntityDescription {
    QString name;
    std::vector<AttributeDescription> attributes;
    std::function<std::shared_ptr<ManagedObject>(const EntityDescription&)> makeObject;
    // Orders the store keeps an index for, so fetches sorted that way need no sorting: each
    // is a list of attribute names, a leading "-" meaning descending.
    std::vector<QStringList> sortIndexes = {};
    // Conditions the store keeps a partial index for, by name, so that a fetch filtered by
    // exactly one of them reads only the rows it matches, however many others there are.
    std::vector<std::pair<QString, Predicate>> filterIndexes = {};

    // The attribute's position, or -1.
    int indexOf(const QString& attribute) const;
};

// The entities a store holds. Entity descriptions live for the whole process.
struct ObjectModel {
    QString name;
    std::vector<const EntityDescription*> entities;

    const EntityDescription* entity(const QString& name) const;
};

// Brings a value to the attribute's in-memory form: absent stays absent, a null string or
// data becomes absent, a value of another type is converted when it can be, else absent.
QVariant normalizedValue(AttributeType type, const QVariant& value);

// The form a normalized value takes in the store: UUID as lower-case text, date as
// milliseconds since the epoch, Boolean as 0 or 1; text, data and numbers as they are.
QVariant storedForm(AttributeType type, const QVariant& value);
// And back; a stored value that cannot be read as the type is absent.
QVariant valueFromStoredForm(AttributeType type, const QVariant& stored);

} // namespace norvelle
