#pragma once

// The makers that refer to a target, in the order they started to. A target may have thousands (a
// material worn by every node of a big scene), so adding, finding and removing one take constant time
// once the list is long; short lists are searched directly and cost no index.
#include "hostsdk/sdk_api.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

class ReferenceMaker;

class SDK_API DependentList {
public:
    // Adds maker at the end; false, changing nothing, when it is already listed.
    bool Add(ReferenceMaker* maker);
    // Removes maker, keeping the order of the others; nothing happens when it is not listed.
    void Remove(ReferenceMaker* maker);
    std::size_t Size() const { return live; }
    bool Empty() const { return live == 0; }
    // The makers in order.
    std::vector<ReferenceMaker*> Makers() const;

private:
    static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
    // Lists this long get the index.
    static constexpr std::size_t kIndexFrom = 16;

    std::size_t Find(ReferenceMaker* maker) const;
    void Index();

    // With the index, removed makers leave a null slot until half the slots are null, so that a removal
    // never shifts the whole list.
    std::vector<ReferenceMaker*> slots;
    std::unordered_map<ReferenceMaker*, std::size_t> positions;
    bool indexed = false;
    std::size_t live = 0;
};
