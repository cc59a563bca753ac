#pragma once

// The triangle-mesh object.
#include "hostsdk/mesh.h"
#include "hostsdk/object.h"

constexpr ULONG TRIOBJ_CLASS_ID = 0x00000009;
constexpr Class_ID triObjectClassID(TRIOBJ_CLASS_ID, 0);

class SDK_API TriObject : public GeomObject {
public:
    TriObject();
    ~TriObject() override;

    Class_ID ClassID() override { return triObjectClassID; }
    void GetClassName(MSTR& name) override { name = _M("Mesh"); }
    RefTargetHandle Clone(RemapDir& remap) override;

    // Its own mesh, which the caller must not delete.
    Mesh* GetRenderMesh(TimeValue t, INode* inode, View& view, BOOL& needDelete) override;
    Mesh& GetMesh() { return mesh; }

    Mesh mesh;
};

SDK_API TriObject* CreateNewTriObject();
