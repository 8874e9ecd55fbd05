#pragma once

#include <cstddef>

namespace norvelle {

// Asks that a large buffer about to be filled at once be backed by huge pages where the system
// allows: touching tens of megabytes afresh a 4 KB page at a time costs a page fault each,
// a tenth of a second for 40 MB. Buffers under a few megabytes are left as they are. Only the
// part of the buffer made of whole huge pages is marked; its contents are unchanged.
void preferHugePages(void* data, std::size_t bytes);

} // namespace norvelle
