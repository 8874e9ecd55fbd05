#include "objectstore/Predicate.h"

#include "objectstore/EntityDescription.h"
#include "objectstore/ManagedObject.h"
#include "objectstore/SqliteConnection.h"

namespace norvelle {

struct Predicate::Node {
    enum class Kind { Nothing,
        Equal,
        Greater,
        IsNull,
        Contains,
        IsBlank,
        And,
        Or,
        Not };
    Kind kind;
    QString attribute;
    QVariant value;
    std::shared_ptr<const Node> left;
    std::shared_ptr<const Node> right;
};

namespace {

using Node = Predicate::Node;
using Kind = Node::Kind;

std::shared_ptr<const Node> leaf(Kind kind, const QString& attribute, const QVariant& value = {})
{
    return std::make_shared<const Node>(Node {kind, attribute, value, nullptr, nullptr});
}

// Every character QString::trimmed() takes away, for SQL's trim().
const QString& whiteSpace()
{
    static const QString characters = [] {
        QString all;
        for (char32_t c = 0; c <= 0xffff; ++c) {
            if (QChar::isSpace(c)) {
                all += QChar(c);
            }
        }
        return all;
    }();
    return characters;
}

// Without `bindings` the values are written in as literals.
bool nodeSql(const Node& node, const EntityDescription& entity, QString& out, std::vector<QVariant>* bindings)
{
    if (node.kind == Kind::And || node.kind == Kind::Or) {
        QString left;
        QString right;
        if (!nodeSql(*node.left, entity, left, bindings) || !nodeSql(*node.right, entity, right, bindings)) {
            return false;
        }
        out = QStringLiteral("(%1 %2 %3)").arg(left, node.kind == Kind::And ? "AND" : "OR", right);
        return true;
    }
    if (node.kind == Kind::Nothing) {
        out = QStringLiteral("0");
        return true;
    }
    if (node.kind == Kind::Not) {
        QString inner;
        if (!nodeSql(*node.left, entity, inner, bindings)) {
            return false;
        }
        // An absent value makes a comparison unknown in SQL; NOT must still give true then,
        // as it does in memory.
        out = QStringLiteral("(%1 IS NOT 1)").arg(inner);
        return true;
    }
    const int index = entity.indexOf(node.attribute);
    if (index < 0) {
        return false;
    }
    const AttributeType type = entity.attributes[size_t(index)].type;
    const QString column = SqliteConnection::quoted(node.attribute);
    const auto value = [bindings](const QVariant& stored) {
        if (!bindings) {
            return SqliteConnection::literal(stored);
        }
        bindings->push_back(stored);
        return QStringLiteral("?");
    };
    const QVariant stored = storedForm(type, normalizedValue(type, node.value));
    switch (node.kind) {
    case Kind::Equal: out = column + " IS " + value(stored); return true;
    case Kind::Greater: out = column + " > " + value(stored); return true;
    case Kind::IsNull: out = column + " IS NULL"; return true;
    case Kind::IsBlank:
        out = QStringLiteral("trim(ifnull(%1, ''), %2) = ''").arg(column, SqliteConnection::literal(whiteSpace()));
        return true;
    case Kind::Contains:
        if (!bindings) {
            return false;
        }
        out = QStringLiteral("%1(%2, %3)").arg(QLatin1String(Predicate::containsFunctionName), column, value(node.value.toString()));
        return true;
    default:
        return false;
    }
}

bool nodeEvaluate(const Node& node, const ManagedObject& object)
{
    switch (node.kind) {
    case Kind::And: return nodeEvaluate(*node.left, object) && nodeEvaluate(*node.right, object);
    case Kind::Or: return nodeEvaluate(*node.left, object) || nodeEvaluate(*node.right, object);
    case Kind::Not: return !nodeEvaluate(*node.left, object);
    case Kind::Nothing: return false;
    default: break;
    }
    const int index = object.entity().indexOf(node.attribute);
    if (index < 0) {
        return false;
    }
    const AttributeType type = object.entity().attributes[size_t(index)].type;
    const QVariant current = object.value(index);
    const QVariant wanted = normalizedValue(type, node.value);
    switch (node.kind) {
    case Kind::Equal: return compareAttributeValues(type, current, wanted) == 0;
    case Kind::Greater: return current.isValid() && wanted.isValid() && compareAttributeValues(type, current, wanted) > 0;
    case Kind::IsNull: return !current.isValid();
    case Kind::Contains: return current.isValid() && Predicate::textContains(current.toString(), node.value.toString());
    case Kind::IsBlank: return current.toString().trimmed().isEmpty();
    default: return false;
    }
}

} // namespace

Predicate Predicate::equal(const QString& attribute, const QVariant& value) { return Predicate(leaf(Kind::Equal, attribute, value)); }
Predicate Predicate::greaterThan(const QString& attribute, const QVariant& value) { return Predicate(leaf(Kind::Greater, attribute, value)); }
Predicate Predicate::isNull(const QString& attribute) { return Predicate(leaf(Kind::IsNull, attribute)); }
Predicate Predicate::contains(const QString& attribute, const QString& text) { return Predicate(leaf(Kind::Contains, attribute, text)); }
Predicate Predicate::isBlank(const QString& attribute) { return Predicate(leaf(Kind::IsBlank, attribute)); }

Predicate Predicate::operator&&(const Predicate& other) const
{
    if (!m_node || !other.m_node) {
        return m_node ? *this : other;
    }
    return Predicate(std::make_shared<const Node>(Node {Kind::And, {}, {}, m_node, other.m_node}));
}

Predicate Predicate::operator||(const Predicate& other) const
{
    if (!m_node || !other.m_node) {
        return Predicate();
    }
    return Predicate(std::make_shared<const Node>(Node {Kind::Or, {}, {}, m_node, other.m_node}));
}

Predicate Predicate::operator!() const
{
    if (!m_node) {
        return Predicate(leaf(Kind::Nothing, {}));
    }
    return Predicate(std::make_shared<const Node>(Node {Kind::Not, {}, {}, m_node, nullptr}));
}

bool Predicate::sql(const EntityDescription& entity, QString& condition, std::vector<QVariant>& bindings) const
{
    condition.clear();
    return !m_node || nodeSql(*m_node, entity, condition, &bindings);
}

bool Predicate::indexSql(const EntityDescription& entity, QString& condition) const
{
    condition.clear();
    return !m_node || nodeSql(*m_node, entity, condition, nullptr);
}

bool Predicate::evaluate(const ManagedObject& object) const
{
    return !m_node || nodeEvaluate(*m_node, object);
}

bool Predicate::textContains(const QString& text, const QString& part)
{
    return text.contains(part, Qt::CaseInsensitive);
}

int compareAttributeValues(AttributeType type, const QVariant& left, const QVariant& right)
{
    if (!left.isValid() || !right.isValid()) {
        return int(left.isValid()) - int(right.isValid());
    }
    const QVariant a = storedForm(type, left);
    const QVariant b = storedForm(type, right);
    switch (type) {
    case AttributeType::Date:
    case AttributeType::Boolean:
    case AttributeType::Integer64: {
        const qint64 x = a.toLongLong();
        const qint64 y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case AttributeType::Double: {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case AttributeType::UUID:
    case AttributeType::String: {
        // The store compares UTF-8 bytes.
        const int order = a.toString().toUtf8().compare(b.toString().toUtf8());
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    case AttributeType::Binary: {
        const int order = a.toByteArray().compare(b.toByteArray());
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    }
    return 0;
}

} // namespace norvelle
