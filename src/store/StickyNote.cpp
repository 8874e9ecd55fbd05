#include "store/StickyNote.h"

#include "objectstore/ObjectContext.h"

namespace norvelle {

namespace {

Predicate incomplete()
{
    return Predicate::isBlank(QStringLiteral("title")) || Predicate::isNull(QStringLiteral("updatedAt"))
        || Predicate::isNull(QStringLiteral("version")) || Predicate::equal(QStringLiteral("version"), qint64(0));
}

} // namespace

const EntityDescription& StickyNote::entity()
{
    using Type = AttributeType;
    static const EntityDescription description {
        QStringLiteral("StickyNote"),
        {
            {"id", Type::UUID},
            {"createdAt", Type::Date},
            {"title", Type::String},
            {"paperColor", Type::String},
            {"textureName", Type::String},
            {"content", Type::Binary, {}, true},
            {"plainText", Type::String, {}, true},
            {"updatedAt", Type::Date},
            {"version", Type::Integer64, qint64(0)},
            {"lastSyncedVersion", Type::Integer64, qint64(0)},
            {"updatedBy", Type::String},
            {"ownerId", Type::String},
            {"workspaceId", Type::String},
            {"permissions", Type::String},
            {"shareToken", Type::String},
            {"sharePreviewURL", Type::String},
            {"isPinned", Type::Boolean, false},
            {"isArchived", Type::Boolean, false},
            {"isWindowOpen", Type::Boolean, false},
            {"deletedAt", Type::Date},
            {"opacity", Type::Double, 1.0},
        },
        [](const EntityDescription& entity) { return std::make_shared<StickyNote>(entity); },
        {{"-updatedAt", "-createdAt"}},
        {{QStringLiteral("incomplete"), incomplete()}},
    };
    return description;
}

std::shared_ptr<StickyNote> StickyNote::insert(ObjectContext& context)
{
    return context.insert<StickyNote>();
}

TypedFetchRequest<StickyNote> StickyNote::fetchRequest()
{
    return {};
}

TypedFetchRequest<StickyNote> StickyNote::fetchRequestNewestFirst()
{
    TypedFetchRequest<StickyNote> request;
    request.sortDescriptors = {{QStringLiteral("updatedAt"), false}, {QStringLiteral("createdAt"), false}};
    return request;
}

TypedFetchRequest<StickyNote> StickyNote::fetchRequestIncomplete()
{
    TypedFetchRequest<StickyNote> request;
    request.predicate = incomplete();
    return request;
}

} // namespace norvelle
