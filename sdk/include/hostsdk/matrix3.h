#pragma once

#include "hostsdk/color.h"

// A 4x3 affine transform: three axis rows and a translation row, as the host stores it.
class Matrix3 {
public:
    constexpr Matrix3() = default;
    constexpr explicit Matrix3(bool identity) {
        if (identity)
            IdentityMatrix();
    }

    constexpr void IdentityMatrix() {
        rows[0] = Point3(1, 0, 0);
        rows[1] = Point3(0, 1, 0);
        rows[2] = Point3(0, 0, 1);
        rows[3] = Point3(0, 0, 0);
    }
    constexpr bool IsIdentity() const {
        return rows[0] == Point3(1, 0, 0) && rows[1] == Point3(0, 1, 0) && rows[2] == Point3(0, 0, 1) &&
               rows[3] == Point3(0, 0, 0);
    }
    constexpr Point3& operator[](int i) { return rows[i]; }
    constexpr const Point3& operator[](int i) const { return rows[i]; }
    constexpr Point3 PointTransform(const Point3& p) const {
        return Point3(p.x * rows[0].x + p.y * rows[1].x + p.z * rows[2].x + rows[3].x,
                      p.x * rows[0].y + p.y * rows[1].y + p.z * rows[2].y + rows[3].y,
                      p.x * rows[0].z + p.y * rows[1].z + p.z * rows[2].z + rows[3].z);
    }

private:
    Point3 rows[4];
};
