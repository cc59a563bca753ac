#pragma once

// The renderer's per-sample context as texture maps see it.
#include "hostsdk/color.h"
#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"

class INode;
class Object;
class RenderGlobalContext;

class SDK_API ShadeContext {
public:
    ShadeContext() = default;
    ShadeContext(const ShadeContext&) = delete;
    ShadeContext& operator=(const ShadeContext&) = delete;
    virtual ~ShadeContext();

    virtual Class_ID ClassID() { return Class_ID(0, 0); }
    virtual BOOL InMtlEditor() { return FALSE; }
    // The renderer's number of the node being shaded, -1 outside a render.
    virtual int NodeID() { return -1; }
    virtual INode* Node() { return nullptr; }
    virtual Object* GetEvalObject() { return nullptr; }
    virtual int FaceNumber() = 0;
    // Channel 0 is vertex colour, 1 to 99 are map channels.
    virtual Point3 UVW(int channel = 0) = 0;
    // The shaded point in object space.
    virtual Point3 PObj() = 0;
    virtual TimeValue CurTime() { return 0; }

    int mtlNum = 0;
    RenderGlobalContext* globContext = nullptr;
};
