#pragma once

#include "objectstore/EntityDescription.h"
#include "objectstore/SqliteConnection.h"

#include <QStringList>

namespace norvelle {

// The attribute columns of `entity` in declaration order, as a statement lists them.
inline QString columnList(const EntityDescription& entity)
{
    QStringList columns;
    for (const AttributeDescription& attribute : entity.attributes) {
        columns << SqliteConnection::quoted(attribute.name);
    }
    return columns.join(", ");
}

} // namespace norvelle
