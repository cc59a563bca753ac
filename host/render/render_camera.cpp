#include "host/render/render_camera.h"

#include "host/render/transform_math.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace host {

namespace {

float Radians(float degrees) {
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

} // namespace

CameraSetup SetUpCamera(const SceneCamera& camera, int width, int height) {
    Point3 forward = Normalize(Sub(camera.target, camera.position));
    if (Length(forward) == 0.0f)
        forward = Point3(0.0f, 1.0f, 0.0f);
    Point3 right = Normalize(Cross(forward, camera.up));
    if (Length(right) == 0.0f)
        right = Normalize(Cross(forward, std::abs(forward.z) < 0.9f ? Point3(0, 0, 1) : Point3(0, 1, 0)));
    const Point3 up = Cross(right, forward);

    CameraSetup setup;
    setup.camToWorld[0] = right;
    setup.camToWorld[1] = up;
    setup.camToWorld[2] = Scale(forward, -1.0f);
    setup.camToWorld[3] = camera.position;
    setup.worldToCam = Inverse(setup.camToWorld);

    const float fov = std::clamp(std::isfinite(camera.fov) ? camera.fov : 45.0f, 1.0f, 170.0f);
    Projection& p = setup.projection;
    p.width = width;
    p.height = height;
    p.xscale = static_cast<float>(width) / 2.0f / std::tan(Radians(fov) / 2.0f);
    p.yscale = p.xscale;
    p.xc = static_cast<float>(width) / 2.0f;
    p.yc = static_cast<float>(height) / 2.0f;
    return setup;
}

SceneCamera FrameBounds(const Point3& lo, const Point3& hi, int width, int height) {
    SceneCamera camera;
    camera.target = Scale(Add(lo, hi), 0.5f);
    const float radius = std::max(Length(Sub(hi, lo)) / 2.0f, 1e-3f);
    const float halfX = Radians(camera.fov) / 2.0f;
    const float halfY =
        std::atan(std::tan(halfX) * static_cast<float>(height) / static_cast<float>(std::max(width, 1)));
    const float distance = 1.05f * radius / std::sin(std::min(halfX, halfY));
    camera.position = Add(camera.target, Scale(Normalize(Point3(0.6f, -1.0f, 0.6f)), distance));
    camera.up = Point3(0.0f, 0.0f, 1.0f);
    return camera;
}

CameraView::CameraView(const CameraSetup& setup) : projection(setup.projection) {
    worldToView = setup.worldToCam;
    screenW = static_cast<float>(projection.width);
    screenH = static_cast<float>(projection.height);
    projType = PROJ_PERSPECTIVE;
    fov = 2.0f * std::atan(projection.xc / projection.xscale);
}

CameraView::~CameraView() = default;

Point2 CameraView::ViewToScreen(Point3 p) {
    const float depth = -p.z;
    if (depth <= 0.0f)
        return Point2(projection.xc, projection.yc);
    return Point2(projection.xc + projection.xscale * p.x / depth,
                  projection.yc - projection.yscale * p.y / depth);
}

} // namespace host
