#include "platform/FreedMemory.h"

#include <QThreadPool>

#include <malloc.h>

namespace norvelle {

void returnFreedMemory()
{
    QThreadPool::globalInstance()->start([] { ::malloc_trim(0); });
}

void returnFreedMemoryAsItGoes()
{
    constexpr int freeHeapEndBytes = 4 * 1024 * 1024;
    ::mallopt(M_TRIM_THRESHOLD, freeHeapEndBytes);
    ::mallopt(M_MXFAST, 0);
}

} // namespace norvelle
