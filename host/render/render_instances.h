#pragma once

// The render-time view of a scene: one render instance per renderable node, numbered in scene order, and
// the global context that lists them for maps.
#include "hostsdk/render_context.h"

#include <memory>
#include <vector>

namespace host {

class HostRenderInstance : public RenderInstance {
public:
    HostRenderInstance() = default;
    ~HostRenderInstance() override;

    // The mesh when the object handed it over for deletion; otherwise the object keeps it.
    std::unique_ptr<Mesh> ownedMesh;
    // The mesh's vertices in camera space.
    std::vector<Point3> cameraVerts;
    // The number V-Ray's shading contexts report for this instance.
    int instanceNumber = 0;
};

class HostRenderGlobalContext : public RenderGlobalContext {
public:
    ~HostRenderGlobalContext() override;

    int NumRenderInstances() override { return static_cast<int>(instances.size()); }
    RenderInstance* GetRenderInstance(int i) override;

    // Appends an instance and links it after the previous one.
    HostRenderInstance& AddInstance(std::unique_ptr<HostRenderInstance> instance);
    HostRenderInstance& Instance(int i) const { return *instances[static_cast<std::size_t>(i)]; }

private:
    std::vector<std::unique_ptr<HostRenderInstance>> instances;
};

} // namespace host
