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

    // The defaults below are defined in the library, not here: a texture map calls them on every sample,
    // and a body the compiler could see would have it test for that body before every call.
    virtual Class_ID ClassID();
    virtual BOOL InMtlEditor();
    // The renderer's number of the node being shaded, -1 outside a render.
    virtual int NodeID();
    // The node being shaded; null in the material editor.
    virtual INode* Node();
    // The node's evaluated object; null in the material editor and for motion-blurred objects.
    virtual Object* GetEvalObject();
    // The index of the shaded face in the object's render mesh.
    virtual int FaceNumber() = 0;
    // Channel 0 is vertex colour, 1 to 99 are map channels.
    virtual Point3 UVW(int channel = 0) = 0;
    // The shaded point in object space.
    virtual Point3 PObj() = 0;
    virtual TimeValue CurTime();

    // The sub-material number: the material ID of the shaded face.
    int mtlNum = 0;
    // The render's global context, listing its render instances; null outside a render.
    RenderGlobalContext* globContext = nullptr;
};
