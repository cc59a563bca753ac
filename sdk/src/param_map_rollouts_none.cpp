// Builds without a window system: parameter maps keep their state and have no windows.
#include "param_map_rollouts.h"

bool OpenRollouts(ClassDesc2*, HWND, IMtlParams*, const std::vector<IParamMap2*>&) {
    return true;
}

void RefreshRollout(IParamMap2&, ParamID) {}

void CloseRollout(IParamMap2&) {}
