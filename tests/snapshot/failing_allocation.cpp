#include "failing_allocation.h"

#include <cstdlib>
#include <new>

namespace {
// Allocations left before the failures start; negative when allocations never fail.
thread_local int allocationsBeforeFailure = -1;
} // namespace

void FailAllocationsAfter(int successfulAllocations) {
    allocationsBeforeFailure = successfulAllocations;
}

void StopFailingAllocations() {
    allocationsBeforeFailure = -1;
}

void* operator new(std::size_t size) {
    if (allocationsBeforeFailure == 0)
        throw std::bad_alloc();
    if (allocationsBeforeFailure > 0)
        --allocationsBeforeFailure;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
