#include "host/render/sample_slot.h"

#include "host/render/transform_math.h"

#include "hostsdk/shade_context.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace host {
namespace {

// Object space to world space: the object turned about its vertical axis and tipped towards the camera, so
// that the box shows three faces and the cylinder its top.
struct Rotation {
    Point3 rows[3];
    Point3 ToWorld(const Point3& v) const {
        return Point3(Dot(rows[0], v), Dot(rows[1], v), Dot(rows[2], v));
    }
    Point3 ToObject(const Point3& v) const {
        return Add(Add(Scale(rows[0], v.x), Scale(rows[1], v.y)), Scale(rows[2], v.z));
    }
};

Rotation SlotRotation() {
    const float spin = 35.0f * std::numbers::pi_v<float> / 180.0f;
    const float tilt = 25.0f * std::numbers::pi_v<float> / 180.0f;
    const float cs = std::cos(spin), ss = std::sin(spin), ct = std::cos(tilt), st = std::sin(tilt);
    // Tilt about x after the spin about z.
    return {{Point3(cs, -ss, 0.0f), Point3(ct * ss, ct * cs, -st), Point3(st * ss, st * cs, ct)}};
}

struct Hit {
    float t = 0;
    Point3 point;  // object space
    Point3 normal; // object space, unit
    Point3 uvw;
    int face = 0;
};

constexpr float kBoxHalf = 0.62f;
constexpr float kCylinderRadius = 0.72f;
constexpr float kCylinderHalf = 0.68f;

float Wrap01(float angle) {
    return 0.5f + angle / (2.0f * std::numbers::pi_v<float>);
}

std::optional<Hit> HitSphere(const Point3& o, const Point3& d) {
    const float b = Dot(o, d), c = Dot(o, o) - 1.0f, disc = b * b - c;
    if (disc < 0.0f)
        return std::nullopt;
    const float t = -b - std::sqrt(disc);
    if (t <= 0.0f)
        return std::nullopt;
    Hit hit{t, Add(o, Scale(d, t)), {}, {}, 0};
    hit.normal = Normalize(hit.point);
    hit.uvw =
        Point3(Wrap01(std::atan2(hit.point.y, hit.point.x)),
               0.5f + std::asin(std::clamp(hit.normal.z, -1.0f, 1.0f)) / std::numbers::pi_v<float>, 0.0f);
    return hit;
}

std::optional<Hit> HitBox(const Point3& o, const Point3& d) {
    const float origin[3] = {o.x, o.y, o.z}, direction[3] = {d.x, d.y, d.z};
    float enter = -1e30f, leave = 1e30f;
    int axis = -1;
    for (int a = 0; a < 3; ++a) {
        if (std::abs(direction[a]) < 1e-9f) {
            if (std::abs(origin[a]) > kBoxHalf)
                return std::nullopt;
            continue;
        }
        float t0 = (-kBoxHalf - origin[a]) / direction[a], t1 = (kBoxHalf - origin[a]) / direction[a];
        if (t0 > t1)
            std::swap(t0, t1);
        if (t0 > enter) {
            enter = t0;
            axis = a;
        }
        leave = std::min(leave, t1);
    }
    if (axis < 0 || enter > leave || enter <= 0.0f)
        return std::nullopt;
    Hit hit{enter, Add(o, Scale(d, enter)), {}, {}, 0};
    const float p[3] = {hit.point.x, hit.point.y, hit.point.z};
    const float sign = p[axis] > 0.0f ? 1.0f : -1.0f;
    float n[3] = {0, 0, 0};
    n[axis] = sign;
    hit.normal = Point3(n[0], n[1], n[2]);
    // Each face is mapped on its own, as the host's box maps its six sides.
    const int u = axis == 0 ? 1 : 0, v = axis == 2 ? 1 : 2;
    hit.uvw = Point3(p[u] / (2 * kBoxHalf) + 0.5f, p[v] / (2 * kBoxHalf) + 0.5f, 0.0f);
    hit.face = axis * 2 + (sign > 0.0f ? 1 : 0);
    return hit;
}

std::optional<Hit> HitCylinder(const Point3& o, const Point3& d) {
    std::optional<Hit> best;
    const float a = d.x * d.x + d.y * d.y;
    if (a > 1e-12f) {
        const float b = o.x * d.x + o.y * d.y, c = o.x * o.x + o.y * o.y - kCylinderRadius * kCylinderRadius;
        const float disc = b * b - a * c;
        if (disc >= 0.0f) {
            const float t = (-b - std::sqrt(disc)) / a;
            const Point3 p = Add(o, Scale(d, t));
            if (t > 0.0f && std::abs(p.z) <= kCylinderHalf) {
                best = Hit{t, p, Normalize(Point3(p.x, p.y, 0.0f)), {}, 0};
                best->uvw = Point3(Wrap01(std::atan2(p.y, p.x)), p.z / (2 * kCylinderHalf) + 0.5f, 0.0f);
            }
        }
    }
    for (const float cap : {kCylinderHalf, -kCylinderHalf}) {
        if (std::abs(d.z) < 1e-9f)
            break;
        const float t = (cap - o.z) / d.z;
        const Point3 p = Add(o, Scale(d, t));
        if (t > 0.0f && p.x * p.x + p.y * p.y <= kCylinderRadius * kCylinderRadius &&
            (!best || t < best->t)) {
            best = Hit{t, p, Point3(0.0f, 0.0f, cap > 0.0f ? 1.0f : -1.0f), {}, cap > 0.0f ? 1 : 2};
            best->uvw = Point3(p.x / (2 * kCylinderRadius) + 0.5f, p.y / (2 * kCylinderRadius) + 0.5f, 0.0f);
        }
    }
    return best;
}

class SlotShadeContext : public ShadeContext {
public:
    SlotShadeContext(const Hit& hit, TimeValue time) : hit(hit), time(time) { mtlNum = hit.face; }
    BOOL InMtlEditor() override { return TRUE; }
    int FaceNumber() override { return hit.face; }
    Point3 UVW(int) override { return hit.uvw; }
    Point3 PObj() override { return hit.point; }
    TimeValue CurTime() override { return time; }

private:
    const Hit& hit;
    TimeValue time;
};

float Channel(float albedo, float diffuse, float highlight) {
    return std::clamp(albedo * diffuse + highlight, 0.0f, 1.0f);
}

std::uint8_t Byte(float value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

} // namespace

std::optional<SlotPicture> RenderSampleSlot(Texmap& map, const SlotSettings& settings,
                                            const std::atomic<bool>* cancelled) {
    SlotPicture picture{std::max(settings.width, 0), std::max(settings.height, 0), {}};
    picture.bgrx.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) *
                        4);
    const Rotation rotation = SlotRotation();
    // Every ray starts at the eye; only its direction changes from pixel to pixel.
    const Point3 eye = rotation.ToObject(Point3(0.0f, -4.0f, 0.0f));
    // A key light from the upper left in front, a weaker fill from the right, a little ambient light and a
    // white highlight of the key light.
    const Point3 key = Normalize(Point3(-1.0f, -1.3f, 1.2f)), fill = Normalize(Point3(1.2f, -0.4f, -0.3f));
    const float halfView = 0.3f; // tangent of half the field of view: the sphere fills most of the slot
    const float aspect = picture.height > 0 ? static_cast<float>(picture.width) / picture.height : 1.0f;
    const int checkerCell = std::max(picture.width / 8, 1);
    for (int y = 0; y < picture.height; ++y) {
        if (cancelled != nullptr && cancelled->load(std::memory_order_relaxed))
            return std::nullopt;
        for (int x = 0; x < picture.width; ++x) {
            const float sx = ((x + 0.5f) / picture.width * 2.0f - 1.0f) * halfView * aspect;
            const float sz = (1.0f - (y + 0.5f) / picture.height * 2.0f) * halfView;
            const Point3 direction = Normalize(Point3(sx, 1.0f, sz));
            const Point3 d = rotation.ToObject(direction);
            std::optional<Hit> hit = settings.shape == SlotShape::Sphere ? HitSphere(eye, d)
                                     : settings.shape == SlotShape::Box  ? HitBox(eye, d)
                                                                         : HitCylinder(eye, d);
            const bool light = ((x / checkerCell) + (y / checkerCell)) % 2 == 0;
            const float background = settings.checker ? (light ? 0.75f : 0.2f) : 0.35f;
            float rgb[3] = {background, background, background};
            if (hit) {
                SlotShadeContext context(*hit, settings.time);
                const AColor colour = map.EvalColor(context);
                const Point3 normal = rotation.ToWorld(hit->normal);
                const Point3 toEye = Scale(direction, -1.0f);
                const float diffuse = 0.12f + 0.85f * std::max(Dot(normal, key), 0.0f) +
                                      0.3f * std::max(Dot(normal, fill), 0.0f);
                const float highlight =
                    0.35f * std::pow(std::max(Dot(normal, Normalize(Add(key, toEye))), 0.0f), 30.0f);
                const float alpha = std::clamp(colour.a, 0.0f, 1.0f);
                const float albedo[3] = {colour.r, colour.g, colour.b};
                for (int c = 0; c < 3; ++c)
                    rgb[c] = Channel(albedo[c], diffuse, highlight) * alpha + rgb[c] * (1.0f - alpha);
            }
            std::uint8_t* pixel = &picture.bgrx[(static_cast<std::size_t>(y) * picture.width + x) * 4];
            pixel[0] = Byte(rgb[2]);
            pixel[1] = Byte(rgb[1]);
            pixel[2] = Byte(rgb[0]);
            pixel[3] = 0;
        }
    }
    return picture;
}

} // namespace host
