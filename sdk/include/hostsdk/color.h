#pragma once

// Host value types for colours and points: plain floats, no behaviour beyond arithmetic.

struct Point3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;

    constexpr Point3() = default;
    constexpr Point3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    constexpr float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    constexpr float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    friend constexpr bool operator==(const Point3&, const Point3&) = default;
};

struct Color {
    float r = 0.0f, g = 0.0f, b = 0.0f;

    constexpr Color() = default;
    constexpr Color(float r_, float g_, float b_) : r(r_), g(g_), b(b_) {}

    constexpr float& operator[](int i) { return i == 0 ? r : (i == 1 ? g : b); }
    constexpr float operator[](int i) const { return i == 0 ? r : (i == 1 ? g : b); }
    friend constexpr bool operator==(const Color&, const Color&) = default;
};

struct AColor {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;

    constexpr AColor() = default;
    constexpr AColor(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}
    constexpr explicit AColor(const Color& c, float a_ = 1.0f) : r(c.r), g(c.g), b(c.b), a(a_) {}

    constexpr float& operator[](int i) { return i == 0 ? r : (i == 1 ? g : (i == 2 ? b : a)); }
    constexpr float operator[](int i) const { return i == 0 ? r : (i == 1 ? g : (i == 2 ? b : a)); }
    friend constexpr bool operator==(const AColor&, const AColor&) = default;
};
