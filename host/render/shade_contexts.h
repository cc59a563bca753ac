#pragma once

// The shading contexts the host's renderers hand to materials and maps, one per shaded pixel.
#include "host/render/render_instances.h"

#include "hostsdk/shade_context.h"
#include "hostsdk/vray.h"

namespace host {

// A point on face `face` of an instance's render mesh, given by barycentric weights of the face's corners,
// as a context deriving from `Base` (ShadeContext, or a renderer's own kind of it) reports it.
template <class Base> class SurfaceShadeContext : public Base {
public:
    SurfaceShadeContext(HostRenderGlobalContext& context, HostRenderInstance& instance, int face,
                        const Point3& barycentric, TimeValue time);
    ~SurfaceShadeContext() override;

    int NodeID() override { return instance.nodeID; }
    INode* Node() override { return instance.GetINode(); }
    Object* GetEvalObject() override { return instance.GetEvalObject(); }
    int FaceNumber() override { return face; }
    // The channel's texture vertices interpolated across the face; (0, 0, 0) for a channel the mesh lacks.
    Point3 UVW(int channel = 0) override;
    Point3 PObj() override;
    TimeValue CurTime() override { return time; }

    const Point3& Barycentric() const { return barycentric; }

protected:
    HostRenderInstance& instance;
    int face;
    Point3 barycentric;
    TimeValue time;
};

extern template class SurfaceShadeContext<ShadeContext>;
extern template class SurfaceShadeContext<VUtils::VRayInterface>;

// The scanline renderer's context.
using ScanlineShadeContext = SurfaceShadeContext<ShadeContext>;

// The V-Ray renderer's context: V-Ray's class ID, and the number of the instance the sample lies on.
class VRayShadeContext : public SurfaceShadeContext<VUtils::VRayInterface> {
public:
    using SurfaceShadeContext::SurfaceShadeContext;
    ~VRayShadeContext() override;

    bool GetHitInstanceNumber(int& number) override;
};

} // namespace host
