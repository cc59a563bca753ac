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
    // The polygons a render may change: during a render its render-time copy, made on the first call, so
    // that a render nothing writes into holds no second copy of the polygons; the stored ones otherwise.
    // The first call in a render must not race with other calls on the object.
    MNMesh& RenderPolygons();

    MNMesh mm;

private:
    // The polygons a render reads: the render-time copy once there is one, else the stored polygons.
    const MNMesh& RenderedPolygons() const { return renderPolygons != nullptr ? *renderPolygons : mm; }

    bool rendering = false;
    std::unique_ptr<MNMesh> renderPolygons;
};
