#pragma once

namespace norvelle {

// Hands memory the program has freed back to the system: the C library keeps freed memory
// for later use, so after a burst of megabytes the program would stay at its peak.
void returnFreedMemory();

} // namespace norvelle
