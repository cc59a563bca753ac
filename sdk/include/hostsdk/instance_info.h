#pragma once

// The interface an instancing plug-in may put on the objects it evaluates, to tell maps which instance a
// shaded sample belongs to.
#include "hostsdk/function_publishing.h"

class ShadeContext;

constexpr Interface_ID IINSTANCEINFO_INTERFACE_ID(0x6afe7c5e, 0x15813e00);

class SDK_API IInstanceInfo : public BaseInterface {
public:
    ~IInstanceInfo() override;
    Interface_ID GetID() override { return IINSTANCEINFO_INTERFACE_ID; }

    // Fills two values that identify the instance under the sample being shaded.
    virtual void GetInstanceValues(ShadeContext& sc, float& first, float& second) = 0;
};
