#pragma once

// The view through which geometric objects are asked for render meshes.
#include "hostsdk/matrix3.h"
#include "hostsdk/point2.h"
#include "hostsdk/sdk_api.h"
#include "hostsdk/win32.h"

constexpr int PROJ_PERSPECTIVE = 0;
constexpr int PROJ_PARALLEL = 1;

class SDK_API View {
public:
    View() = default;
    View(const View&) = default;
    View& operator=(const View&) = default;
    virtual ~View();

    float screenW = 0.0f;
    float screenH = 0.0f;
    Matrix3 worldToView{true};
    int projType = PROJ_PERSPECTIVE;
    float fov = 0.0f;
    float pixelSize = 1.0f;
    Matrix3 affineTM{true};
    DWORD flags = 0;

    virtual Point2 ViewToScreen(Point3 p) = 0;
    virtual BOOL CheckForRenderAbort() { return FALSE; }
    virtual int Execute(int, ULONG_PTR = 0, ULONG_PTR = 0, ULONG_PTR = 0) { return 0; }
};
