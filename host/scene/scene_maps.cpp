#include "host/scene/scene_maps.h"

#include <set>

namespace host {

namespace {

void CollectMaps(ReferenceMaker* maker, std::set<ReferenceMaker*>& seen, std::vector<Texmap*>& maps) {
    if (maker == nullptr || !seen.insert(maker).second)
        return;
    if (maker->SuperClassID() == TEXMAP_CLASS_ID)
        maps.push_back(static_cast<Texmap*>(maker));
    for (int i = 0; i < maker->NumRefs(); ++i)
        CollectMaps(maker->GetReference(i), seen, maps);
}

} // namespace

std::vector<Texmap*> SceneMaps(SceneRoot& scene) {
    std::set<ReferenceMaker*> seen;
    std::vector<Texmap*> maps;
    CollectMaps(&scene, seen, maps);
    return maps;
}

} // namespace host
