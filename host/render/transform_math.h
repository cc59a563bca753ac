#pragma once

// Vector and transform arithmetic the renderer needs beyond the SDK's value types.
#include "hostsdk/color.h"
#include "hostsdk/matrix3.h"

#include <cmath>

namespace host {

inline Point3 Add(const Point3& a, const Point3& b) {
    return Point3(a.x + b.x, a.y + b.y, a.z + b.z);
}
inline Point3 Sub(const Point3& a, const Point3& b) {
    return Point3(a.x - b.x, a.y - b.y, a.z - b.z);
}
inline Point3 Scale(const Point3& a, float s) {
    return Point3(a.x * s, a.y * s, a.z * s);
}
inline float Dot(const Point3& a, const Point3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Point3 Cross(const Point3& a, const Point3& b) {
    return Point3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
inline float Length(const Point3& a) {
    return std::sqrt(Dot(a, a));
}
// The vector scaled to unit length; the zero vector stays zero.
inline Point3 Normalize(const Point3& a) {
    const float length = Length(a);
    return length > 0.0f ? Scale(a, 1.0f / length) : a;
}
// The weighted sum w.x * a + w.y * b + w.z * c, as barycentric interpolation uses it.
inline Point3 Blend(const Point3& w, const Point3& a, const Point3& b, const Point3& c) {
    return Point3(w.x * a.x + w.y * b.x + w.z * c.x, w.x * a.y + w.y * b.y + w.z * c.y,
                  w.x * a.z + w.y * b.z + w.z * c.z);
}

// A direction transformed without the translation row.
inline Point3 VectorTransform(const Matrix3& m, const Point3& v) {
    return Point3(v.x * m[0].x + v.y * m[1].x + v.z * m[2].x, v.x * m[0].y + v.y * m[1].y + v.z * m[2].y,
                  v.x * m[0].z + v.y * m[1].z + v.z * m[2].z);
}

// The transform that applies `first` and then `second`, as the host's row-vector product first * second.
inline Matrix3 Compose(const Matrix3& first, const Matrix3& second) {
    Matrix3 m;
    for (int i = 0; i < 3; ++i)
        m[i] = VectorTransform(second, first[i]);
    m[3] = second.PointTransform(first[3]);
    return m;
}

// The inverse of an affine transform; the identity for a singular one, which no renderable node has.
inline Matrix3 Inverse(const Matrix3& m) {
    const Point3 &a = m[0], &b = m[1], &c = m[2];
    const Point3 bc = Cross(b, c), ca = Cross(c, a), ab = Cross(a, b);
    const float det = Dot(a, bc);
    if (det == 0.0f || !std::isfinite(det))
        return Matrix3(true);
    Matrix3 inv;
    // Rows of the inverse of the 3 x 3 part are the columns of the adjugate divided by the determinant.
    inv[0] = Point3(bc.x / det, ca.x / det, ab.x / det);
    inv[1] = Point3(bc.y / det, ca.y / det, ab.y / det);
    inv[2] = Point3(bc.z / det, ca.z / det, ab.z / det);
    inv[3] = Scale(VectorTransform(inv, m[3]), -1.0f);
    return inv;
}

} // namespace host
