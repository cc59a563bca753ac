#include "hostsdk/poly_object.h"

#include "hostsdk/mesh.h"

PolyObject::PolyObject() = default;

PolyObject::~PolyObject() = default;

RefTargetHandle PolyObject::Clone(RemapDir& remap) {
    auto* copy = new PolyObject();
    copy->mm = mm;
    BaseClone(this, copy, remap);
    return copy;
}

Mesh* PolyObject::GetRenderMesh(TimeValue, INode*, View&, BOOL& needDelete) {
    auto* triangles = new Mesh();
    RenderPolygons().OutToTri(*triangles);
    needDelete = TRUE;
    return triangles;
}

void PolyObject::BeginRenderCopy() {
    renderPolygons = std::make_unique<MNMesh>(mm);
}

void PolyObject::EndRenderCopy() {
    renderPolygons.reset();
}
