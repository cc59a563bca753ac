// Scenes whose geometry the loader completes or refuses; what a saved scene holds comes back whole (the
// golden scene of the scene file tests).
#include "host/scene/primitive_objects.h"
#include "host/scene/scene_file.h"

#include "hostsdk/node.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

#include "error_message.h"

#include <gtest/gtest.h>

namespace {

// Scenes of nodes, geometry and materials need no plug-in.
const host::PluginManager noPlugins;
const std::string kHead = R"({"format": "chromasift-scene", "version": 1, "objects": [)";

std::string LoadError(const std::string& json) {
    return ErrorOf<host::SceneError>([&] { host::SceneFromJson(json, "test.json", noPlugins); });
}

TEST(SceneGeometry, PrimitivesAreStoredByTheirParameters) {
    std::unique_ptr<host::SceneRoot> scene = host::SceneFromJson(kHead + R"(
        {"id": 1, "superClass": "0x10", "class": ["0x4e7b0010", "0x1c5a2b01"], "settings": {"height": 8}},
        {"id": 2, "superClass": "0x10", "class": ["0x4e7b0013", "0x1c5a2b04"], "settings": {"sides": 6.6, "radius": 2}},
        {"id": 3, "superClass": "0x10", "class": ["0x5d21369a", "0x1c5a2b05"]},
        {"id": 10, "superClass": "0x1", "class": ["0x0", "0x0"], "references": [{"ref": 0, "object": 1}]},
        {"id": 11, "superClass": "0x1", "class": ["0x0", "0x0"], "references": [{"ref": 0, "object": 2}]},
        {"id": 12, "superClass": "0x1", "class": ["0x0", "0x0"], "references": [{"ref": 0, "object": 3}]}],
        "nodes": [10, 11, 12]})",
                                                                 "test.json", noPlugins);
    ASSERT_EQ(scene->Nodes().size(), 3u);
    auto* box = dynamic_cast<TriObject*>(scene->Nodes()[0]->GetObjectRef());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(dynamic_cast<host::IPrimitive*>(box)->Values(), (std::vector<float>{30.0f, 30.0f, 8.0f}))
        << "parameters left out keep their defaults";
    EXPECT_EQ(box->GetMesh().getNumFaces(), 12);
    float top = 0.0f;
    for (const Point3& p : box->GetMesh().verts)
        top = std::max(top, p.z);
    EXPECT_EQ(top, 8.0f);

    auto* cylinder = dynamic_cast<host::IPrimitive*>(scene->Nodes()[1]->GetObjectRef());
    ASSERT_NE(cylinder, nullptr);
    EXPECT_EQ(cylinder->Values(), (std::vector<float>{2.0f, 40.0f, 7.0f})) << "whole";
    auto* polybox = dynamic_cast<PolyObject*>(scene->Nodes()[2]->GetObjectRef());
    ASSERT_NE(polybox, nullptr);
    EXPECT_EQ(polybox->ClassID().PartA(), POLYOBJ_CLASS_ID_A) << "recognised as a polygon object";
    EXPECT_EQ(polybox->GetMesh().numf, 6);
}

