#pragma once

// The records of a scene document that the host writes itself (the built-in scene, imported models): the
// Chromasift map, the material wearing it, nodes and the document around them.
#include "host/scene/scene_json.h"

#include "hostsdk/max_types.h"

#include <string>

namespace host {

Json ClassWords(const Class_ID& id);

// A Chromasift map with its default settings except "Mapping" in the Objects category.
Json ChromasiftMapRecord(int id);
// A standard material whose diffuse map is the object `map`.
Json ChromasiftMaterialRecord(int id, int map);
// A geometric object of class `classId` with its settings.
Json GeometryRecord(int id, const Class_ID& classId, Json settings);
// A node showing `object` in `material`, placed by `placement` ("position" or "transform").
Json NodeRecord(int id, const std::string& name, int gbufferId, const Json& placement, int object,
                int material);
// A scene document of these objects and top-level nodes; without a camera the renderer frames the scene.
Json SceneDocument(Json objects, Json nodes, const Json& camera = Json());

} // namespace host
