#pragma once

// Meshes that tests build by hand.
#include "hostsdk/mesh.h"
#include "hostsdk/render_context.h"

// Appends a unit box at x = offset: eight corners, six sides each made of two triangles that share an
// invisible diagonal. Its faces get material ID `materialId`.
void AddBox(Mesh& mesh, float offset = 0.0f, MtlID materialId = 0);

// A render of one instance: tests set its mesh and evaluated object.
class OneInstance : public RenderGlobalContext {
public:
    int NumRenderInstances() override { return 1; }
    RenderInstance* GetRenderInstance(int i) override { return i == 0 ? &instance : nullptr; }
    RenderInstance instance;
};
