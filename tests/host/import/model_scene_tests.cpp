// Model scenes built directly from the imported parts, held against the scenes a loader reads from the
// same models written out as scene documents (every mesh spelled in JSON, as the scene file format
// spells it): nodes, names, object IDs, placements, materials and every value of every mesh must agree.
#include "host/job/render_options.h"
#include "host/job/render_source.h"
#include "host/scene/model_scene.h"
#include "host/scene/scene_file.h"
#include "host/scene/scene_records.h"

#include "hostsdk/mn_mesh.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

#include "../render_test_support.h"
#include "error_message.h"
#include "part_faces.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using host::ImportedModel;
using host::ImportedPart;
using host::Json;

// The model files of the tests' data folder, among them several parts (spider), material indices
// (cube_usemtl), texture coordinates (cube_uv), placed nodes (test1.3ds) and a larger mesh (Wuson).
const char* const kModels[] = {"meshes/box.obj",    "meshes/cube_usemtl.obj", "meshes/cube_uv.ply",
                               "meshes/spider.obj", "meshes/test1.3ds",       "meshes/Wuson.ply"};

Json PointJson(const Point3& p) {
    return Json::array({p.x, p.y, p.z});
}

// A part's mesh as a scene file spells it: material indices as "matId", texture coordinates as map
// channel 1; `placed` applies the part's transform to the vertices.
Json GeometryJson(const ImportedPart& part, bool placed) {
    const auto place = [&](const Point3& p) {
        const auto& t = part.transform;
        const auto axis = [&](int a) { return t[0][a] * p.x + t[1][a] * p.y + t[2][a] * p.z + t[3][a]; };
        return placed ? Point3(axis(0), axis(1), axis(2)) : p;
    };
    Json verts = Json::array(), faces = Json::array();
    for (const Point3& p : part.verts)
        verts.push_back(PointJson(place(p)));
    const import_test::FaceLists faceLists = import_test::Faces(part);
    for (std::size_t f = 0; f < faceLists.size(); ++f) {
        Json record{{"v", faceLists[f]}};
        if (part.faceMaterials[f] != 0)
            record["matId"] = part.faceMaterials[f];
        faces.push_back(std::move(record));
    }
    Json geometry{{"verts", std::move(verts)}, {"faces", std::move(faces)}};
    if (!part.uvVerts.empty()) {
        Json uvVerts = Json::array();
        for (const Point3& uv : part.uvVerts)
            uvVerts.push_back(PointJson(uv));
        geometry["maps"] = Json::array(
            {Json{{"channel", 1}, {"verts", std::move(uvVerts)}, {"faces", import_test::UvFaces(part)}}});
    }
    return geometry;
}

// The model's scene as one document: the map, the material, and per part a mesh object and its node.
Json WrittenOutScene(const ImportedModel& model) {
    Json objects = Json::array({host::ChromasiftMapRecord(1), host::ChromasiftMaterialRecord(2, 1)});
    Json nodes = Json::array();
    int id = 3;
    for (std::size_t i = 0; i < model.parts.size(); ++i) {
        const ImportedPart& part = model.parts[i];
        const bool polygons = part.HasPolygons();
        objects.push_back(
            host::GeometryRecord(id, polygons ? polyObjectClassID : triObjectClassID,
                                 Json{{polygons ? "polyMesh" : "mesh", GeometryJson(part, false)}}));
        Json rows = Json::array();
        for (const Point3& row : part.transform)
            rows.push_back(PointJson(row));
        objects.push_back(
            host::NodeRecord(id + 1, part.name, static_cast<int>(i) + 1, Json{{"transform", rows}}, id, 2));
        nodes.push_back(id + 1);
        id += 2;
    }
    return host::SceneDocument(std::move(objects), std::move(nodes));
}

// The scene writer spells out every node, name, object ID, placement, material and every value of every
// mesh, floats to the bit (a zero's sign too): two scenes agree when it writes them alike.
::testing::AssertionResult SameScene(host::SceneRoot& direct, host::SceneRoot& loaded) {
    if (direct.Nodes().empty())
        return ::testing::AssertionFailure() << "no nodes";
    const std::string a = host::SceneToJson(direct), b = host::SceneToJson(loaded);
    const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (at.first == a.end() && at.second == b.end())
        return ::testing::AssertionSuccess();
    const auto from = static_cast<std::size_t>(at.first - a.begin());
    return ::testing::AssertionFailure()
           << "the scenes part at byte " << from << ": '" << a.substr(from > 60 ? from - 60 : 0, 120)
           << "' against '" << b.substr(from > 60 ? from - 60 : 0, 120) << "'";
}

class ModelScene : public ::testing::Test {
protected:
    void SetUp() override {
        if (!host::CanImportModels())
            GTEST_SKIP() << "this build cannot import model files";
    }
};

TEST_F(ModelScene, DirectMeshesMatchTheWrittenOutScene) {
    for (const char* file : kModels)
        for (const bool triangulate : {false, true}) {
            SCOPED_TRACE(std::string(file) + (triangulate ? ", triangulated" : ""));
            host::ModelImportOptions options;
            options.triangulate = triangulate;
            const ImportedModel model = host::ImportModel(TestDataFile(file), options);
            const std::unique_ptr<host::SceneRoot> loaded =
                host::SceneFromDocument(WrittenOutScene(model), file, render_test::LoadedPlugins());
            host::RenderSource source{host::ModelSceneDocument(), model, {}};
            const std::unique_ptr<host::SceneRoot> direct =
                host::SceneFromSource(source, file, render_test::LoadedPlugins());
            EXPECT_TRUE(source.model.parts.empty()) << "the parts went into the meshes";
            EXPECT_TRUE(SameScene(*direct, *loaded));
        }
}

