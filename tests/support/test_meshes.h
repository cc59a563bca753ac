#pragma once

// Meshes that tests build by hand.
#include "hostsdk/mesh.h"
#include "hostsdk/mn_mesh.h"
#include "hostsdk/node.h"
#include "hostsdk/render_context.h"
#include "hostsdk/tri_object.h"

#include <vector>

// Appends a unit box at x = offset: eight corners, six sides each made of two triangles that share an
// invisible diagonal. Its faces get material ID `materialId`.
void AddBox(Mesh& mesh, float offset = 0.0f, MtlID materialId = 0);

// Appends the same box at `origin` to a polygon mesh, as six quads.
void AddCube(MNMesh& mesh, const Point3& origin = Point3(0.0f, 0.0f, 0.0f));

// A render of one instance: tests set its mesh and evaluated object.
class OneInstance : public RenderGlobalContext {
public:
    int NumRenderInstances() override { return 1; }
    RenderInstance* GetRenderInstance(int i) override { return i == 0 ? &instance : nullptr; }
    RenderInstance instance;
};

// A triangle-mesh object that records the times its render mesh is asked for.
class TimeRecordingTriObject : public TriObject {
public:
    Mesh* GetRenderMesh(TimeValue t, INode* node, View& view, BOOL& needDelete) override {
        renderMeshTimes.push_back(t);
        return TriObject::GetRenderMesh(t, node, view, needDelete);
    }
    std::vector<TimeValue> renderMeshTimes;
};

// A node that records the times its object is evaluated at.
class TimeRecordingNode : public INode {
public:
    ObjectState EvalWorldState(TimeValue t, BOOL evalHidden = TRUE) override {
        evalTimes.push_back(t);
        return INode::EvalWorldState(t, evalHidden);
    }
    std::vector<TimeValue> evalTimes;
};
