#include "map/instance_index.h"

void InstanceIndex::Build(RenderGlobalContext& context) {
    first.clear();
    const int count = context.NumRenderInstances();
    for (int i = 0; i < count; ++i)
        if (RenderInstance* instance = context.GetRenderInstance(i))
            first.emplace(instance->GetEvalObject(), i);
}

RenderInstance* InstanceIndex::FirstFor(RenderGlobalContext& context, Object* object) {
    const auto listed = [&]() -> RenderInstance* {
        const auto found = first.find(object);
        if (found == first.end())
            return nullptr;
        RenderInstance* instance = context.GetRenderInstance(found->second);
        return instance != nullptr && instance->GetEvalObject() == object ? instance : nullptr;
    };
    // An object missing from the index, or listed under a number that now holds another instance, means the
    // render's instances changed since the index was built (an object hidden, added or rebuilt).
    if (RenderInstance* instance = listed())
        return instance;
    Build(context);
    return listed();
}
