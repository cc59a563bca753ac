#pragma once

// A range render hands each frame's time to the renderer while the time slider stays where the scene put
// it, as the host does: the map parameters that the host's renderers and V-Ray read at the slider show
// their value there on every frame, however they are keyed.
#include "host/job/render_options.h"
#include "host/scene/scene.h"
#include "host/scene/scene_json.h"

#include <string>

namespace host {

// The warning a range of more than one frame gets when a Chromasift map of the scene keys such a parameter,
// naming each once; empty for one frame, for mental ray (which reads them at the rendered frame) and for a
// scene without such keys.
std::string SliderKeysWarning(SceneRoot& scene, const RenderOptions& options);
// The same from a scene document, as `submit` reads it before the tasks load it.
std::string SliderKeysWarning(const Json& document, const RenderOptions& options);

} // namespace host
