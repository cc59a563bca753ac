#pragma once

// The stand-in host's own helper beside the SDK's types: large arrays of meshes and renders placed on huge
// pages where the system offers them, so that filling an array of a million faces takes a few hundred
// page faults rather than tens of thousands.
#include "hostsdk/sdk_api.h"

#include <algorithm>
#include <cstddef>
#include <vector>

// Advises huge pages for the whole 2 MiB blocks within [data, data + bytes), before they are first written.
// Does nothing for small ranges, or where the system has no such advice.
SDK_API void AdviseHugePages(void* data, std::size_t bytes);

// std::malloc and std::realloc, with huge pages advised for a large block (freed with std::free), for
// decoders that take their own allocation functions: a decoded picture of tens of megapixels is one block.
SDK_API void* AllocateLarge(std::size_t bytes);
SDK_API void* ReallocateLarge(void* data, std::size_t bytes);

// Makes room for `count` items, growing as push_back does (at least doubling); large room is advised onto
// huge pages before any item is written into it.
template <class T> void ReserveLarge(std::vector<T>& items, std::size_t count) {
    if (count <= items.capacity())
        return;
    items.reserve(std::max(count, 2 * items.capacity()));
    AdviseHugePages(items.data(), items.capacity() * sizeof(T));
}
