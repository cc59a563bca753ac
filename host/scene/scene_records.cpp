#include "host/scene/scene_records.h"

#include "plugin/param_ids.h"

#include "hostsdk/node.h"
#include "hostsdk/std_mat.h"

namespace host {

Json ClassWords(const Class_ID& id) {
    return Json::array({HexWord(id.PartA()), HexWord(id.PartB())});
}

Json ChromasiftMapRecord(int id) {
    return Json{{"id", id},
                {"superClass", HexWord(TEXMAP_CLASS_ID)},
                {"class", ClassWords(CHROMASIFT_CLASS_ID)},
                {"name", "Chromasift"},
                {"paramBlocks",
                 {{{"ref", 0},
                   {"block", 0},
                   {"params", {{{"id", pb_version}, {"type", "int"}, {"value", kCurrentVersion}}}}}}}};
}

Json ChromasiftMaterialRecord(int id, int map) {
    return Json{{"id", id},
                {"superClass", HexWord(MATERIAL_CLASS_ID)},
                {"class", ClassWords(Class_ID(DMTL_CLASS_ID, 0))},
                {"name", "Chromasift material"},
                {"references", {{{"ref", ID_DI}, {"object", map}}}}};
}

Json GeometryRecord(int id, const Class_ID& classId, Json settings) {
    return Json{{"id", id},
                {"superClass", HexWord(GEOMOBJECT_CLASS_ID)},
                {"class", ClassWords(classId)},
                {"settings", std::move(settings)}};
}

Json NodeRecord(int id, const std::string& name, int gbufferId, const Json& placement, int object,
                int material) {
    Json settings{{"gbufferId", gbufferId}};
    settings.update(placement);
    return Json{{"id", id},
                {"superClass", HexWord(BASENODE_CLASS_ID)},
                {"class", ClassWords(Class_ID(0, 0))},
                {"name", name},
                {"settings", std::move(settings)},
                {"references", {{{"ref", 0}, {"object", object}}, {{"ref", 1}, {"object", material}}}}};
}

Json SceneDocument(Json objects, Json nodes, const Json& camera) {
    Json document{{"format", kSceneFormat},
                  {"version", kSceneVersion},
                  {"objects", std::move(objects)},
                  {"maps", Json::array()},
                  {"nodes", std::move(nodes)}};
    if (!camera.is_null())
        document["camera"] = camera;
    return document;
}

} // namespace host
