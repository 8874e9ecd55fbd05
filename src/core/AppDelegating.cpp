#include "core/AppDelegating.h"

namespace norvelle {

namespace {
AppDelegating* g_current = nullptr;
}

AppDelegating* AppDelegating::current()
{
    return g_current;
}

void AppDelegating::setCurrent(AppDelegating* delegate)
{
    g_current = delegate;
}

} // namespace norvelle
