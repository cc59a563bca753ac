#pragma once

// The windows of parameter maps. The Windows build creates each map's rollout in the material editor's
// rollup window and binds its controls to the block; the Linux build has no window system, so its maps
// never have windows and these do nothing.
#include "hostsdk/param_map.h"

#include <vector>

class ClassDesc2;

// Creates one rollout per map, in order, from the descriptor's module. True without creating anything
// when the editor has no rollup window; false, leaving no window behind, when a rollout could not be
// created.
bool OpenRollouts(ClassDesc2* cd, HWND editorWindow, IMtlParams* params,
                  const std::vector<IParamMap2*>& maps);
// Shows the block's values in the controls of parameter `id` (-1: every parameter) of the map's rollout.
void RefreshRollout(IParamMap2& map, ParamID id);
// Destroys the map's rollout window.
void CloseRollout(IParamMap2& map);
