#pragma once

// The scene the render command uses when it is given none: the built-in primitives on a ground plane,
// all wearing one standard material whose diffuse slot holds a Chromasift map.
#include "host/scene/scene_json.h"

namespace host {

// The scene document, as a scene file would hold it. Its map has no bitmap yet. Nodes, in order: "Ground"
// (plane), "Box", "Sphere", "Cylinder", "PolyBox", with G-buffer object IDs 1 to 5.
Json BuiltinScene();

} // namespace host
