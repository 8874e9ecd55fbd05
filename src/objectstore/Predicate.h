#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace norvelle {

class ManagedObject;
struct EntityDescription;
enum class AttributeType;

// A filter on the attributes of one entity. It runs as SQL in the store and in memory on the
// objects a context has changed, with the same answer both ways: an absent value matches
// only isNull(), isBlank() and the negation of another test; it is smaller than any value when
// sorting.
class Predicate {
public:
    // The predicate that matches everything.
    Predicate() = default;

    static Predicate equal(const QString& attribute, const QVariant& value);
    static Predicate greaterThan(const QString& attribute, const QVariant& value);
    static Predicate isNull(const QString& attribute);
    // Case-insensitive substring of a text attribute.
    static Predicate contains(const QString& attribute, const QString& text);
    // Text that is absent or holds nothing but white space and line breaks, as
    // QString::trimmed() counts them.
    static Predicate isBlank(const QString& attribute);

    Predicate operator&&(const Predicate& other) const;
    Predicate operator||(const Predicate& other) const;
    Predicate operator!() const;

    // The SQL condition for `entity`, appending the values to bind; empty when it matches all.
    // Returns false when the predicate names an attribute the entity does not have.
    bool sql(const EntityDescription& entity, QString& condition, std::vector<QVariant>& bindings) const;
    // The same condition with the values written in, for the WHERE clause of a partial index
    // (which takes no bound values). SQLite still matches a query's bound values against it.
    // False also for contains(): another program writing the file has no such SQL function.
    bool indexSql(const EntityDescription& entity, QString& condition) const;
    bool evaluate(const ManagedObject& object) const;

    // The SQL function the store provides for contains(), and what it computes.
    static constexpr const char* containsFunctionName = "norvelle_contains";
    static bool textContains(const QString& text, const QString& part);

    struct Node;

private:
    explicit Predicate(std::shared_ptr<const Node> node)
        : m_node(std::move(node))
    {
    }
    std::shared_ptr<const Node> m_node;
};

// Orders two values of one attribute type as the store does: absent first, then by value.
int compareAttributeValues(AttributeType type, const QVariant& left, const QVariant& right);

} // namespace norvelle
