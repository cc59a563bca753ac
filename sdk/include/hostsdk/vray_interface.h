#pragma once

// What the V-Ray renderer offers maps beyond the host's own interfaces: its class IDs, and the interface its
// shading contexts carry, through which a map learns which render instance the current ray hit.
// Header only: a map reaches it by casting the ShadeContext it is given dynamically.
#include "hostsdk/max_types.h"

// The V-Ray renderer, as the host reports it as the current renderer.
constexpr Class_ID VRAY_RENDERER_CLASS_ID(0x73bab286, 0x77f8fd0c);
// What ShadeContext::ClassID answers for a V-Ray shading context.
constexpr Class_ID VRAY_SHADECONTEXT_CLASS_ID(0x777f469e, 0x4b0675f2);

namespace VUtils {

// The render instance that a ray hit.
struct VRayInstanceRecord {
    // The renderer's integer number of the instance.
    int instanceNumber = 0;
};

// An auxiliary object a V-Ray context may hold, answering numbered queries; an unknown query gives null.
class VRayQueryObject {
public:
    virtual ~VRayQueryObject() = default;
    virtual void* Query(DWORD queryId) = 0;
};

// Implemented by V-Ray's shading contexts alongside ShadeContext.
class VRayInterface {
public:
    virtual ~VRayInterface() = default;

    // The auxiliary object of the context; null when it holds none.
    virtual VRayQueryObject* GetQueryObject() { return nullptr; }
    // The instance record of the current ray's hit; null when the hit carries none.
    virtual const VRayInstanceRecord* GetHitInstance() = 0;
};

} // namespace VUtils
