#include "map/instance_index.h"

RenderInstance* InstanceIndex::FirstFor(RenderGlobalContext& context, Object* object) {
    if (indexed != &context || count != context.NumRenderInstances()) {
        first.clear();
        indexed = &context;
        count = context.NumRenderInstances();
        for (int i = 0; i < count; ++i)
            if (RenderInstance* instance = context.GetRenderInstance(i))
                first.emplace(instance->GetEvalObject(), instance);
    }
    const auto found = first.find(object);
    return found == first.end() ? nullptr : found->second;
}
