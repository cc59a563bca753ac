#include "host/sheet/coordinate_fit.h"

#include "hostsdk/tex_gen.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

// The far side of the box lands just inside 1, so that it takes the last colour and the last tile rather
// than the index one past them ("As Tiles" would wrap it round to the first tile).
constexpr float kInside = 0.9999f;

} // namespace

void CoordinateBox::Add(const Point3& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        return;
    if (empty) {
        lo = hi = p;
        empty = false;
        return;
    }
    for (int axis = 0; axis < 3; ++axis) {
        lo[axis] = std::min(lo[axis], p[axis]);
        hi[axis] = std::max(hi[axis], p[axis]);
    }
}

CoordinateBox TransformedBox(const std::vector<Point3>& points, const Point3& offset, const Point3& scale,
                             const Point3& angle) {
    CoordinateBox box;
    for (const Point3& p : points)
        box.Add(TransformCoordinates(p, offset, scale, angle));
    return box;
}

CoordinateFit FitToUnitCube(const CoordinateBox& box) {
    CoordinateFit fit;
    if (box.empty)
        return fit;
    for (int axis = 0; axis < 3; ++axis) {
        fit.offset[axis] = -box.lo[axis];
        const float extent = box.hi[axis] - box.lo[axis];
        const float scale = kInside / extent;
        // A flat axis (whose scale is infinite), or one so thin or so wide that its extent or scale
        // overflows, stays at 0.
        fit.scale[axis] = std::isfinite(extent) && std::isfinite(scale) ? scale : 1.0f;
    }
    return fit;
}

} // namespace host
