#pragma once

#include "objectstore/FetchRequest.h"
#include "objectstore/ManagedObject.h"

#include <memory>
#include <optional>

namespace norvelle {

class ObjectContext;

// A clip entity the note database declares; the clipboard history itself lives in memory.
class ClipItem : public ManagedObject {
public:
    enum Attribute { Id,
        Content,
        CreatedAt,
        SourceApp };

    explicit ClipItem(const EntityDescription& entity)
        : ManagedObject(entity)
    {
    }

    // The entity "ClipItem".
    static const EntityDescription& entity();
    static std::shared_ptr<ClipItem> insert(ObjectContext& context);
    static TypedFetchRequest<ClipItem> fetchRequest();

    std::optional<QUuid> id() const { return uuidValue(Id); }
    void setId(const std::optional<QUuid>& id) { setValue(Id, id ? QVariant(*id) : QVariant()); }
    QString content() const { return stringValue(Content); }
    void setContent(const QString& content) { setValue(Content, content); }
    QDateTime createdAt() const { return dateValue(CreatedAt); }
    void setCreatedAt(const QDateTime& date) { setValue(CreatedAt, date); }
    QString sourceApp() const { return stringValue(SourceApp); }
    void setSourceApp(const QString& name) { setValue(SourceApp, name); }
};

} // namespace norvelle
