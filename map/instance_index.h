#pragma once

// The render instances of a render by evaluated object, so that "Per Face" finds an object's instance
// without walking the whole instance list for every object it meets.
#include "plugin/host_sdk.h"

#include <unordered_map>

class InstanceIndex {
public:
    // The first instance in the context's list whose evaluated object is `object`, or null. The index is
    // built on the first call and again whenever the context or its instance count differs from the
    // last call's. Callers serialise their calls.
    RenderInstance* FirstFor(RenderGlobalContext& context, Object* object);

private:
    RenderGlobalContext* indexed = nullptr;
    int count = 0;
    std::unordered_map<Object*, RenderInstance*> first;
};
