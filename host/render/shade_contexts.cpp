#include "host/render/shade_contexts.h"

#include "host/render/transform_math.h"

#include "hostsdk/mesh.h"

namespace host {

template <class Base>
SurfaceShadeContext<Base>::SurfaceShadeContext(HostRenderGlobalContext& context, HostRenderInstance& instance,
                                               int face, const Point3& barycentric, TimeValue time)
    : instance(instance), face(face), barycentric(barycentric), time(time) {
    this->globContext = &context;
    this->mtlNum = instance.mesh->getFaceMtlIndex(face);
}

template <class Base> SurfaceShadeContext<Base>::~SurfaceShadeContext() = default;

template <class Base> Point3 SurfaceShadeContext<Base>::UVW(int channel) {
    Mesh& mesh = *instance.mesh;
    if (!mesh.mapSupport(channel))
        return Point3();
    // The channel exists, so Map only looks it up.
    const MeshMap& map = mesh.Map(channel);
    if (face >= map.getNumFaces())
        return Point3();
    const TVFace& corners = map.tf[static_cast<std::size_t>(face)];
    for (DWORD t : corners.t)
        if (t >= static_cast<DWORD>(map.getNumVerts()))
            return Point3();
    return Blend(barycentric, map.tv[corners.t[0]], map.tv[corners.t[1]], map.tv[corners.t[2]]);
}

template <class Base> Point3 SurfaceShadeContext<Base>::PObj() {
    const Mesh& mesh = *instance.mesh;
    const Face& f = mesh.faces[static_cast<std::size_t>(face)];
    return Blend(barycentric, mesh.verts[f.v[0]], mesh.verts[f.v[1]], mesh.verts[f.v[2]]);
}

template class SurfaceShadeContext<ShadeContext>;
template class SurfaceShadeContext<VUtils::VRayInterface>;

VRayShadeContext::~VRayShadeContext() = default;

bool VRayShadeContext::GetHitInstanceNumber(int& number) {
    number = instance.instanceNumber;
    return true;
}

} // namespace host
