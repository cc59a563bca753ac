#include "host/import/point_welding.h"

#include <cstring>

namespace host {

namespace {

constexpr std::size_t kFirstSlots = 1024;

std::uint32_t Bits(float value) {
    // Adding +0 turns -0 into +0, so that the two zeros, which compare equal, also hash alike.
    const float normalised = value + 0.0f;
    std::uint32_t bits;
    std::memcpy(&bits, &normalised, sizeof bits);
    return bits;
}

// The finalising mix of MurmurHash3: every bit of the input moves about half the bits of the output.
std::uint32_t Mix(std::uint32_t h) {
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}

bool Equal(const Point3& a, const Point3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

} // namespace

PointWelder::PointWelder(std::vector<Point3>& welded, std::size_t coming) : welded(welded) {
    std::size_t size = kFirstSlots;
    while (2 * (welded.size() + coming) > size)
        size *= 2;
    Rebuild(size);
}

std::uint32_t PointWelder::Slot(const Point3& p) const {
    return Mix(Mix(Mix(Bits(p.x)) ^ Bits(p.y)) ^ Bits(p.z)) & mask;
}

void PointWelder::FetchSlot(const Point3& p) const {
    __builtin_prefetch(&slots[Slot(p)]);
}

void PointWelder::FetchPoint(const Point3& p) const {
    const std::int32_t index = slots[Slot(p)];
    if (index >= 0)
        __builtin_prefetch(&welded[static_cast<std::size_t>(index)]);
}

int PointWelder::Add(const Point3& p) {
    std::uint32_t slot = Slot(p);
    for (;; slot = (slot + 1) & mask) {
        const std::int32_t index = slots[slot];
        if (index < 0)
            break;
        if (Equal(welded[static_cast<std::size_t>(index)], p))
            return index;
    }
    const auto index = static_cast<std::int32_t>(welded.size());
    welded.push_back(p);
    slots[slot] = index;
    if (2 * welded.size() > slots.size())
        Rebuild(2 * slots.size());
    return index;
}

void PointWelder::Rebuild(std::size_t size) {
    slots.assign(size, -1);
    mask = static_cast<std::uint32_t>(size - 1);
    for (std::size_t i = 0; i < welded.size(); ++i) {
        std::uint32_t slot = Slot(welded[i]);
        while (slots[slot] >= 0)
            slot = (slot + 1) & mask;
        slots[slot] = static_cast<std::int32_t>(i);
    }
}

} // namespace host
