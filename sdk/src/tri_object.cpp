#include "hostsdk/tri_object.h"

TriObject::TriObject() = default;

TriObject::~TriObject() = default;

RefTargetHandle TriObject::Clone(RemapDir& remap) {
    auto* copy = new TriObject();
    copy->mesh = mesh;
    BaseClone(this, copy, remap);
    return copy;
}

Mesh* TriObject::GetRenderMesh(TimeValue, INode*, View&, BOOL& needDelete) {
    needDelete = FALSE;
    return &mesh;
}

TriObject* CreateNewTriObject() {
    return new TriObject();
}
