#include "host/base/huge_page_heap.h"

#include "hostsdk/large_arrays.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace host {

void PlaceHeapOnHugePages() {
    // The heap then grows by at least this much whenever it grows, and gives memory back to the system only
    // above it.
    constexpr int kReserve = 1 << 30;
    // Below the size at which the allocator maps a block of its own, so that these come from the heap.
    constexpr std::size_t kBlock = 96 << 10;
    char* const before = static_cast<char*>(sbrk(0));
    if (before == reinterpret_cast<char*>(-1) || mallopt(M_TOP_PAD, kReserve) != 1)
        return;
    // Blocks are taken until the heap has grown once, by the reserve; an allocator that does not grow the
    // heap (a sanitizer's, valgrind's) stops the loop at its bound.
    std::vector<void*> blocks;
    blocks.reserve(64);
    while (static_cast<char*>(sbrk(0)) == before && blocks.size() < blocks.capacity())
        blocks.push_back(std::malloc(kBlock));
    char* const after = static_cast<char*>(sbrk(0));
    if (after > before)
        AdviseHugePages(before, static_cast<std::size_t>(after - before));
    for (void* block : blocks)
        std::free(block);
}

} // namespace host
