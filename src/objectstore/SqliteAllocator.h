#pragma once

namespace norvelle {

// SQLite's memory, taken from the C library as SQLite's own allocator takes it, except that a
// block of megabytes (a row of a large note as it is written or read) asks for huge pages.
namespace SqliteAllocator {

// Before SQLite's first use; once SQLite is in use it keeps the allocator it has.
void install();

} // namespace SqliteAllocator

} // namespace norvelle
