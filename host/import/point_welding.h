#pragma once

// Welding of equal positions, as the importer joins the corners of a model's faces into shared vertices.
#include "hostsdk/color.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace host {

// Gives every point the index of the first equal point added, appending new points to `welded` in the
// order they first come. Points are equal when their coordinates compare equal, so +0 and -0 weld and a
// point with a NaN coordinate never does. `welded` keeps the points as they were given; points already in
// it when the welder is made take part.
class PointWelder {
public:
    // `coming`: how many points are to be added, at most; the table is made for all of them at once
    // instead of growing (and being rebuilt) as new points arrive.
    explicit PointWelder(std::vector<Point3>& welded, std::size_t coming = 0);

    int Add(const Point3& p);

    // Hints that `p` will be added soon: FetchSlot a good while before, FetchPoint a little before, so
    // that the memory Add reads is on its way (welding a large model otherwise waits on memory at every
    // point). Neither changes what Add answers.
    void FetchSlot(const Point3& p) const;
    void FetchPoint(const Point3& p) const;

private:
    std::uint32_t Slot(const Point3& p) const;
    // Makes `size` slots (a power of two) and puts every welded point in its slot.
    void Rebuild(std::size_t size);

    std::vector<Point3>& welded;
    // Open addressing with linear probing: an index into `welded`, or -1 for a free slot. Kept at most half
    // full, so that a probe finds its point or a free slot within a few steps.
    std::vector<std::int32_t> slots;
    std::uint32_t mask = 0;
};

} // namespace host
