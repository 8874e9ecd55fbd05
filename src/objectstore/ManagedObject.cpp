#include "objectstore/ManagedObject.h"

#include "objectstore/ObjectContext.h"

#include <algorithm>
#include <utility>

namespace norvelle {

ManagedObject::ManagedObject(const EntityDescription& entity)
    : m_entity(entity)
{
    m_values.resize(qsizetype(entity.attributes.size()));
}

QVariant ManagedObject::value(const QString& attribute) const
{
    return value(m_entity.indexOf(attribute));
}

void ManagedObject::setValue(const QString& attribute, const QVariant& value)
{
    const int index = m_entity.indexOf(attribute);
    if (index >= 0) {
        setValue(index, value);
    }
}

void ManagedObject::setValue(int attribute, const QVariant& value)
{
    if (attribute < 0 || attribute >= m_values.size()) {
        return;
    }
    // The stored value of an attribute left unread is read first, for a rollback to give back.
    if (!isInMemory(attribute)) {
        readUnread();
        std::erase(m_unread, attribute);
    }
    QVariant normalized = normalizedValue(m_entity.attributes[size_t(attribute)].type, value);
    if (normalized == m_values.at(attribute)) {
        return;
    }
    if (m_state == State::Saved && m_context) {
        m_state = State::Updated;
    }
    const auto saved = [attribute](const auto& entry) { return entry.first == attribute; };
    if (m_state == State::Updated && std::none_of(m_savedValues.begin(), m_savedValues.end(), saved)) {
        m_savedValues.emplace_back(attribute, m_values.at(attribute));
    }
    m_values[attribute] = std::move(normalized);
    if (m_context) {
        m_context->objectDidChange(*this);
    }
}

std::vector<int> ManagedObject::changedAttributes() const
{
    std::vector<int> changed;
    if (m_state != State::Updated) {
        return changed;
    }
    for (const auto& [attribute, stored] : m_savedValues) {
        if (m_values.at(attribute) != stored) {
            changed.push_back(attribute);
        }
    }
    std::sort(changed.begin(), changed.end());
    return changed;
}

QString ManagedObject::leadingText(int attribute, qsizetype length) const
{
    if (isInMemory(attribute) || !m_context) {
        return value(attribute).toString().left(length);
    }
    // A text that cannot be read shows as absent, as value() gives it.
    QString leading;
    m_context->store().readLeadingText(m_context->m_connection, m_entity, m_objectID.rowID(), attribute, length, leading);
    return leading;
}

void ManagedObject::readUnread() const
{
    if (!m_context) {
        return;
    }
    const std::vector<int> unread = std::exchange(m_unread, {});
    const std::optional<ObjectStoreError> error = m_context->store().readRowsAmong(m_context->m_connection, m_entity, unread, {m_objectID.rowID()}, [&](ObjectStore::Row&& row) {
        for (size_t i = 0; i < unread.size(); ++i) {
            m_values[unread[i]] = row.values[qsizetype(i)];
        }
    });
    // Tried again at the next use: an absent text must not be saved over the stored one.
    if (error) {
        m_unread = unread;
    }
}

std::optional<QUuid> ManagedObject::uuidValue(int attribute) const
{
    const QVariant stored = value(attribute);
    if (!stored.isValid()) {
        return std::nullopt;
    }
    return stored.toUuid();
}

} // namespace norvelle
