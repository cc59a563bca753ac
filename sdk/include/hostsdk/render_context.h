#pragma once

// What a renderer tells maps about the whole render: its settings and the list of instances it renders.
#include "hostsdk/matrix3.h"
#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"
#include "hostsdk/view.h"

class INode;
class Mesh;
class Mtl;
class Object;
class Renderer;

// One node as the renderer renders it. The renderer owns the instance and its mesh.
class SDK_API RenderInstance {
public:
    RenderInstance() = default;
    RenderInstance(const RenderInstance&) = delete;
    RenderInstance& operator=(const RenderInstance&) = delete;
    virtual ~RenderInstance();

    ULONG flags = 0;
    Mtl* mtl = nullptr;
    float wireSize = 1.0f;
    // The render mesh the object gave for this render.
    Mesh* mesh = nullptr;
    float vis = 1.0f;
    // The renderer's number of the node, 0, 1, 2, ... in the order of the instance list.
    int nodeID = -1;
    int objMotBlurFrame = 0;
    int objBlurID = 0;
    Matrix3 objToWorld{true};
    Matrix3 objToCam{true};
    Matrix3 normalObjToCam{true};
    Matrix3 camToObj{true};
    Point3 center;
    float radsq = 0.0f;

    virtual RenderInstance* Next() { return next; }
    virtual INode* GetINode() { return node; }
    // Null when the object is motion-blurred.
    virtual Object* GetEvalObject() { return evalObject; }

    // For the renderer building its instance list.
    void SetNext(RenderInstance* instance) { next = instance; }
    void SetINode(INode* n) { node = n; }
    void SetEvalObject(Object* object) { evalObject = object; }

private:
    RenderInstance* next = nullptr;
    INode* node = nullptr;
    Object* evalObject = nullptr;
};

class SDK_API RenderGlobalContext {
public:
    RenderGlobalContext() = default;
    RenderGlobalContext(const RenderGlobalContext&) = delete;
    RenderGlobalContext& operator=(const RenderGlobalContext&) = delete;
    virtual ~RenderGlobalContext();

    Renderer* renderer = nullptr;
    int projType = PROJ_PERSPECTIVE;
    int devWidth = 0;
    int devHeight = 0;
    float devAspect = 1.0f;
    float xscale = 1.0f;
    float yscale = 1.0f;
    float xc = 0.0f;
    float yc = 0.0f;
    Matrix3 camToWorld{true};
    Matrix3 worldToCam{true};
    float nearRange = 0.0f;
    float farRange = 0.0f;
    TimeValue time = 0;
    BOOL inMtlEdit = FALSE;

    virtual int NumRenderInstances() { return 0; }
    virtual RenderInstance* GetRenderInstance(int) { return nullptr; }
};
