#pragma once

// Fitting a coordinate generator to a model: the offsets and scales that take the box of the points the
// generator reads onto the unit cube, the range over which the coordinate modes spread the palette.
#include "hostsdk/color.h"

#include <vector>

namespace host {

// The axis-aligned box of a set of points; empty until a finite point is added.
struct CoordinateBox {
    Point3 lo, hi;
    bool empty = true;

    // Widens the box to hold `p`; a point with a non-finite coordinate is left out.
    void Add(const Point3& p);
};

// The box of `points`, each moved by the standard generator's transform (offset, then scale, then angles).
CoordinateBox TransformedBox(const std::vector<Point3>& points, const Point3& offset, const Point3& scale,
                             const Point3& angle);

struct CoordinateFit {
    Point3 offset;
    Point3 scale{1.0f, 1.0f, 1.0f};
};

// The offsets and scales that take `box` onto [0, 1) along each axis; an axis without extent (or the whole
// of an empty box) goes to 0.
CoordinateFit FitToUnitCube(const CoordinateBox& box);

} // namespace host
