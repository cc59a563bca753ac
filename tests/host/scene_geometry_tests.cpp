#include "host/render/primitive_objects.h"
#include "host/scene/scene_file.h"

#include "hostsdk/node.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/std_mat.h"
#include "hostsdk/tex_gen.h"
#include "hostsdk/tri_object.h"

#include "error_message.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Scenes of nodes, geometry and materials need no plug-in.
const host::PluginManager noPlugins;
const std::string kHead = R"({"format": "chromasift-scene", "version": 1, "objects": [)";

std::string LoadError(const std::string& json) {
    return ErrorOf<host::SceneError>([&] { host::SceneFromJson(json, "test.json", noPlugins); });
}

// A mesh of two triangles with hand-set edges, IDs and groups, and two map channels.
Mesh TwoTriangles() {
    Mesh mesh;
    mesh.verts = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 5}};
    mesh.faces.resize(2);
    mesh.faces[0].setVerts(0, 1, 2);
    mesh.faces[0].setEdgeVisFlags(EDGE_VIS, EDGE_VIS, EDGE_INVIS);
    mesh.faces[0].setMatID(3);
    mesh.faces[1].setVerts(2, 3, 0);
    mesh.faces[1].setSmGroup(6);
    mesh.faces[1].Hide();
    mesh.setMapSupport(1, TRUE);
    mesh.Map(1).tv = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0.5f}};
    mesh.Map(1).tf = {TVFace(0, 1, 2), TVFace(2, 1, 0)};
    mesh.setMapSupport(99, TRUE);
    mesh.Map(99).tv = {{-4, 0, 0}};
    mesh.Map(99).tf = {TVFace(0, 0, 0), TVFace(0, 0, 0)};
    return mesh;
}

TEST(SceneGeometry, NodesObjectsMaterialsAndCameraComeBackAsSaved) {
    host::SceneRoot scene;
    auto* tri = CreateNewTriObject();
    tri->GetMesh() = TwoTriangles();
    auto* poly = new PolyObject();
    const int quad[] = {0, 1, 2, 3};
    for (const Point3& p : {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0)})
        poly->GetMesh().NewVert(p);
    const int face = poly->GetMesh().NewFace(-1, 4, quad);
    poly->GetMesh().f[face].material = 7;
    const float sphereValues[] = {12.5f, 9.0f};
    GeomObject* sphere = host::CreatePrimitive(*host::FindPrimitiveType(std::string("sphere")), sphereValues);

    StdMat* material = NewDefaultStdMat();
    material->SetName(L"Stripes");
    material->SetDiffuse(Color(0.25f, 0.5f, 0.75f), 0);
    BitmapTex* map = NewDefaultBitmapTex();
    map->SetMapName(L"stripes.png", false);
    material->SetSubTexmap(ID_DI, map);
    material->EnableMap(ID_DI, FALSE);

    Matrix3 turned(true), moved(true);
    turned[0] = Point3(0, 1, 0);
    turned[1] = Point3(-1, 0, 0);
    turned[3] = Point3(5, 6, 7);
    moved[3] = Point3(-1, 2, -3);
    const struct {
        const wchar_t* name;
        Object* object;
        ULONG gbuf;
        Matrix3 tm;
        bool hidden;
    } nodes[] = {{L"Mesh", tri, 4, Matrix3(true), false},
                 {L"Poly", poly, 0, turned, false},
                 {L"Ball ⚽", sphere, 9, moved, true}};
    for (const auto& n : nodes) {
        auto* node = new INode();
        node->SetName(n.name);
        node->SetObjectRef(n.object);
        node->SetMtl(material);
        node->SetGBufID(n.gbuf);
        node->SetNodeTM(0, n.tm);
        node->Hide(n.hidden);
        scene.AddNode(node);
    }
    const host::SceneCamera camera{Point3(1, -50, 20), Point3(0, 0, 3), Point3(0, 0, 1), 35.0f};
    scene.SetCamera(camera);

    const std::string json = host::SceneToJson(scene);
    std::unique_ptr<host::SceneRoot> loaded = host::SceneFromJson(json, "test.json", noPlugins);
    ASSERT_EQ(loaded->Nodes().size(), 3u);
    EXPECT_EQ(loaded->Camera(), camera);
    for (std::size_t i = 0; i < 3; ++i) {
        INode* node = loaded->Nodes()[i];
        EXPECT_STREQ(node->GetName(), nodes[i].name);
        EXPECT_EQ(std::make_tuple(node->GetGBufID(), node->IsHidden() != FALSE),
                  std::make_tuple(nodes[i].gbuf, nodes[i].hidden));
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(node->GetNodeTM(0)[row], nodes[i].tm[row]) << "node " << i << ", row " << row;
    }

    auto* backMaterial = dynamic_cast<StdMat*>(loaded->Nodes()[0]->GetMtl());
    ASSERT_NE(backMaterial, nullptr);
    EXPECT_EQ(backMaterial, loaded->Nodes()[2]->GetMtl()) << "a shared material stays shared";
    EXPECT_EQ(
        std::make_tuple(backMaterial->GetName(), backMaterial->GetDiffuse(), backMaterial->MapEnabled(ID_DI)),
        std::make_tuple(L"Stripes", Color(0.25f, 0.5f, 0.75f), FALSE));
    auto* backMap = dynamic_cast<BitmapTex*>(backMaterial->GetSubTexmap(ID_DI));
    ASSERT_NE(backMap, nullptr);
    EXPECT_STREQ(backMap->GetMapName(), L"stripes.png");

    auto* backTri = dynamic_cast<TriObject*>(loaded->Nodes()[0]->GetObjectRef());
    ASSERT_NE(backTri, nullptr);
    const Mesh expected = TwoTriangles();
    Mesh& mesh = backTri->GetMesh();
    EXPECT_EQ(mesh.verts, expected.verts);
    ASSERT_EQ(mesh.getNumFaces(), 2);
    // Edges, hidden bit and material ID are in the flags.
    const auto fields = [](const Face& f) {
        return std::make_tuple(f.flags, f.smGroup, f.v[0], f.v[1], f.v[2]);
    };
    for (int f = 0; f < 2; ++f)
        EXPECT_EQ(fields(mesh.faces[f]), fields(expected.faces[f])) << "face " << f;
    ASSERT_TRUE(mesh.mapSupport(1) && mesh.mapSupport(99));
    EXPECT_FALSE(mesh.mapSupport(2));
    EXPECT_EQ(mesh.Map(1).tv, (std::vector<Point3>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0.5f}}));
    EXPECT_EQ(mesh.Map(1).tf[1].t[0], 2u);
    EXPECT_EQ(mesh.Map(99).tv[0], Point3(-4, 0, 0));

    auto* backPoly = dynamic_cast<PolyObject*>(loaded->Nodes()[1]->GetObjectRef());
    ASSERT_NE(backPoly, nullptr);
    ASSERT_EQ(backPoly->GetMesh().numf, 1);
    EXPECT_EQ(backPoly->GetMesh().f[0].vtx, (PolygonCorners{0, 1, 2, 3}));
    EXPECT_EQ(backPoly->GetMesh().f[0].material, 7);

    auto* backSphere = dynamic_cast<host::IPrimitive*>(loaded->Nodes()[2]->GetObjectRef());
    ASSERT_NE(backSphere, nullptr);
    EXPECT_STREQ(backSphere->Type().name, "sphere");
    EXPECT_EQ(backSphere->Values(), (std::vector<float>{12.5f, 9.0f}));

    EXPECT_EQ(host::SceneToJson(*loaded), json) << "saving what was loaded gives the same file";
}

