#include "objectstore/SqliteAllocator.h"

#include "platform/HugePages.h"

#include <sqlite3.h>

#include <malloc.h>

#include <cstdlib>

namespace norvelle {

namespace {

// SQLite builds a row it writes in a block of its own: for a note of megabytes that block is
// filled at once, and takes huge pages like the texts bound to it.
void* allocate(int bytes)
{
    void* block = std::malloc(size_t(bytes));
    preferHugePages(block, size_t(bytes));
    return block;
}

void* reallocate(void* block, int bytes)
{
    void* moved = std::realloc(block, size_t(bytes));
    preferHugePages(moved, size_t(bytes));
    return moved;
}

void release(void* block)
{
    std::free(block);
}

int allocatedSize(void* block)
{
    return int(::malloc_usable_size(block));
}

int roundedUp(int bytes)
{
    return (bytes + 7) & ~7;
}

int startAllocator(void*)
{
    return SQLITE_OK;
}

void stopAllocator(void*) { }

} // namespace

void SqliteAllocator::install()
{
    static const bool installed = [] {
        static const sqlite3_mem_methods methods {allocate, release, reallocate, allocatedSize, roundedUp, startAllocator, stopAllocator, nullptr};
        return sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) == SQLITE_OK;
    }();
    (void)installed;
}

} // namespace norvelle
