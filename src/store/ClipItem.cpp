#include "store/ClipItem.h"

#include "objectstore/ObjectContext.h"

namespace norvelle {

const EntityDescription& ClipItem::entity()
{
    static const EntityDescription description {
        QStringLiteral("ClipItem"),
        {
            {"id", AttributeType::UUID},
            {"content", AttributeType::String},
            {"createdAt", AttributeType::Date},
            {"sourceApp", AttributeType::String},
        },
        [](const EntityDescription& entity) { return std::make_shared<ClipItem>(entity); },
    };
    return description;
}

std::shared_ptr<ClipItem> ClipItem::insert(ObjectContext& context)
{
    return context.insert<ClipItem>();
}

TypedFetchRequest<ClipItem> ClipItem::fetchRequest()
{
    return {};
}

} // namespace norvelle
