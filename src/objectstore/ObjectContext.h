#pragma once

#include "objectstore/FetchRequest.h"
#include "objectstore/ManagedObject.h"
#include "objectstore/ObjectID.h"
#include "objectstore/ObjectStore.h"
#include "objectstore/ObjectStoreError.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace norvelle {

// The scratch pad in which objects of a store are read and changed: the view context on the
// main thread, a background context (ObjectStore::newBackgroundContext) on the one thread that
// made it.
// It holds one object per stored row (an identity map): fetching a row twice gives the same
// object while anybody holds it. The context itself keeps only the objects with unsaved
// changes; an unchanged object nobody holds any more is let go, and a later fetch reads its
// row again. Inserts, changes and deletions stay in the context until save() writes them all
// in one transaction, or rollback() throws them away.
//
//     auto note = context.insert<StickyNote>();       // ID permanent from here on
//     note->setTitle("Groceries");
//     context.save();
//     auto notes = context.fetch(StickyNote::fetchRequest());
class ObjectContext : public QObject {
    Q_OBJECT
public:
    // How soon a save put off for a background context's is worth trying again.
    static constexpr int saveWaitingRetryMs = 250;

    // A context on the store's main connection.
    explicit ObjectContext(ObjectStore& store);
    ~ObjectContext() override;

    ObjectStore& store() const { return m_store; }

    // A new object of the entity, with its attribute defaults, registered as inserted.
    std::shared_ptr<ManagedObject> insert(const EntityDescription& entity);
    template <class T>
    std::shared_ptr<T> insert() { return std::static_pointer_cast<T>(insert(T::entity())); }

    // Marks the object for deletion at the next save. An object inserted since the last save
    // simply leaves the context (its ID stays used up).
    void deleteObject(const std::shared_ptr<ManagedObject>& object);

    // The objects matching the request, with the context's unsaved changes taken into
    // account. On failure returns nothing and sets `error` when given.
    std::vector<std::shared_ptr<ManagedObject>> fetch(const FetchRequest& request,
        std::optional<ObjectStoreError>* error = nullptr);
    template <class T>
    std::vector<std::shared_ptr<T>> fetch(const TypedFetchRequest<T>& request,
        std::optional<ObjectStoreError>* error = nullptr)
    {
        std::vector<std::shared_ptr<T>> typed;
        for (auto& object : fetch(static_cast<const FetchRequest&>(request), error)) {
            typed.push_back(std::static_pointer_cast<T>(object));
        }
        return typed;
    }
    int count(const FetchRequest& request, std::optional<ObjectStoreError>* error = nullptr);
    // The values of `attributes` (positions in the entity, in that order) of every object of
    // `entity`, unsaved changes included, handed to `visit` one object at a time in no
    // particular order. Only those columns are read and no object is made for a row nobody
    // holds: for lists that need a few values of many objects. `visit` must not change the
    // context.
    std::optional<ObjectStoreError> visitValues(const EntityDescription& entity, const std::vector<int>& attributes,
        const std::function<void(const ObjectID&, const QList<QVariant>&)>& visit);

    // The registered or stored object with this ID or URI text; null when there is none, it
    // is deleted, or the URI names another store.
    std::shared_ptr<ManagedObject> existingObject(const ObjectID& id);
    std::shared_ptr<ManagedObject> existingObject(const QString& uri);
    // existingObject() of each ID, in the order given, leaving out those with none; the rows
    // not yet registered are read together, for actions on thousands of objects.
    std::vector<std::shared_ptr<ManagedObject>> existingObjects(const std::vector<ObjectID>& ids);
    template <class T>
    std::shared_ptr<T> existingObject(const QString& uri)
    {
        auto object = existingObject(uri);
        return object && &object->entity() == &T::entity() ? std::static_pointer_cast<T>(object) : nullptr;
    }

