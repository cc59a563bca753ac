#pragma once

// The triangle-mesh object.
#include "hostsdk/mesh.h"
#include "hostsdk/object.h"

#include <memory>

constexpr ULONG TRIOBJ_CLASS_ID = 0x00000009;
constexpr Class_ID triObjectClassID(TRIOBJ_CLASS_ID, 0);

class SDK_API TriObject : public GeomObject {
public:
    TriObject();
    ~TriObject() override;

    Class_ID ClassID() override { return triObjectClassID; }
    void GetClassName(MSTR& name) override { name = _M("Mesh"); }
    RefTargetHandle Clone(RemapDir& remap) override;

    // The render-time copy during a render, its own mesh otherwise; the caller must not delete either.
    Mesh* GetRenderMesh(TimeValue t, INode* inode, View& view, BOOL& needDelete) override;
    void BeginRenderCopy() override;
    void EndRenderCopy() override;
    Mesh& GetMesh() { return mesh; }

    Mesh mesh;

private:
    std::unique_ptr<Mesh> renderMesh;
};

SDK_API TriObject* CreateNewTriObject();
