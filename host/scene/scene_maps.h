#pragma once

// Every map a loaded scene holds at any depth (in materials, in other maps), not only its top-level ones.
#include "host/scene/scene.h"

#include <vector>

namespace host {

// Every map the scene reaches through references, each once, in the order they are reached.
std::vector<Texmap*> SceneMaps(SceneRoot& scene);

} // namespace host