// A scene file's object naming a model file holds the whole model, placed, as one mesh.
TEST_F(ModelScene, MeshFilesMatchTheWrittenOutMesh) {
    const ScratchFolder dir;
    const auto load = [&](const Class_ID& kind, const Json& settings) {
        const Json document = host::SceneDocument(
            Json::array({host::GeometryRecord(1, kind, settings),
                         host::NodeRecord(2, "model", 1, Json{{"position", PointJson(Point3())}}, 1, 3),
                         host::ChromasiftMaterialRecord(3, 4), host::ChromasiftMapRecord(4)}),
            Json::array({2}));
        WriteBytes(dir / "scene.json", document.dump());
        return host::LoadScene(dir / "scene.json", render_test::LoadedPlugins());
    };
    for (const char* file : {"meshes/spider.obj", "meshes/test1.3ds", "meshes/cube_uv.ply"}) {
        SCOPED_TRACE(file);
        // The model and what it names (spider.obj its materials) beside the scene file.
        const std::filesystem::path model = TestDataFile(file);
        for (const auto& entry : std::filesystem::directory_iterator(model.parent_path()))
            if (entry.path().stem() == model.stem())
                std::filesystem::copy_file(entry.path(), dir.Path() / entry.path().filename(),
                                           std::filesystem::copy_options::overwrite_existing);
        const std::string name = model.filename().string();
        for (const bool triangles : {false, true}) {
            host::ModelImportOptions options;
            options.triangulate = triangles;
            const Json written =
                GeometryJson(host::MergeParts(host::ImportModel(TestDataFile(file), options)), true);
            const Class_ID kind = triangles ? triObjectClassID : polyObjectClassID;
            const std::unique_ptr<host::SceneRoot> direct = load(kind, Json{{"meshFile", name}});
            const std::unique_ptr<host::SceneRoot> loaded =
                load(kind, Json{{triangles ? "mesh" : "polyMesh", written}});
            EXPECT_TRUE(SameScene(*direct, *loaded));
        }
    }
}

// What no mesh can hold is refused with the model's name, as a scene file holding it would be.
TEST_F(ModelScene, PartsNoMeshCanHoldAreRefused) {
    const auto message = [](ImportedModel model) {
        host::RenderSource source{host::ModelSceneDocument(), std::move(model), {}};
        return ErrorOf<host::SceneError>(
            [&] { host::SceneFromSource(source, "odd.obj", render_test::LoadedPlugins()); });
    };
    ImportedPart quad;
    quad.name = "quad";
    quad.verts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0)};
    import_test::SetFaces(quad, {{0, 1, 2, 3}});
    EXPECT_EQ(message(ImportedModel{{quad}}), "no error");

    const float nan = std::numeric_limits<float>::quiet_NaN();
    ImportedPart odd = quad;
    odd.verts[2].y = nan;
    EXPECT_EQ(message(ImportedModel{{quad, odd}}),
              "odd.obj: the model holds a vertex position that is not a finite number");
    odd = quad;
    odd.transform[3].z = std::numeric_limits<float>::infinity();
    EXPECT_EQ(message(ImportedModel{{odd}}),
              "odd.obj: the model holds a transform that is not a finite number");
    odd = quad;
    odd.uvVerts = {Point3(0, 0, 0), Point3(nan, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0)};
    odd.uvCorners = {0, 1, 2, 3};
    EXPECT_EQ(message(ImportedModel{{odd}}),
              "odd.obj: the model holds a texture coordinate that is not a finite number");
    odd = quad;
    odd.faceMaterials = {65536};
    EXPECT_EQ(message(ImportedModel{{odd}}),
              "odd.obj: the model uses material 65536, beyond the 65,536 material IDs a mesh holds");
    odd.faceMaterials = {65535};
    EXPECT_EQ(message(ImportedModel{{odd}}), "no error") << "the last material ID";
}

// Merging places every part by its own transform (axes, then position) and renumbers its corners.
TEST(ModelMeshes, MergingPlacesEachPartByItsTransform) {
    ImportedPart moved;
    moved.verts = {Point3(1, 2, 3), Point3(0, 0, 0), Point3(0, 1, 0)};
    import_test::SetFaces(moved, {{0, 1, 2}}, 4);
    moved.transform = {Point3(0, 1, 0), Point3(-1, 0, 0), Point3(0, 0, 2), Point3(10, 20, 30)};
    ImportedPart textured = moved;
    textured.transform = ImportedPart().transform;
    textured.uvVerts = {Point3(0.5f, 0.5f, 0), Point3(1, 0, 0), Point3(0, 1, 0)};
    textured.uvCorners = {2, 1, 0};
    const ImportedPart merged = host::MergeParts(ImportedModel{{moved, textured}});
    ASSERT_EQ(merged.verts.size(), 6u);
    EXPECT_EQ(merged.verts[0], Point3(10 - 2, 20 + 1, 30 + 6)) << "x along y, y along -x, z doubled, moved";
    EXPECT_EQ(merged.verts[3], Point3(1, 2, 3));
    EXPECT_EQ(import_test::Faces(merged), (import_test::FaceLists{{0, 1, 2}, {3, 4, 5}}));
    EXPECT_EQ(merged.faceMaterials, (std::vector<int>{4, 4}));
    ASSERT_EQ(merged.uvVerts.size(), 4u) << "a part without texture coordinates gets one at the origin";
    EXPECT_EQ(import_test::UvFaces(merged), (import_test::FaceLists{{0, 0, 0}, {3, 2, 1}}));
}

} // namespace
