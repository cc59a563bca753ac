#include "hostsdk/dependent_list.h"

#include <algorithm>

bool DependentList::Add(ReferenceMaker* maker) {
    if (maker == nullptr || Find(maker) != kNotFound)
        return false;
    slots.push_back(maker);
    ++live;
    if (indexed)
        positions.emplace(maker, slots.size() - 1);
    else if (slots.size() >= kIndexFrom)
        Index();
    return true;
}

void DependentList::Remove(ReferenceMaker* maker) {
    const std::size_t at = Find(maker);
    if (at == kNotFound)
        return;
    --live;
    if (!indexed) {
        slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(at));
        return;
    }
    slots[at] = nullptr;
    positions.erase(maker);
    if (2 * live < slots.size()) {
        slots.erase(std::remove(slots.begin(), slots.end(), nullptr), slots.end());
        Index();
    }
}

std::vector<ReferenceMaker*> DependentList::Makers() const {
    std::vector<ReferenceMaker*> makers;
    makers.reserve(live);
    for (ReferenceMaker* maker : slots)
        if (maker != nullptr)
            makers.push_back(maker);
    return makers;
}

std::size_t DependentList::Find(ReferenceMaker* maker) const {
    if (indexed) {
        const auto found = positions.find(maker);
        return found == positions.end() ? kNotFound : found->second;
    }
    const auto found = std::find(slots.begin(), slots.end(), maker);
    return found == slots.end() ? kNotFound : static_cast<std::size_t>(found - slots.begin());
}

void DependentList::Index() {
    positions.clear();
    for (std::size_t i = 0; i < slots.size(); ++i)
        if (slots[i] != nullptr)
            positions.emplace(slots[i], i);
    indexed = true;
}
