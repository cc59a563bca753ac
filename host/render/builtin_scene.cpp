#include "host/render/builtin_scene.h"

#include "host/render/map_settings.h"
#include "host/render/primitive_objects.h"

#include "hostsdk/node.h"
#include "hostsdk/std_mat.h"

#include <cmath>

namespace host {

namespace {

Json ClassWords(const Class_ID& id) {
    return Json::array({HexWord(id.PartA()), HexWord(id.PartB())});
}

Json Primitive(int id, const char* type, Json settings) {
    const PrimitiveType* primitive = FindPrimitiveType(std::string(type));
    return Json{{"id", id},
                {"superClass", HexWord(GEOMOBJECT_CLASS_ID)},
                {"class", ClassWords(primitive->classId)},
                {"settings", std::move(settings)}};
}

Json Node(int id, const char* name, int gbufferId, Json placement, int object, int material) {
    Json settings{{"gbufferId", gbufferId}};
    settings.update(placement);
    return Json{{"id", id},
                {"superClass", HexWord(BASENODE_CLASS_ID)},
                {"class", ClassWords(Class_ID(0, 0))},
                {"name", name},
                {"settings", std::move(settings)},
                {"references", {{{"ref", 0}, {"object", object}}, {{"ref", 1}, {"object", material}}}}};
}

// A turn about z by `degrees`, then a move to `position`, as the rows of a transform.
Json Turned(float degrees, float x, float y, float z) {
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    const float c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
    return Json{{"transform", {{c, s, 0.0f}, {-s, c, 0.0f}, {0.0f, 0.0f, 1.0f}, {x, y, z}}}};
}

Json At(float x, float y, float z) {
    return Json{{"position", {x, y, z}}};
}

} // namespace

Json BuiltinScene() {
    enum Ids { kMap = 1, kMaterial, kPlane, kBox, kSphere, kCylinder, kPolyBox, kFirstNode };
    Json objects = Json::array();
    objects.push_back(
        Json{{"id", kMap},
             {"superClass", HexWord(TEXMAP_CLASS_ID)},
             {"class", ClassWords(kChromasiftClassID)},
             {"name", "Chromasift"},
             {"paramBlocks",
              {{{"ref", 0}, {"block", 0}, {"params", {{{"id", 19}, {"type", "int"}, {"value", 2}}}}}}}});
    objects.push_back(Json{{"id", kMaterial},
                           {"superClass", HexWord(MATERIAL_CLASS_ID)},
                           {"class", ClassWords(Class_ID(DMTL_CLASS_ID, 0))},
                           {"name", "Chromasift material"},
                           {"references", {{{"ref", ID_DI}, {"object", kMap}}}}});
    objects.push_back(
        Primitive(kPlane, "plane",
                  {{"length", 160.0f}, {"width", 240.0f}, {"lengthSegments", 4}, {"widthSegments", 6}}));
    objects.push_back(Primitive(kBox, "box", {{"length", 36.0f}, {"width", 36.0f}, {"height", 36.0f}}));
    objects.push_back(Primitive(kSphere, "sphere", {{"radius", 22.0f}, {"segments", 32}}));
    objects.push_back(
        Primitive(kCylinder, "cylinder", {{"radius", 15.0f}, {"height", 44.0f}, {"sides", 24}}));
    objects.push_back(
        Primitive(kPolyBox, "polybox", {{"length", 28.0f}, {"width", 28.0f}, {"height", 28.0f}}));

    Json nodes = Json::array();
    const struct {
        const char* name;
        int object;
        Json placement;
    } placed[] = {
        {"Ground", kPlane, At(0.0f, 0.0f, 0.0f)},
        {"Box", kBox, Turned(25.0f, -70.0f, 10.0f, 0.0f)},
        {"Sphere", kSphere, At(-15.0f, -30.0f, 22.0f)},
        {"Cylinder", kCylinder, At(35.0f, 30.0f, 0.0f)},
        {"PolyBox", kPolyBox, Turned(-35.0f, 70.0f, -20.0f, 0.0f)},
    };
    int id = kFirstNode;
    for (const auto& p : placed) {
        objects.push_back(Node(id, p.name, id - kFirstNode + 1, p.placement, p.object, kMaterial));
        nodes.push_back(id++);
    }

    return Json{{"format", kSceneFormat},
                {"version", kSceneVersion},
                {"objects", std::move(objects)},
                {"maps", Json::array()},
                {"nodes", std::move(nodes)},
                {"camera",
                 {{"position", {30.0f, -270.0f, 150.0f}},
                  {"target", {0.0f, -5.0f, 8.0f}},
                  {"up", {0.0f, 0.0f, 1.0f}},
                  {"fov", 45.0f}}}};
}

} // namespace host
