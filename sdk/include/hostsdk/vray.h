#pragma once

// What the host SDK stand-in offers of the V-Ray and mental ray renderers: their class IDs, and V-Ray's
// shading-context interface with the instance hit by the current ray.
#include "hostsdk/shade_context.h"

constexpr Class_ID VRAY_RENDERER_CLASS_ID(0x73bab286, 0x77f8fd0c);
constexpr Class_ID VRAY_SHADE_CONTEXT_CLASS_ID(0x777f469e, 0x4b0675f2);
constexpr Class_ID MENTAL_RAY_RENDERER_CLASS_ID(0x58f67d6c, 0x4fcf3bc3);

// What a plug-in passes to VRayInterface::QueryAuxiliary before it reads the instance hit by the current
// ray; the answer is not used.
constexpr ULONG VRAY_HIT_INSTANCE_QUERY = 0xFFFF0002;

namespace VUtils {

// The shading context of V-Ray renders. Its ClassID() is VRAY_SHADE_CONTEXT_CLASS_ID.
class SDK_API VRayInterface : public ShadeContext {
public:
    ~VRayInterface() override;

    Class_ID ClassID() override { return VRAY_SHADE_CONTEXT_CLASS_ID; }
    // Asks the context's auxiliary object; the answer depends on the query.
    virtual void* QueryAuxiliary(ULONG) { return nullptr; }
    // The integer number of the render instance hit by the current ray; false when the hit carries no
    // instance record.
    virtual bool GetHitInstanceNumber(int& number) = 0;
};

} // namespace VUtils
