#include "objectstore/ObjectContext.h"

#include "objectstore/SqliteConnection.h"

#include <QTimer>

#include <algorithm>

namespace norvelle {

ObjectContext::ObjectContext(ObjectStore& store)
    : m_store(store)
    , m_connection(store.mainConnection())
{
}

ObjectContext::ObjectContext(ObjectStore& store, std::unique_ptr<SqliteConnection> connection)
    : m_store(store)
    , m_ownConnection(std::move(connection))
    , m_connection(*m_ownConnection)
{
}

ObjectContext::SteppedChange::SteppedChange(ObjectContext& context)
    : m_context(&context)
{
    ++context.m_steppedChanges;
}

ObjectContext::SteppedChange::~SteppedChange()
{
    if (m_context && --m_context->m_steppedChanges == 0) {
        emit m_context->steppedChangesEnded();
    }
}

ObjectContext::~ObjectContext()
{
    for (const auto& registered : std::as_const(m_objects)) {
        if (std::shared_ptr<ManagedObject> object = registered.lock()) {
            object->m_context = nullptr;
        }
    }
}

std::shared_ptr<ManagedObject> ObjectContext::insert(const EntityDescription& entity)
{
    std::shared_ptr<ManagedObject> object = entity.makeObject(entity);
    object->m_objectID = m_store.allocateObjectID(m_connection, entity);
    object->m_context = this;
    for (size_t i = 0; i < entity.attributes.size(); ++i) {
        object->m_values[qsizetype(i)] = normalizedValue(entity.attributes[i].type, entity.attributes[i].defaultValue);
    }
    object->m_state = ManagedObject::State::Inserted;
    m_objects.insert(object->objectID(), object);
    m_changed.insert(object->objectID(), object);
    emit objectChanged(object->objectID());
    emit objectsDidChange();
    return object;
}

void ObjectContext::deleteObject(const std::shared_ptr<ManagedObject>& object)
{
    if (!object || object->m_context != this || object->m_deleted) {
        return;
    }
    // A deleted object keeps its last values once its row is gone.
    if (!object->m_unread.empty()) {
        object->readUnread();
    }
    object->m_deleted = true;
    if (object->isInserted()) {
        m_objects.remove(object->objectID());
        m_changed.remove(object->objectID());
        object->m_context = nullptr;
    } else {
        m_changed.insert(object->objectID(), object);
    }
    emit objectChanged(object->objectID());
    emit objectsDidChange();
}

void ObjectContext::objectDidChange(ManagedObject& object)
{
    m_changed.insert(object.objectID(), liveObject(object.objectID()));
    emit objectChanged(object.objectID());
    emit objectsDidChange();
}

bool ObjectContext::hasChangesFor(const QString& entityName) const
{
    for (const auto& object : m_changed) {
        if (object->entity().name == entityName) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<ManagedObject> ObjectContext::registeredObject(const EntityDescription& entity, const ObjectStore::Row& row)
{
    const ObjectID id(m_store.identifier(), entity.name, row.rowID);
    if (std::shared_ptr<ManagedObject> known = liveObject(id)) {
        return known;
    }
    std::shared_ptr<ManagedObject> object = entity.makeObject(entity);
    object->m_objectID = id;
    object->m_context = this;
    object->m_values = row.values;
    object->m_unread = row.unread;
    m_objects.insert(id, object);
    return object;
}

std::vector<std::shared_ptr<ManagedObject>> ObjectContext::fetch(const FetchRequest& request,
    std::optional<ObjectStoreError>* error)
{
    const EntityDescription* entity = m_store.model().entity(request.entityName);
    // Without unsaved changes of the entity the store's answer is the answer, sorted and cut
    // in SQL; otherwise the changed objects are matched and sorted here.
    const bool storeDecides = entity && !hasChangesFor(entity->name);
    std::vector<ObjectStore::Row> rows;
    const QUuid storeID = m_store.identifier();
    const QString entityName = request.entityName;
    forgetReleasedObjects();
    std::optional<ObjectStoreError> failure = m_store.fetchRows(
        m_connection, request, storeDecides, [&](qint64 rowID) {
            return !liveObject(ObjectID(storeID, entityName, rowID));
        },
        rows);
    if (error) {
        *error = failure;
    }
    if (failure) {
        return {};
    }
    std::vector<std::shared_ptr<ManagedObject>> objects;
    objects.reserve(rows.size());
    for (const ObjectStore::Row& row : rows) {
        objects.push_back(registeredObject(*entity, row));
    }
    if (storeDecides) {
        return objects;
    }
    for (const auto& changed : std::as_const(m_changed)) {
        if (&changed->entity() == entity && std::find(objects.begin(), objects.end(), changed) == objects.end()) {
            objects.push_back(changed);
        }
    }
    std::erase_if(objects, [&](const auto& object) { return object->isDeleted() || !request.predicate.evaluate(*object); });
    std::stable_sort(objects.begin(), objects.end(), [&](const auto& left, const auto& right) {
        for (const SortDescriptor& sort : request.sortDescriptors) {
            const int index = entity->indexOf(sort.attribute);
            const int order = compareAttributeValues(entity->attributes[size_t(index)].type, left->value(index), right->value(index));
            if (order != 0) {
                return sort.ascending ? order < 0 : order > 0;
            }
        }
        return left->objectID().rowID() < right->objectID().rowID();
    });
    if (request.fetchLimit > 0 && objects.size() > size_t(request.fetchLimit)) {
        objects.resize(size_t(request.fetchLimit));
    }
    return objects;
}

int ObjectContext::registeredObjectCount()
{
    forgetReleasedObjects(true);
    return int(m_objects.size());
}

void ObjectContext::forgetReleasedObjects(bool now)
{
    constexpr qsizetype smallTable = 64;
    if (!now && m_objects.size() < 2 * m_objectsAfterSweep + smallTable) {
        return;
    }
    m_objects.removeIf([](const auto& entry) { return entry.value().expired(); });
    m_objectsAfterSweep = m_objects.size();
}

int ObjectContext::count(const FetchRequest& request, std::optional<ObjectStoreError>* error)
{
    return int(fetch(request, error).size());
}

std::optional<ObjectStoreError> ObjectContext::visitValues(const EntityDescription& entity, const std::vector<int>& attributes,
    const std::function<void(const ObjectID&, const QList<QVariant>&)>& visit)
{
    forgetReleasedObjects();
    // Rows with a live object are read from the object: it holds any unsaved change.
    std::vector<std::shared_ptr<ManagedObject>> live;
    for (const auto& registered : std::as_const(m_objects)) {
        std::shared_ptr<ManagedObject> object = registered.lock();
        if (object && &object->entity() == &entity) {
            live.push_back(std::move(object));
        }
    }
    const QUuid storeID = m_store.identifier();
    std::optional<ObjectStoreError> failure = m_store.readValues(m_connection, entity, attributes, [&](qint64 rowID, const QList<QVariant>& values) {
        const ObjectID id(storeID, entity.name, rowID);
        if (!liveObject(id)) {
            visit(id, values);
        }
    });
    if (failure) {
        return failure;
    }
    QList<QVariant> values(qsizetype(attributes.size()));
    for (const auto& object : live) {
        if (object->isDeleted()) {
            continue;
        }
        for (size_t i = 0; i < attributes.size(); ++i) {
            values[qsizetype(i)] = object->value(attributes[i]);
        }
        visit(object->objectID(), values);
    }
    return std::nullopt;
}

std::shared_ptr<ManagedObject> ObjectContext::existingObject(const ObjectID& id)
{
    if (std::shared_ptr<ManagedObject> known = liveObject(id)) {
        return known->isDeleted() ? nullptr : known;
    }
    const EntityDescription* entity = entityOf(id);
    if (!entity) {
        return nullptr;
    }
    forgetReleasedObjects();
    std::optional<ObjectStore::Row> row;
    if (m_store.fetchRow(m_connection, *entity, id.rowID(), row) || !row) {
        return nullptr;
    }
    return registeredObject(*entity, *row);
}

std::vector<std::shared_ptr<ManagedObject>> ObjectContext::existingObjects(const std::vector<ObjectID>& ids)
{
    QHash<const EntityDescription*, std::vector<qint64>> unregistered;
    for (const ObjectID& id : ids) {
        const EntityDescription* entity = entityOf(id);
        if (!liveObject(id) && entity) {
            unregistered[entity].push_back(id.rowID());
        }
    }
    forgetReleasedObjects();
    // Held until handed out: nobody else holds a row just read.
    std::vector<std::shared_ptr<ManagedObject>> read;
    for (auto entity = unregistered.cbegin(); entity != unregistered.cend(); ++entity) {
        std::vector<ObjectStore::Row> rows;
        if (m_store.fetchRows(m_connection, *entity.key(), entity.value(), rows)) {
            return {};
        }
        for (const ObjectStore::Row& row : rows) {
            read.push_back(registeredObject(*entity.key(), row));
        }
    }
    std::vector<std::shared_ptr<ManagedObject>> objects;
    objects.reserve(ids.size());
    for (const ObjectID& id : ids) {
        if (std::shared_ptr<ManagedObject> object = liveObject(id); object && !object->isDeleted()) {
            objects.push_back(std::move(object));
        }
    }
    return objects;
}

std::shared_ptr<ManagedObject> ObjectContext::existingObject(const QString& uri)
{
    const std::optional<ObjectID> id = ObjectID::fromURI(uri);
    return id ? existingObject(*id) : nullptr;
}

std::optional<ObjectStoreError> ObjectContext::save()
{
    if (m_changed.isEmpty()) {
        return std::nullopt;
    }
    std::vector<const ManagedObject*> inserted;
    std::vector<const ManagedObject*> updated;
    std::vector<const ManagedObject*> deleted;
    for (const auto& object : std::as_const(m_changed)) {
        if (object->isDeleted()) {
            deleted.push_back(object.get());
        } else if (object->isInserted()) {
            inserted.push_back(object.get());
        } else {
            updated.push_back(object.get());
        }
    }
    const auto byRow = [](const ManagedObject* left, const ManagedObject* right) {
        return left->objectID().rowID() < right->objectID().rowID();
    };
    // In the order of the rows, a bulk change walks the table once instead of jumping about.
    std::sort(inserted.begin(), inserted.end(), byRow);
    std::sort(updated.begin(), updated.end(), byRow);
    std::sort(deleted.begin(), deleted.end(), byRow);
    if (std::optional<ObjectStoreError> error = m_store.write(m_connection, inserted, updated, deleted)) {
        if (error->code() == ObjectStoreError::Code::WaitingForBackgroundSave) {
            emit saveWaiting();
        } else {
            emit saveFailed(error->localizedDescription());
        }
        return error;
    }
    for (const auto& object : std::as_const(m_changed)) {
        if (object->isDeleted()) {
            m_objects.remove(object->objectID());
            object->m_context = nullptr;
        }
        object->m_state = ManagedObject::State::Saved;
        object->m_savedValues.clear();
    }
    m_changed.clear();
    forgetReleasedObjects();
    emit didSave();
    return std::nullopt;
}

void ObjectContext::rollback()
{
    if (m_changed.isEmpty()) {
        return;
    }
    for (const auto& object : std::as_const(m_changed)) {
        if (object->isInserted()) {
            m_objects.remove(object->objectID());
            object->m_context = nullptr;
            object->m_deleted = true;
            continue;
        }
        if (object->isUpdated()) {
            for (auto& [attribute, stored] : object->m_savedValues) {
                object->m_values[attribute] = std::move(stored);
            }
            object->m_savedValues.clear();
            object->m_state = ManagedObject::State::Saved;
        }
        object->m_deleted = false;
    }
    m_changed.clear();
    emit objectsDidChange();
}

void ObjectContext::didInsertElsewhere(const std::vector<std::shared_ptr<ManagedObject>>& saved)
{
    if (saved.empty()) {
        return;
    }
    for (const auto& other : saved) {
        const EntityDescription& entity = other->entity();
        if (entityOf(other->objectID()) != &entity || liveObject(other->objectID())) {
            continue;
        }
        std::shared_ptr<ManagedObject> object = entity.makeObject(entity);
        object->m_objectID = other->objectID();
        object->m_context = this;
        for (size_t i = 0; i < entity.attributes.size(); ++i) {
            if (entity.attributes[i].readWhenUsed) {
                object->m_unread.push_back(int(i));
            } else {
                object->m_values[qsizetype(i)] = other->value(int(i));
            }
        }
        m_objects.insert(object->objectID(), object);
        m_takenIn.push_back(std::move(object));
    }
    for (const auto& other : saved) {
        emit objectChanged(other->objectID());
    }
    emit objectsDidChange();
    // Posted after the turn the signals' receivers asked for, so they find the objects held.
    QTimer::singleShot(0, this, [this] { m_takenIn.clear(); });
}

const EntityDescription* ObjectContext::entityOf(const ObjectID& id) const
{
    const EntityDescription* entity = m_store.model().entity(id.entityName());
    return entity && id.storeID() == m_store.identifier() && !id.isNull() ? entity : nullptr;
}

std::optional<QList<QVariant>> ObjectContext::existingValues(const ObjectID& id, const std::vector<int>& attributes)
{
    QList<QVariant> values;
    if (std::shared_ptr<ManagedObject> known = liveObject(id)) {
        if (known->isDeleted()) {
            return std::nullopt;
        }
        for (const int attribute : attributes) {
            values.append(known->value(attribute));
        }
        return values;
    }
    const EntityDescription* entity = entityOf(id);
    if (!entity) {
        return std::nullopt;
    }
    bool found = false;
    const std::optional<ObjectStoreError> error = m_store.readRowsAmong(m_connection, *entity, attributes, {id.rowID()}, [&](ObjectStore::Row&& row) {
        values = std::move(row.values);
        found = true;
    });
    if (error || !found) {
        return std::nullopt;
    }
    return values;
}

QString ObjectContext::leadingText(const ObjectID& id, int attribute, qsizetype length)
{
    if (std::shared_ptr<ManagedObject> known = liveObject(id)) {
        return known->isDeleted() ? QString() : known->leadingText(attribute, length);
    }
    const EntityDescription* entity = entityOf(id);
    QString leading;
    if (entity) {
        m_store.readLeadingText(m_connection, *entity, id.rowID(), attribute, length, leading);
    }
    return leading;
}

} // namespace norvelle
