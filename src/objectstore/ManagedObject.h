#pragma once

#include "objectstore/EntityDescription.h"
#include "objectstore/ObjectID.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>
#include <QVariant>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace norvelle {

class ObjectContext;

// One object of an entity, registered in one context. Entity classes derive from it and give
// typed accessors over value()/setValue(). Every change goes to the owning context, which saves
// or rolls it back. After its deletion has been saved, the object keeps its last values but
// belongs to no context.
class ManagedObject {
public:
    explicit ManagedObject(const EntityDescription& entity);
    virtual ~ManagedObject() = default;
    ManagedObject(const ManagedObject&) = delete;
    ManagedObject& operator=(const ManagedObject&) = delete;

    const EntityDescription& entity() const { return m_entity; }
    const ObjectID& objectID() const { return m_objectID; }
    ObjectContext* managedObjectContext() const { return m_context; }

    bool isInserted() const { return m_state == State::Inserted; }
    bool isUpdated() const { return m_state == State::Updated; }
    bool isDeleted() const { return m_deleted; }
    bool hasChanges() const { return m_state != State::Saved || m_deleted; }
    // The positions of the attributes whose value differs from the stored one (empty unless
    // updated).
    std::vector<int> changedAttributes() const;

    // By attribute position (fast) or name; an unknown name reads as absent and is not written.
    QVariant value(int attribute) const
    {
        if (!m_unread.empty() && !isInMemory(attribute)) {
            readUnread();
        }
        return m_values.value(attribute);
    }
    QVariant value(const QString& attribute) const;
    void setValue(int attribute, const QVariant& value);
    void setValue(const QString& attribute, const QVariant& value);
    // The start of the text `attribute`: all of it when it is shorter than `length` UTF-16
    // units, else its first `length`. A text left in the store is read only that far.
    QString leadingText(int attribute, qsizetype length) const;
    // False while the value is left in the store, to be read when first used.
    bool isInMemory(int attribute) const { return std::find(m_unread.begin(), m_unread.end(), attribute) == m_unread.end(); }

protected:
    // Typed reads for entity classes: an absent value reads as the type's empty value.
    QString stringValue(int attribute) const { return value(attribute).toString(); }
    QByteArray dataValue(int attribute) const { return value(attribute).toByteArray(); }
    QDateTime dateValue(int attribute) const { return value(attribute).toDateTime(); }
    std::optional<QUuid> uuidValue(int attribute) const;
    qint64 integerValue(int attribute) const { return value(attribute).toLongLong(); }
    bool boolValue(int attribute) const { return value(attribute).toBool(); }
    double doubleValue(int attribute) const { return value(attribute).toDouble(); }

private:
    friend class ObjectContext;
    enum class State { Inserted,
        Updated,
        Saved };

    // Reads the values left in the store when the object was read; without a context they
    // stay absent.
    void readUnread() const;

    const EntityDescription& m_entity;
    ObjectID m_objectID;
    ObjectContext* m_context = nullptr;
    // Mutable: the values read when used are filled in by a read.
    mutable QList<QVariant> m_values;
    // While updated, the stored value of each attribute set since, for the save and a rollback:
    // a change of a few values of thousands of objects copies none of their other values.
    std::vector<std::pair<int, QVariant>> m_savedValues;
    mutable std::vector<int> m_unread;
    State m_state = State::Saved;
    bool m_deleted = false;
};

} // namespace norvelle
