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
    RenderedPolygons().OutToTri(*triangles);
    needDelete = TRUE;
    return triangles;
}

MNMesh& PolyObject::RenderPolygons() {
    if (rendering && renderPolygons == nullptr)
        renderPolygons = std::make_unique<MNMesh>(mm);
    return renderPolygons != nullptr ? *renderPolygons : mm;
}

void PolyObject::BeginRenderCopy() {
    rendering = true;
    renderPolygons.reset();
}

void PolyObject::EndRenderCopy() {
    rendering = false;
    renderPolygons.reset();
}
