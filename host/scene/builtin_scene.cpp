#include "host/scene/builtin_scene.h"

#include "host/scene/map_settings.h"
#include "host/scene/primitive_objects.h"
#include "host/scene/scene_records.h"

#include "hostsdk/node.h"
#include "hostsdk/std_mat.h"

#include <cmath>

namespace host {

namespace {

Json Primitive(int id, const char* type, Json settings) {
    return GeometryRecord(id, FindPrimitiveType(std::string(type))->classId, std::move(settings));
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
    objects.push_back(ChromasiftMapRecord(kMap));
    objects.push_back(ChromasiftMaterialRecord(kMaterial, kMap));
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
        objects.push_back(NodeRecord(id, p.name, id - kFirstNode + 1, p.placement, p.object, kMaterial));
        nodes.push_back(id++);
    }

    return SceneDocument(std::move(objects), std::move(nodes),
                         {{"position", {30.0f, -270.0f, 150.0f}},
                          {"target", {0.0f, -5.0f, 8.0f}},
                          {"up", {0.0f, 0.0f, 1.0f}},
                          {"fov", 45.0f}});
}

} // namespace host
