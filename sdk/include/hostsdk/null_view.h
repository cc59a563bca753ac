#pragma once

// A view for asking objects for their render meshes outside a camera: identity world-to-view transform,
// a 640 x 480 screen, and points projected by dropping their depth.
#include "hostsdk/view.h"

class SDK_API NullView : public View {
public:
    NullView();
    ~NullView() override;

    Point2 ViewToScreen(Point3 p) override { return Point2(p.x, p.y); }
};
