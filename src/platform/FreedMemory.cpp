#include "platform/FreedMemory.h"

#include <QThreadPool>

#include <malloc.h>
#include <mutex>

namespace norvelle {

void returnFreedMemory()
{
    // One trim at a time. The C library sets its heap up on the first call where nothing has used
    // it yet (under a sanitizer's allocator), and a second trim beside that one walks lists not
    // yet made.
    static std::mutex trimming;
    QThreadPool::globalInstance()->start([] {
        const std::lock_guard<std::mutex> oneAtATime(trimming);
        ::malloc_trim(0);
    });
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
