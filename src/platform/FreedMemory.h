#pragma once

namespace norvelle {

// Hands memory the program has freed back to the system: the C library keeps freed memory
// for later use, so after a burst of megabytes the program would stay at its peak. Done on a
// helper thread: walking a heap of hundreds of megabytes would hold the caller.
void returnFreedMemory();

// From here on, memory freed at the end of a heap goes back to the system as soon as a few
// megabytes lie free there. The C library otherwise raises that mark to tens of megabytes as
// large blocks come and go, keeps small freed blocks apart until a trim merges them into the
// end of their heap, and never trims a helper thread's heap from its end: after one large
// reply parsed on a helper thread the program would stay that much larger. Called once at start.
void returnFreedMemoryAsItGoes();

} // namespace norvelle
