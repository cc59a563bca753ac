#include "hostsdk/large_arrays.h"

#include <cstdlib>

void* AllocateLarge(std::size_t bytes) {
    void* data = std::malloc(bytes);
    if (data != nullptr)
        AdviseHugePages(data, bytes);
    return data;
}

void* ReallocateLarge(void* data, std::size_t bytes) {
    void* moved = std::realloc(data, bytes);
    if (moved != nullptr)
        AdviseHugePages(moved, bytes);
    return moved;
}
