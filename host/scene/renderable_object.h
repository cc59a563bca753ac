#pragma once

// Which nodes a render draws: shared by the renderer and by whatever must see the scene as it does.
#include "hostsdk/node.h"
#include "hostsdk/object.h"

namespace host {

// The node's evaluated object when a render draws it: a visible node whose object is renderable geometry;
// null otherwise.
inline GeomObject* RenderableObject(INode& node, TimeValue t) {
    if (node.IsHidden())
        return nullptr;
    auto* object = dynamic_cast<GeomObject*>(node.EvalWorldState(t).obj);
    if (object == nullptr || object->SuperClassID() != GEOMOBJECT_CLASS_ID || !object->IsRenderable())
        return nullptr;
    return object;
}

} // namespace host
