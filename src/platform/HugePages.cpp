#include "platform/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace norvelle {

namespace {

constexpr std::uintptr_t hugePage = std::uintptr_t(2) << 20;
// Below this, few whole huge pages fit and the faults saved are not worth a system call.
constexpr std::size_t worthwhileBytes = std::size_t(4) << 20;

} // namespace

void preferHugePages(void* data, std::size_t bytes)
{
    if (!data || bytes < worthwhileBytes)
        return;
    const auto start = (reinterpret_cast<std::uintptr_t>(data) + hugePage - 1) & ~(hugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(hugePage - 1);
    // Without huge pages the buffer simply stays in small ones.
    if (start < end)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

} // namespace norvelle
