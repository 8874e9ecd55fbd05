#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

namespace norvelle {

// The identity of one stored object: its store, entity and row. Given at insertion and never
// reused, so its URI text can key windows, settings and the sync queue for good.
class ObjectID {
public:
    ObjectID() = default;
    ObjectID(QUuid storeID, QString entityName, qint64 rowID);

    bool isNull() const { return m_rowID <= 0; }
    QUuid storeID() const { return m_storeID; }
    QString entityName() const { return m_entityName; }
    qint64 rowID() const { return m_rowID; }

    // x-norvelle://<store UUID>/<Entity>/p<row id>
    QUrl uriRepresentation() const;
    QString uriString() const;
    // The ID a URI text names, if it is one.
    static std::optional<ObjectID> fromURI(const QString& text);

    friend bool operator==(const ObjectID&, const ObjectID&) = default;

private:
    QUuid m_storeID;
    QString m_entityName;
    qint64 m_rowID = 0;
};

inline size_t qHash(const ObjectID& id, size_t seed = 0)
{
    return qHashMulti(seed, id.storeID(), id.entityName(), id.rowID());
}

} // namespace norvelle
