#pragma once

// The polygon-mesh object.
#include "hostsdk/mn_mesh.h"
#include "hostsdk/object.h"

// Polygon objects are recognised by the first word of their class ID.
constexpr ULONG POLYOBJ_CLASS_ID_A = 0x5d21369a;
constexpr Class_ID polyObjectClassID(POLYOBJ_CLASS_ID_A, 0x2a4c6e13);

class SDK_API PolyObject : public GeomObject {
public:
    PolyObject();
    ~PolyObject() override;

    Class_ID ClassID() override { return polyObjectClassID; }
    void GetClassName(MSTR& name) override { name = _M("Poly"); }
    RefTargetHandle Clone(RemapDir& remap) override;

    // A new triangle mesh of the polygons (MNMesh::OutToTri), which the caller owns and must delete.
    Mesh* GetRenderMesh(TimeValue t, INode* inode, View& view, BOOL& needDelete) override;
    MNMesh& GetMesh() { return mm; }

    MNMesh mm;
};
