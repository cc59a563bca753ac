#include "hostsdk/large_arrays.h"

#include <cstdint>

#include <sys/mman.h>

void AdviseHugePages(void* data, std::size_t bytes) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    // Below two huge pages the advice gains little and may round a small array up to a whole huge page.
    if (bytes < 2 * kHugePage)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    // Advice only: where it is refused the pages are ordinary ones.
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}
