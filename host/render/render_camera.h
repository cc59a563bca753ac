#pragma once

// From a scene's camera to the renderer's transforms and pixel projection.
#include "host/render/rasteriser.h"
#include "host/scene/scene.h"

#include "hostsdk/view.h"

namespace host {

struct CameraSetup {
    Matrix3 camToWorld{true};
    Matrix3 worldToCam{true};
    Projection projection;
};

// Camera space looks down -z with y up the picture and x to the right; `up` only chooses the roll, and a
// camera whose up lies along its view direction takes another axis. The field of view is limited to
// 1..170 degrees.
CameraSetup SetUpCamera(const SceneCamera& camera, int width, int height);

// A camera from the front, right and above that shows the whole box lo..hi with a small margin.
SceneCamera FrameBounds(const Point3& lo, const Point3& hi, int width, int height);

// The view objects are given when asked for render meshes: the camera's transform and projection.
class CameraView : public View {
public:
    explicit CameraView(const CameraSetup& setup);
    ~CameraView() override;
    Point2 ViewToScreen(Point3 p) override;

private:
    Projection projection;
};

} // namespace host
