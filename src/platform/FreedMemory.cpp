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
    // One heap for every thread, so a trim reaches what a helper thread freed. A fixed trim
    // threshold would also fix the size from which blocks are mapped on their own, and every
    // large text an editor makes would then be mapped and faulted in afresh.
    ::mallopt(M_ARENA_MAX, 1);
    ::mallopt(M_MXFAST, 0);
}

} // namespace norvelle
