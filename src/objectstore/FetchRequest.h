#pragma once

#include "objectstore/Predicate.h"

#include <QString>

#include <vector>

namespace norvelle {

struct SortDescriptor {
    QString attribute;
    bool ascending = true;
};

// What to fetch: every object of an entity matching the predicate, in the order of the sort
// descriptors (then by insertion), at most fetchLimit of them (0 = all).
struct FetchRequest {
    explicit FetchRequest(QString entity)
        : entityName(std::move(entity))
    {
    }

    QString entityName;
    Predicate predicate;
    std::vector<SortDescriptor> sortDescriptors;
    int fetchLimit = 0;
};

// A fetch request whose results are objects of the entity class T.
template <class T>
struct TypedFetchRequest : FetchRequest {
    TypedFetchRequest()
        : FetchRequest(T::entity().name)
    {
    }
};

} // namespace norvelle
