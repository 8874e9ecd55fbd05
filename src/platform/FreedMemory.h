#pragma once

namespace norvelle {

// Hands memory the program has freed back to the system: the C library keeps freed memory
// for later use, so after a burst of megabytes the program would stay at its peak. Done on a
// helper thread: walking a heap of hundreds of megabytes would hold the caller.
void returnFreedMemory();

// From here on, every thread allocates from one heap and small freed blocks merge at once, so
// that returnFreedMemory() reaches all that was freed. The C library otherwise gives helper
// threads heaps of their own, which a trim never shrinks from their end, and keeps small freed
// blocks apart until a trim: after one large reply parsed on a helper thread the program would
// stay that much larger. Called once at start.
void returnFreedMemoryAsItGoes();

} // namespace norvelle
