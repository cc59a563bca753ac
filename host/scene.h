#pragma once

// A scene as the host holds it: the top-level objects (for now texture maps) kept alive by references
// from the scene's root.
#include "hostsdk/mtl_base.h"

#include <vector>

namespace host {

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
    std::vector<Texmap*> Maps();

protected:
    void SetReference(int i, RefTargetHandle target) override;

private:
    std::vector<RefTargetHandle> objects;
};

} // namespace host
