#pragma once

// The polygon-mesh object.
#include "hostsdk/mn_mesh.h"
#include "hostsdk/object.h"

#include <memory>

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
    void BeginRenderCopy() override;
    void EndRenderCopy() override;
    MNMesh& GetMesh() { return mm; }
    // The polygons a render uses: the render-time copy during a render, the stored ones otherwise.
    MNMesh& RenderPolygons() { return renderPolygons != nullptr ? *renderPolygons : mm; }

    MNMesh mm;

private:
    std::unique_ptr<MNMesh> renderPolygons;
};