    // The values of `attributes` (positions in the entity) of the object with this ID, unsaved
    // changes included, read without making the object: a few values of an object whose large
    // values come before them in the store. None when there is no such object.
    std::optional<QList<QVariant>> existingValues(const ObjectID& id, const std::vector<int>& attributes);
    // ManagedObject::leadingText of the object with this ID, without making the object; empty
    // when there is none.
    QString leadingText(const ObjectID& id, int attribute, qsizetype length);

    // Whether somebody holds the object with this ID (or it has unsaved changes): reading it
    // then costs no store read.
    bool isRegistered(const ObjectID& id) const { return bool(liveObject(id)); }

    bool hasChanges() const { return !m_changed.isEmpty(); }
    // How many objects are registered: those with unsaved changes and those somebody holds.
    int registeredObjectCount();
    // Writes every change in one transaction. On failure the changes stay in the context,
    // nothing of them is in the store, and the error is returned.
    std::optional<ObjectStoreError> save();
    // Forgets every unsaved change: inserted objects leave, changed ones get their stored
    // values back, deleted ones return.
    void rollback();
    // Takes in objects another context of the store inserted and saved, as if they were
    // changed here. Their small values are kept until the next turn of the event loop, so
    // whoever follows this context's changes reads them without the store; their large values
    // are read when used.
    void didInsertElsewhere(const std::vector<std::shared_ptr<ManagedObject>>& saved);

    // Held while a change is written a step at a time over many turns of the event loop, each
    // step saved (a large sync answer): whoever follows the context's changes may take them in
    // once, when the last such change ends, instead of after every step.
    class SteppedChange {
    public:
        explicit SteppedChange(ObjectContext& context);
        ~SteppedChange();
        SteppedChange(const SteppedChange&) = delete;
        SteppedChange& operator=(const SteppedChange&) = delete;

    private:
        QPointer<ObjectContext> m_context;
    };
    bool steppedChangeUnderWay() const { return m_steppedChanges > 0; }

signals:
    // The object that was inserted, changed or deleted; objectsDidChange follows.
    void objectChanged(const ObjectID& id);
    // After an insert, a change of a value, a deletion or a rollback.
    void objectsDidChange();
    // After a save wrote changes.
    void didSave();
    // After a save that could not write its changes (they stay for the next save).
    void saveFailed(const QString& reason);
    // After a save put off while a background context writes (its changes stay for the next save).
    void saveWaiting();
    // The last stepped change under way has ended.
    void steppedChangesEnded();

private:
    friend class ManagedObject;
    friend class ObjectStore;
    ObjectContext(ObjectStore& store, std::unique_ptr<SqliteConnection> connection);
    void objectDidChange(ManagedObject& object);
    std::shared_ptr<ManagedObject> registeredObject(const EntityDescription& entity, const ObjectStore::Row& row);
    std::shared_ptr<ManagedObject> liveObject(const ObjectID& id) const { return m_objects.value(id).lock(); }
    bool hasChangesFor(const QString& entityName) const;
    // The entity of an ID of this store, or null.
    const EntityDescription* entityOf(const ObjectID& id) const;
    // Drops the entries of objects nobody holds any more. A sweep walks the whole table, so
    // it runs only once the table has doubled since the last one, unless `now`: reading many
    // objects one by one then stays linear.
    void forgetReleasedObjects(bool now = false);

    ObjectStore& m_store;
    // A background context's own; null for one on the main connection.
    std::unique_ptr<SqliteConnection> m_ownConnection;
    SqliteConnection& m_connection;
    QHash<ObjectID, std::weak_ptr<ManagedObject>> m_objects;
    qsizetype m_objectsAfterSweep = 0;
    // Holds every changed object until the change is saved or rolled back.
    QHash<ObjectID, std::shared_ptr<ManagedObject>> m_changed;
    // Objects taken in from another context, held for one turn of the event loop.
    std::vector<std::shared_ptr<ManagedObject>> m_takenIn;
    int m_steppedChanges = 0;
};

} // namespace norvelle
