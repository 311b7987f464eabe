#include "platform/HugePageHeap.h"

#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
// The largest block glibc lets come from the heap rather than a mapping of its own.
constexpr int kLargestHeapBlock = 32 << 20;

std::uintptr_t heapEnd()
{
    return reinterpret_cast<std::uintptr_t>(sbrk(0));
}

} // namespace

bool HugePageHeap::reserve(std::size_t bytes)
{
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    if (bytes < kHugePage || bytes > std::size_t(kLargestHeapBlock) * 4 ||
        mallopt(M_ARENA_MAX, 1) == 0 || mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock) == 0 ||
        mallopt(M_TOP_PAD, int(bytes)) == 0)
        return false;
    const std::uintptr_t before = heapEnd();
    // More than the top of the heap holds, so it grows, by this and the pad.
    void* volatile growth = std::malloc(kHugePage);
    std::free(growth);
    const std::uintptr_t begin = (before + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = heapEnd() & ~(kHugePage - 1);
    if (end <= begin)
        return false;
    return madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE) == 0;
#else
    (void)bytes;
    return false;
#endif
}
