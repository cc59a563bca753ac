#pragma once

// A scene as the host holds it: the top-level objects (texture maps and scene nodes) kept alive by
// references from the scene's root, and the camera the scene is rendered through.
#include "hostsdk/mtl_base.h"
#include "hostsdk/node.h"

#include <optional>
#include <vector>

namespace host {

// A camera at `position` looking at `target`, with `up` pointing up the picture; `fov` is the horizontal
// field of view in degrees.
struct SceneCamera {
    Point3 position{0.0f, -100.0f, 0.0f};
    Point3 target{0.0f, 0.0f, 0.0f};
    Point3 up{0.0f, 0.0f, 1.0f};
    float fov = 45.0f;

    friend bool operator==(const SceneCamera&, const SceneCamera&) = default;
};

class SceneRoot : public ReferenceMaker {
public:
    SceneRoot() = default;
    ~SceneRoot() override;

    SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
    int NumRefs() override { return static_cast<int>(objects.size()); }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage, BOOL) override {
        return REF_SUCCEED;
    }

    // Appends a top-level object; the scene keeps it alive.
    void AddObject(ReferenceTarget* object);
    void AddMap(Texmap* map) { AddObject(map); }
    void AddNode(INode* node) { AddObject(node); }
    // The top-level maps and nodes, in the order they were added.
    std::vector<Texmap*> Maps();
    std::vector<INode*> Nodes();

    // Without a camera the renderer frames the whole scene.
    const std::optional<SceneCamera>& Camera() const { return camera; }
    void SetCamera(std::optional<SceneCamera> newCamera) { camera = newCamera; }

protected:
    void SetReference(int i, RefTargetHandle target) override;

private:
    std::vector<RefTargetHandle> objects;
    std::optional<SceneCamera> camera;
};

} // namespace host
