#include "host/scene/scene.h"

namespace host {

SceneRoot::~SceneRoot() {
    DeleteAllRefs();
}

RefTargetHandle SceneRoot::GetReference(int i) {
    if (i < 0 || i >= NumRefs())
        return nullptr;
    return objects[static_cast<std::size_t>(i)];
}

void SceneRoot::SetReference(int i, RefTargetHandle target) {
    if (i >= 0 && i < NumRefs())
        objects[static_cast<std::size_t>(i)] = target;
}

void SceneRoot::AddObject(ReferenceTarget* object) {
    objects.push_back(nullptr);
    ReplaceReference(NumRefs() - 1, object);
}

std::vector<Texmap*> SceneRoot::Maps() {
    std::vector<Texmap*> maps;
    for (RefTargetHandle object : objects)
        if (auto* map = dynamic_cast<Texmap*>(object))
            maps.push_back(map);
    return maps;
}

std::vector<INode*> SceneRoot::Nodes() {
    std::vector<INode*> nodes;
    for (RefTargetHandle object : objects)
        if (auto* node = dynamic_cast<INode*>(object))
            nodes.push_back(node);
    return nodes;
}

} // namespace host
