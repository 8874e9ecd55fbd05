#include "objectstore/ObjectID.h"

#include <QRegularExpression>

namespace norvelle {

namespace {
const QString scheme = QStringLiteral("x-norvelle");
}

ObjectID::ObjectID(QUuid storeID, QString entityName, qint64 rowID)
    : m_storeID(storeID)
    , m_entityName(std::move(entityName))
    , m_rowID(rowID)
{
}

QString ObjectID::uriString() const
{
    return QStringLiteral("%1://%2/%3/p%4")
        .arg(scheme, m_storeID.toString(QUuid::WithoutBraces), m_entityName)
        .arg(m_rowID);
}

// Lower-case hexadecimal: a URL host is lower case, so the text and the URL agree.
QUrl ObjectID::uriRepresentation() const
{
    return QUrl(uriString());
}

std::optional<ObjectID> ObjectID::fromURI(const QString& text)
{
    // Anchored to the whole text: "$" alone would also match before a final line break.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("x-norvelle://([0-9A-Fa-f-]{36})/([A-Za-z_][A-Za-z0-9_]*)/p([1-9][0-9]{0,17})")));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const QUuid store(match.captured(1));
    if (store.isNull()) {
        return std::nullopt;
    }
    return ObjectID(store, match.captured(2), match.captured(3).toLongLong());
}

} // namespace norvelle