TEST(SceneGeometry, PrimitivesAreStoredByTheirParameters) {
    std::unique_ptr<host::SceneRoot> scene = host::SceneFromJson(kHead + R"(
        {"id": 1, "superClass": "0x10", "class": ["0x4e7b0010", "0x1c5a2b01"], "settings": {"height": 8}},
        {"id": 2, "superClass": "0x10", "class": ["0x4e7b0013", "0x1c5a2b04"], "settings": {"sides": 6.6, "radius": -2}},
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
    EXPECT_EQ(cylinder->Values(), (std::vector<float>{0.0f, 40.0f, 7.0f}))
        << "whole, and not below the minimum";
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
        {kHead + node + R"({"position": [0, 0, 0], "transform": [[1,0,0],[0,1,0],[0,0,1],[0,0,0]]}}]})",
         settings + "transform: give either \"position\" or \"transform\", not both"},
        {kHead + node + R"({"colour": 3}}]})", settings + "colour: unknown setting"},
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

TEST(SceneGeometry, PolygonMapChannelsComeBackAsSaved) {
    const std::string json =
        R"({"format": "chromasift-scene", "version": 1, "objects": [{"id": 1, "superClass": "0x10",
        "class": ["0x5d21369a", "0x2a4c6e13"], "settings": {"polyMesh": {"verts": [[0,0,0],[1,0,0],[1,1,0],[0,1,0]],
        "faces": [[0, 1, 2, 3]], "maps": [{"channel": 1, "verts": [[0,0,0],[1,0,0],[1,1,0],[0,1,0]],
        "faces": [[3, 2, 1, 0]]}]}}}, {"id": 2, "superClass": "0x1", "class": ["0x0", "0x0"],
        "references": [{"ref": 0, "object": 1}]}], "maps": [], "nodes": [2]})";
    const std::unique_ptr<host::SceneRoot> scene = host::SceneFromJson(json, "test.json", noPlugins);
    auto* poly = dynamic_cast<PolyObject*>(scene->Nodes().at(0)->GetObjectRef());
    ASSERT_NE(poly, nullptr);
    const MNMap* map = poly->GetMesh().M(1);
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(map->FNum(), 1);
    EXPECT_EQ(map->f[0].tv, (PolygonCorners{3, 2, 1, 0}));
    const std::string saved = host::SceneToJson(*scene);
    EXPECT_EQ(host::SceneToJson(*host::SceneFromJson(saved, "saved.json", noPlugins)), saved);
    EXPECT_NE(saved.find("\"maps\""), std::string::npos);
}

} // namespace
