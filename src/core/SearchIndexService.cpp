#include "core/SearchIndexService.h"

namespace norvelle {

SearchIndexService& SearchIndexService::shared()
{
    static SearchIndexService instance;
    return instance;
}

} // namespace norvelle
