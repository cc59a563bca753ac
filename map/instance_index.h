#pragma once

// The render instances of a render by evaluated object, so that "Per Face" finds an object's instance
// without walking the whole instance list for every object it meets.
#include "plugin/host_sdk.h"

#include <unordered_map>

class InstanceIndex {
public:
    // An instance in the context's list whose evaluated object is `object` (the first when the index was
    // last built), or null. Callers serialise their calls.
    RenderInstance* FirstFor(RenderGlobalContext& context, Object* object);

private:
    // Instance numbers, not instances: a range render keeps the index for the whole job while each frame
    // makes its instances anew, perhaps in a context at the same address with as many instances. A number is
    // trusted only while the context still lists that object's instance under it.
    void Build(RenderGlobalContext& context);
    std::unordered_map<Object*, int> first;
};
