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
    return renderMesh != nullptr ? renderMesh.get() : &mesh;
}

void TriObject::BeginRenderCopy() {
    renderMesh = std::make_unique<Mesh>(mesh);
}

void TriObject::EndRenderCopy() {
    renderMesh.reset();
}

TriObject* CreateNewTriObject() {
    return new TriObject();
}