TEST(SceneGeometry, MalformedGeometrySaysWhatIsWrongAndWhere) {
    const std::string settings = "/objects/0/settings/", ref = "/objects/1/references/0/object: reference ";
    const std::string mesh =
        R"({"id": 1, "superClass": "0x10", "class": ["0x9", "0x0"], "settings": {"mesh": )";
    const std::string node = R"({"id": 2, "superClass": "0x1", "class": ["0x0", "0x0"], "settings": )";
    const struct {
        std::string json, expected;
    } cases[] = {
        {kHead + mesh + R"({"verts": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0, 1, 3]]}}}]})",
         settings + "mesh/faces/0/2: expected an integer from 0 to 2"},
        {kHead + mesh +
             R"({"verts": [[0,0,0],[1,0,0],[0,1,0]], "faces": [{"v": [0, 1, 2], "edges": [true, 1, false]}]}}}]})",
         settings + "mesh/faces/0/edges/1: expected true or false"},
        {kHead + mesh +
             R"({"verts": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0, 1, 2]], "maps": [{"channel": 1, "verts": [[0,0,0]], "faces": []}]}}}]})",
         settings + "mesh/maps/0/faces: expected one map face per mesh face (1)"},
        {kHead +
             R"({"id": 1, "superClass": "0x10", "class": ["0x5d21369a", "0x2a4c6e13"], "settings": {"polyMesh": {"verts": [[0,0,0],[1,0,0],[1,1,0],[0,1,0]], "faces": [[0, 1, 2, 3]], "maps": [{"channel": 1, "verts": [[0,0,0],[1,0,0],[1,1,0]], "faces": [[0, 1, 2]]}]}}}]})",
         settings + "polyMesh/maps/0/faces/0: expected 4 vertex indices"},
        {kHead + mesh + R"({"verts": [[0,0]], "faces": []}}}]})",
         settings + "mesh/verts/0: expected three numbers"},
        {kHead +
             R"({"id": 1, "superClass": "0x10", "class": ["0x4e7b0011", "0x1c5a2b02"], "settings": {"diameter": 3}}]})",
         settings + "diameter: a sphere has no such parameter (it has radius, segments)"},
        {kHead +
             R"({"id": 1, "superClass": "0x10", "class": ["0x4e7b0011", "0x1c5a2b02"], "settings": {"segments": 2}}]})",
         settings + "segments: expected a whole number from 4 to 512"},
        {kHead +
             R"({"id": 1, "superClass": "0x10", "class": ["0x4e7b0011", "0x1c5a2b02"], "settings": {"segments": 100000}}]})",
         settings + "segments: expected a whole number from 4 to 512"},
        {kHead +
             R"({"id": 1, "superClass": "0x10", "class": ["0x4e7b0010", "0x1c5a2b01"], "settings": {"width": -1}}]})",
         settings + "width: expected a number from 0 to 1000000"},
        {kHead + node + R"({"position": [0, 0, 0], "transform": [[1,0,0],[0,1,0],[0,0,1],[0,0,0]]}}]})",
         settings + "transform: give either \"position\" or \"transform\", not both"},
        {kHead + node + R"({"colour": 3}}]})", settings + "colour: unknown member"},
        {kHead + node + R"({"gbufferId": -1}}]})", settings + "gbufferId: expected a whole number from 0"},
        {kHead + R"({"id": 1, "superClass": "0xc00", "class": ["0x2", "0x0"]}], "nodes": [1]})",
         "/nodes/0: the object is not a node"},
        {kHead + R"(], "camera": {"position": [0, 0, 0], "target": [0, 1, 0], "fov": 0}})",
         "/camera/fov: the field of view is given in degrees, from 1 to 170"},
        {kHead + R"(], "camera": {"position": [0, 0, 0], "target": [0, 0, 0]}})",
         "/camera/target: the camera looks at its own position"},
        {kHead + R"(], "camera": {"position": [0, 0, 0]}})", "/camera: missing \"target\""},
        // Each reference slot takes only what it holds.
        {kHead + R"({"id": 1, "superClass": "0xc00", "class": ["0x2", "0x0"]},
                   {"id": 2, "superClass": "0x1", "class": ["0x0", "0x0"], "references": [{"ref": 0, "object": 1}]}]})",
         ref + "0 holds a geometric object, the file gives a material"},
        {kHead + R"({"id": 1, "superClass": "0x10", "class": ["0x9", "0x0"]},
                   {"id": 2, "superClass": "0x1", "class": ["0x0", "0x0"], "references": [{"ref": 1, "object": 1}]}]})",
         ref + "1 holds a material, the file gives a geometric object"},
        {kHead + R"({"id": 1, "superClass": "0xc30", "class": ["0x100", "0x0"]},
                   {"id": 2, "superClass": "0xc00", "class": ["0x2", "0x0"], "references": [{"ref": 1, "object": 1}]}]})",
         ref + "1 holds a map, the file gives a coordinate generator"},
    };
    for (const auto& c : cases) {
        const std::string message = LoadError(c.json);
        EXPECT_NE(message.find("test.json: " + c.expected), std::string::npos)
            << "expected \"" << c.expected << "\" in \"" << message << "\"";
    }
}

} // namespace
