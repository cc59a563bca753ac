#pragma once

// The controls of a rollout bound to parameters by the block descriptor's p_ui entries (Windows build):
// spinners with their edits, check boxes, drop-down lists, map and bitmap buttons.
#include "hostsdk/param_map.h"

// Links spinners to their edits with the parameters' limits and steps, and fills the drop-down lists.
void SetUpBoundControls(IParamMap2& map);
// Shows the block's values, at the host's current time, in the controls of parameter `id` (-1: all).
void ShowBoundParams(IParamMap2& map, ParamID id);
// Stores the change a bound control reports (WM_COMMAND, CC_SPINNER_CHANGE) at time `t`; true when the
// message came from a bound control.
bool StoreFromBoundControl(IParamMap2& map, TimeValue t, UINT msg, WPARAM wParam);
