#include "platform/FreedMemory.h"

#include <malloc.h>

namespace norvelle {

void returnFreedMemory()
{
    ::malloc_trim(0);
}

} // namespace norvelle
