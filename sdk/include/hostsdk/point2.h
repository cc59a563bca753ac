#pragma once

// A point on the screen or in a plane.
struct Point2 {
    float x = 0.0f, y = 0.0f;

    constexpr Point2() = default;
    constexpr Point2(float x_, float y_) : x(x_), y(y_) {}

    friend constexpr bool operator==(const Point2&, const Point2&) = default;
};
